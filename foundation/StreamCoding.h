#pragma once
// The byte coding of counts, strings and sized blocks, written once for every
// reader and writer of it: the streams themselves and the data-tree codec,
// which reads memory directly. A source offers ReadExact(void*, uint32_t) and
// GetRemaining(); nothing is allocated for a length the source cannot hold.

#include "foundation/MemoryStream.h"

#include <cstdint>
#include <cstring>
#include <string>

namespace KV {
namespace StreamCoding {

constexpr uint32_t MaxCountBytes = 7;

// Compact length prefix: below 0xFF one byte; below 0xFFFF the byte 0xFF and
// a uint16; otherwise 0xFF, the uint16 0xFFFF and a uint32. Returns how many
// bytes of bytes are used.
inline uint32_t EncodeCount(uint32_t count, uint8_t (&bytes)[MaxCountBytes])
{
    if (count < 0xFF) {
        bytes[0] = static_cast<uint8_t>(count);
        return 1;
    }
    bytes[0] = 0xFF;
    if (count < 0xFFFF) {
        const uint16_t word = static_cast<uint16_t>(count);
        std::memcpy(bytes + 1, &word, sizeof(word));
        return 3;
    }
    const uint16_t mark = 0xFFFF;
    std::memcpy(bytes + 1, &mark, sizeof(mark));
    std::memcpy(bytes + 3, &count, sizeof(count));
    return 7;
}

// False, with count 0, when the source runs out inside the prefix.
template <typename Source>
bool ReadCount(Source& source, uint32_t& count)
{
    count = 0;
    uint8_t byte = 0;
    if (!source.ReadExact(&byte, sizeof(byte)))
        return false;
    if (byte != 0xFF) {
        count = byte;
        return true;
    }
    uint16_t word = 0;
    if (!source.ReadExact(&word, sizeof(word)))
        return false;
    if (word != 0xFFFF) {
        count = word;
        return true;
    }
    uint32_t full = 0;
    if (!source.ReadExact(&full, sizeof(full)))
        return false;
    count = full;
    return true;
}

// A count of code units, then the units. False, with text empty, when the
// data runs out or the count exceeds what is left.
template <typename Source, typename Char>
bool ReadText(Source& source, std::basic_string<Char>& text)
{
    text.clear();
    uint32_t count = 0;
    if (!ReadCount(source, count))
        return false;
    if (count == 0)
        return true;
    const uint64_t bytes = static_cast<uint64_t>(count) * sizeof(Char);
    if (bytes > source.GetRemaining())
        return false;
    text.resize(count);
    if (!source.ReadExact(&text[0], static_cast<uint32_t>(bytes))) {
        text.clear();
        return false;
    }
    return true;
}

// A uint32 size, then that many bytes, into target (position 0). False, with
// target left empty, when the data runs out or the size exceeds what is left.
template <typename Source>
bool ReadBlock(Source& source, MemoryStream& target)
{
    target.Close();
    uint32_t size = 0;
    if (!source.ReadExact(&size, sizeof(size)))
        return false;
    if (size == 0)
        return true;
    if (size > source.GetRemaining() || !target.SetSize(size))
        return false;
    if (!source.ReadExact(target.GetBuffer(), size)) {
        target.Close();
        return false;
    }
    return true;
}

} // namespace StreamCoding
} // namespace KV
