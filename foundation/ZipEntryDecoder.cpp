#include "foundation/ZipEntryDecoder.h"

#include <algorithm>

namespace {

constexpr uLong EncryptedFlag = 1;
constexpr uLong MethodStored = 0;

} // namespace

ZipResult ZipEntryDecoder::Open(unzFile archive)
{
    Close();
    unz_file_info64 info{};
    if (unzGetCurrentFileInfo64(archive, &info, nullptr, 0, nullptr, 0, nullptr, 0) != UNZ_OK)
        return ZipErrorRead;
    if (info.flag & EncryptedFlag)
        return ZipErrorPassword;
    if (info.compression_method == MethodStored) {
        if (info.compressed_size != info.uncompressed_size)
            return ZipErrorDecompress;
    } else if (info.compression_method != Z_DEFLATED) {
        return ZipErrorDecompress;
    }
    // Raw: minizip delivers the stored bytes; inflating and checking is ours.
    if (unzOpenCurrentFile2(archive, nullptr, nullptr, 1) != UNZ_OK)
        return ZipErrorLocalHeader;
    m_archive = archive;
    m_deflated = info.compression_method == Z_DEFLATED;
    m_expectedSize = info.uncompressed_size;
    m_expectedCrc = static_cast<uint32_t>(info.crc);
    if (m_deflated) {
        if (!m_input)
            m_input.reset(new uint8_t[InputSize]);
        m_stream = z_stream{};
        if (inflateInit2(&m_stream, -MAX_WBITS) != Z_OK) {
            Close();
            return ZipErrorDecompress;
        }
        m_inflating = true;
    }
    return ZipOk;
}

void ZipEntryDecoder::Close()
{
    if (m_inflating)
        inflateEnd(&m_stream);
    if (m_archive)
        unzCloseCurrentFile(m_archive);
    m_archive = nullptr;
    m_inflating = false;
    m_streamEnded = false;
    m_inputDone = false;
    m_atEnd = false;
    m_error = ZipOk;
    m_total = 0;
    m_crc = 0;
}

ZipResult ZipEntryDecoder::Fail(ZipResult code)
{
    m_error = code;
    return code;
}

ZipResult ZipEntryDecoder::Read(void* target, uint32_t capacity, uint32_t* produced)
{
    *produced = 0;
    if (!m_archive)
        return ZipErrorArguments;
    if (m_error != ZipOk)
        return m_error;
    if (m_atEnd)
        return ZipOk;
    const uint32_t count = static_cast<uint32_t>(std::min<uint64_t>(capacity, m_expectedSize - m_total));
    auto* out = static_cast<uint8_t*>(target);
    const ZipResult result = m_deflated ? Inflate(out, count, produced) : ReadStored(out, count, produced);
    if (result != ZipOk)
        return Fail(result);
    if (*produced > 0)
        m_crc = static_cast<uint32_t>(crc32(m_crc, out, *produced));
    m_total += *produced;
    if (m_total < m_expectedSize)
        return ZipOk;
    return Finish();
}

ZipResult ZipEntryDecoder::ReadStored(uint8_t* target, uint32_t count, uint32_t* produced)
{
    uint32_t done = 0;
    while (done < count) {
        const int got = unzReadCurrentFile(m_archive, target + done, count - done);
        if (got <= 0)
            return ZipErrorDecompress; // an I/O error, or the data ends early
        done += static_cast<uint32_t>(got);
    }
    *produced = done;
    return ZipOk;
}

ZipResult ZipEntryDecoder::FillInput()
{
    if (m_stream.avail_in > 0 || m_inputDone)
        return ZipOk;
    const int got = unzReadCurrentFile(m_archive, m_input.get(), InputSize);
    if (got < 0)
        return ZipErrorDecompress;
    if (got == 0)
        m_inputDone = true;
    m_stream.next_in = m_input.get();
    m_stream.avail_in = static_cast<uInt>(got);
    return ZipOk;
}

ZipResult ZipEntryDecoder::Inflate(uint8_t* target, uint32_t count, uint32_t* produced)
{
    m_stream.next_out = target;
    m_stream.avail_out = count;
    while (m_stream.avail_out > 0) {
        if (FillInput() != ZipOk)
            return ZipErrorDecompress;
        const int status = inflate(&m_stream, Z_NO_FLUSH);
        if (status == Z_STREAM_END) {
            m_streamEnded = true;
            break;
        }
        if (status == Z_BUF_ERROR && m_stream.avail_in == 0 && !m_inputDone)
            continue; // needs the next piece of input
        if (status != Z_OK)
            return ZipErrorDecompress; // corrupt, or the data stops mid-stream
    }
    *produced = count - m_stream.avail_out;
    // A stream that ends before the declared size is short.
    if (m_streamEnded && m_total + *produced < m_expectedSize)
        return ZipErrorDecompress;
    return ZipOk;
}

ZipResult ZipEntryDecoder::ExpectStreamEnd()
{
    uint8_t probe = 0;
    while (!m_streamEnded) {
        if (FillInput() != ZipOk)
            return ZipErrorDecompress;
        m_stream.next_out = &probe;
        m_stream.avail_out = 1;
        const int status = inflate(&m_stream, Z_NO_FLUSH);
        if (m_stream.avail_out == 0)
            return ZipErrorDecompress; // more data than declared
        if (status == Z_STREAM_END)
            m_streamEnded = true;
        else if (status == Z_BUF_ERROR && m_stream.avail_in == 0 && !m_inputDone)
            continue;
        else if (status != Z_OK)
            return ZipErrorDecompress;
    }
    return ZipOk;
}

ZipResult ZipEntryDecoder::Finish()
{
    if (m_deflated && ExpectStreamEnd() != ZipOk)
        return Fail(ZipErrorDecompress);
    if (m_crc != m_expectedCrc)
        return Fail(ZipErrorDecompress);
    m_atEnd = true;
    return ZipOk;
}
