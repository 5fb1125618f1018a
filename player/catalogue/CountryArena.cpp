#include "player/catalogue/CountryArena.h"

#include <algorithm>
#include <cstdint>

namespace {

// Blocks grow from the first size up to this one, so that a country of a
// few channels takes little and a large one few blocks.
constexpr size_t LargestBlock = 65536;

} // namespace

void* CCountryArena::Take(size_t size, size_t alignment)
{
    size_t padding = static_cast<size_t>(-reinterpret_cast<uintptr_t>(m_next)) & (alignment - 1);
    if (m_next == nullptr || padding + size > m_left) {
        // new char[] is aligned for any object; its bytes are left as they are.
        const size_t blockSize = std::max(size, m_nextBlockSize);
        m_blocks.push_back(std::unique_ptr<char[]>(new char[blockSize]));
        m_next = m_blocks.back().get();
        m_left = blockSize;
        padding = 0;
        m_nextBlockSize = std::min(m_nextBlockSize * 2, LargestBlock);
    }
    char* taken = m_next + padding;
    m_next = taken + size;
    m_left -= padding + size;
    return taken;
}
