#include "foundation/VectorStream.h"

#include <cstring>

namespace KV {

uint32_t VectorStream::Write(const void* source, uint32_t count)
{
    if (count == 0 || source == nullptr)
        return 0;
    const uint64_t end = static_cast<uint64_t>(m_position) + count;
    if (end > 0xFFFFFFFFu)
        return 0;
    if (end > m_bytes.size())
        m_bytes.resize(static_cast<size_t>(end));
    std::memcpy(m_bytes.data() + m_position, source, count);
    m_position += count;
    return count;
}

uint32_t VectorStream::Read(void* target, uint32_t count)
{
    const uint32_t size = GetSize();
    if (target == nullptr || m_position >= size)
        return 0;
    if (count > size - m_position)
        count = size - m_position;
    std::memcpy(target, m_bytes.data() + m_position, count);
    m_position += count;
    return count;
}

uint32_t VectorStream::Seek(int32_t offset, uint32_t origin)
{
    m_position = ClampedSeek(m_position, GetSize(), offset, origin);
    return m_position;
}

uint32_t VectorStream::SetSize(uint32_t size)
{
    m_bytes.resize(size);
    if (m_position > size)
        m_position = size;
    return 1;
}

void VectorStream::Close()
{
    m_bytes.clear();
    m_bytes.shrink_to_fit();
    m_position = 0;
}

} // namespace KV
