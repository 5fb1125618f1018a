#include "foundation/ZipIo.h"

#include <algorithm>
#include <cstring>

ZipIoSource::ZipIoSource()
{
    m_functions.zopen64_file = &ZipIoSource::OpenStream;
    m_functions.zread_file = &ZipIoSource::ReadStream;
    m_functions.zwrite_file = &ZipIoSource::WriteStream;
    m_functions.ztell64_file = &ZipIoSource::TellStream;
    m_functions.zseek64_file = &ZipIoSource::SeekStream;
    m_functions.zclose_file = &ZipIoSource::CloseStream;
    m_functions.zerror_file = &ZipIoSource::StreamError;
    m_functions.opaque = this;
}

voidpf ZipIoSource::OpenStream(voidpf opaque, const void*, int mode)
{
    // Archives are only ever read.
    if ((mode & ZLIB_FILEFUNC_MODE_READWRITEFILTER) != ZLIB_FILEFUNC_MODE_READ)
        return nullptr;
    auto* source = static_cast<ZipIoSource*>(opaque);
    source->m_position = 0;
    source->m_failed = false;
    return source;
}

uLong ZipIoSource::ReadStream(voidpf, voidpf stream, void* target, uLong count)
{
    auto* source = static_cast<ZipIoSource*>(stream);
    source->m_failed = false;
    if (count == 0)
        return 0;
    if (source->m_position >= source->m_size) {
        source->m_failed = true;
        return 0;
    }
    const uint32_t got = source->ReadAt(source->m_position, target, static_cast<uint32_t>(count));
    source->m_position += got;
    // minizip's byte readers take a short read for success unless the error
    // callback says otherwise.
    source->m_failed = got < count;
    return got;
}

uLong ZipIoSource::WriteStream(voidpf, voidpf stream, const void*, uLong)
{
    static_cast<ZipIoSource*>(stream)->m_failed = true;
    return 0;
}

ZPOS64_T ZipIoSource::TellStream(voidpf, voidpf stream)
{
    return static_cast<ZipIoSource*>(stream)->m_position;
}

long ZipIoSource::SeekStream(voidpf, voidpf stream, ZPOS64_T offset, int origin)
{
    auto* source = static_cast<ZipIoSource*>(stream);
    // minizip passes negative relative moves as wrapped unsigned values, so
    // plain unsigned arithmetic lands where it means. A position past the end
    // is allowed; reads there give nothing.
    switch (origin) {
    case ZLIB_FILEFUNC_SEEK_SET:
        source->m_position = offset;
        return 0;
    case ZLIB_FILEFUNC_SEEK_CUR:
        source->m_position += offset;
        return 0;
    case ZLIB_FILEFUNC_SEEK_END:
        source->m_position = source->m_size + offset;
        return 0;
    default:
        return -1;
    }
}

int ZipIoSource::CloseStream(voidpf, voidpf)
{
    // The reader owns the source and whatever it reads from.
    return 0;
}

int ZipIoSource::StreamError(voidpf, voidpf stream)
{
    return static_cast<ZipIoSource*>(stream)->m_failed ? 1 : 0;
}

ZipHandleSource::ZipHandleSource(HANDLE file, uint64_t baseOffset)
    : m_file(file), m_base(baseOffset)
{
    LARGE_INTEGER size{};
    if (GetFileSizeEx(file, &size) && static_cast<uint64_t>(size.QuadPart) > baseOffset)
        m_size = static_cast<uint64_t>(size.QuadPart) - baseOffset;
}

uint32_t ZipHandleSource::ReadFromFile(uint64_t position, uint8_t* target, uint32_t count)
{
    LARGE_INTEGER where;
    where.QuadPart = static_cast<LONGLONG>(m_base + position);
    if (!SetFilePointerEx(m_file, where, nullptr, FILE_BEGIN))
        return 0;
    uint32_t done = 0;
    while (done < count) {
        DWORD got = 0;
        if (!ReadFile(m_file, target + done, count - done, &got, nullptr) || got == 0)
            break;
        done += got;
    }
    return done;
}

uint32_t ZipHandleSource::ReadAt(uint64_t position, void* target, uint32_t count)
{
    count = static_cast<uint32_t>(std::min<uint64_t>(count, m_size - position));
    auto* out = static_cast<uint8_t*>(target);
    uint32_t done = 0;
    while (done < count) {
        const uint64_t at = position + done;
        const uint32_t wanted = count - done;
        if (at >= m_windowStart && at < m_windowStart + m_windowLength) {
            const uint32_t offset = static_cast<uint32_t>(at - m_windowStart);
            const uint32_t n = std::min(wanted, m_windowLength - offset);
            std::memcpy(out + done, m_window + offset, n);
            done += n;
            continue;
        }
        if (wanted >= WindowSize) {
            done += ReadFromFile(at, out + done, wanted);
            break;
        }
        m_windowStart = at;
        m_windowLength = ReadFromFile(at, m_window, WindowSize);
        if (m_windowLength == 0)
            break;
    }
    return done;
}

ZipMemorySource::ZipMemorySource(const void* data, uint32_t length)
    : m_data(static_cast<const uint8_t*>(data))
{
    m_size = length;
}

uint32_t ZipMemorySource::ReadAt(uint64_t position, void* target, uint32_t count)
{
    count = static_cast<uint32_t>(std::min<uint64_t>(count, m_size - position));
    std::memcpy(target, m_data + position, count);
    return count;
}
