#include "foundation/MemoryStream.h"

#include "foundation/StreamCoding.h"

#include <cstdlib>
#include <cstring>
#include <utility>

namespace KV {

MemoryStream::MemoryStream(Stream& source)
{
    const uint32_t size = source.GetSize();
    if (size == 0 || !SetSize(size))
        return;
    source.Seek(0, SeekBegin);
    const uint32_t got = source.Read(m_data, size);
    // Keep only what arrived: the rest of the block was never written.
    if (got != size)
        SetSize(got);
    m_position = 0;
}

MemoryStream::MemoryStream(const MemoryStream& other)
{
    if (other.m_size != 0 && SetSize(other.m_size))
        std::memcpy(m_data, other.m_data, other.m_size);
    m_position = 0;
}

MemoryStream& MemoryStream::operator=(const MemoryStream& other)
{
    if (this == &other)
        return *this;
    Close();
    if (other.m_size != 0 && SetSize(other.m_size))
        std::memcpy(m_data, other.m_data, other.m_size);
    m_position = 0;
    return *this;
}

MemoryStream::MemoryStream(MemoryStream&& other) noexcept
    : m_size(std::exchange(other.m_size, 0)),
      m_position(std::exchange(other.m_position, 0)),
      m_data(std::exchange(other.m_data, nullptr))
{
}

MemoryStream& MemoryStream::operator=(MemoryStream&& other) noexcept
{
    if (this != &other) {
        std::free(m_data);
        m_size = std::exchange(other.m_size, 0);
        m_position = std::exchange(other.m_position, 0);
        m_data = std::exchange(other.m_data, nullptr);
    }
    return *this;
}

MemoryStream::~MemoryStream()
{
    std::free(m_data);
}

uint32_t MemoryStream::Write(const void* source, uint32_t count)
{
    if (count == 0 || source == nullptr)
        return 0;
    const uint64_t end = static_cast<uint64_t>(m_position) + count;
    if (end > 0xFFFFFFFFu)
        return 0;
    if (end > m_size && !SetSize(static_cast<uint32_t>(end)))
        return 0;
    std::memcpy(m_data + m_position, source, count);
    m_position += count;
    return count;
}

uint32_t MemoryStream::Read(void* target, uint32_t count)
{
    if (m_data == nullptr || m_position >= m_size || target == nullptr)
        return 0;
    const uint32_t left = m_size - m_position;
    if (count > left)
        count = left;
    std::memcpy(target, m_data + m_position, count);
    m_position += count;
    return count;
}

uint32_t MemoryStream::Seek(int32_t offset, uint32_t origin)
{
    if (m_data == nullptr)
        return 0;
    m_position = ClampedSeek(m_position, m_size, offset, origin);
    return m_position;
}

uint32_t MemoryStream::SetSize(uint32_t size)
{
    if (m_position > size)
        m_position = size;
    if (size == 0) {
        std::free(m_data);
        m_data = nullptr;
        m_size = 0;
        return 1;
    }
    void* grown = std::realloc(m_data, size);
    if (grown == nullptr) {
        Close();
        return 0;
    }
    m_data = static_cast<uint8_t*>(grown);
    m_size = size;
    return 1;
}

void MemoryStream::Close()
{
    std::free(m_data);
    m_data = nullptr;
    m_size = 0;
    m_position = 0;
}

bool MemoryStream::SaveTo(Stream& target) const
{
    return target.WriteExact(&m_size, sizeof(m_size)) && target.WriteExact(m_data, m_size);
}

bool MemoryStream::LoadFrom(Stream& source)
{
    // The announced size must be there before anything is allocated for it.
    return StreamCoding::ReadBlock(source, *this);
}

} // namespace KV
