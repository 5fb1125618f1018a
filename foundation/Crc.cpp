#include "foundation/Crc.h"

#include <array>

namespace KV {

namespace {

constexpr std::array<uint32_t, 256> MakeCrc32Table()
{
    std::array<uint32_t, 256> table{};
    for (uint32_t i = 0; i < 256; ++i) {
        uint32_t c = i;
        for (int bit = 0; bit < 8; ++bit)
            c = (c & 1) ? (c >> 1) ^ 0xEDB88320u : c >> 1;
        table[i] = c;
    }
    return table;
}

constexpr std::array<uint16_t, 256> MakeCrc16Table()
{
    std::array<uint16_t, 256> table{};
    for (uint32_t i = 0; i < 256; ++i) {
        uint32_t c = i << 8;
        for (int bit = 0; bit < 8; ++bit)
            c = (c & 0x8000) ? (c << 1) ^ 0x1021u : c << 1;
        table[i] = static_cast<uint16_t>(c);
    }
    return table;
}

constexpr std::array<uint32_t, 256> Crc32Table = MakeCrc32Table();
constexpr std::array<uint16_t, 256> Crc16Table = MakeCrc16Table();
static_assert(Crc32Table[1] == 0x77073096u, "reflected 0xEDB88320 table");
static_assert(Crc16Table[1] == 0x1021u, "non-reflected 0x1021 table");

inline uint32_t Crc32Byte(uint32_t crc, uint8_t byte)
{
    return (crc >> 8) ^ Crc32Table[(crc ^ byte) & 0xFF];
}

inline uint16_t Crc16Byte(uint16_t crc, uint8_t byte)
{
    return static_cast<uint16_t>(Crc16Table[crc >> 8] ^ (crc << 8) ^ byte);
}

// The word and buffer forms of both families, over their byte step.
template <typename Crc, typename Step>
Crc FeedWord(Crc crc, uint32_t word, int byteCount, Step step)
{
    for (int shift = 0; shift < byteCount * 8; shift += 8)
        crc = step(crc, static_cast<uint8_t>(word >> shift));
    return crc;
}

// The first (length mod 16) bytes one at a time, the rest in blocks of 16
// that the compiler unrolls; the result is that of a plain byte loop.
template <typename Crc, typename Step>
Crc FeedBuffer(Crc crc, const void* data, uint32_t length, Step step)
{
    const uint8_t* bytes = static_cast<const uint8_t*>(data);
    const uint8_t* blocks = bytes + length % 16;
    const uint8_t* end = bytes + length;
    for (; bytes != blocks; ++bytes)
        crc = step(crc, *bytes);
    for (; bytes != end; bytes += 16) {
        for (int i = 0; i < 16; ++i)
            crc = step(crc, bytes[i]);
    }
    return crc;
}

} // namespace

uint32_t Crc32Init()
{
    return 0xFFFFFFFFu;
}

uint32_t Crc32Update(uint32_t crc, uint8_t byte)
{
    return Crc32Byte(crc, byte);
}

uint32_t Crc32Update(uint32_t crc, uint16_t word)
{
    return FeedWord(crc, word, 2, Crc32Byte);
}

uint32_t Crc32Update(uint32_t crc, uint32_t word)
{
    return FeedWord(crc, word, 4, Crc32Byte);
}

uint32_t Crc32Update(uint32_t crc, const void* data, uint32_t length)
{
    if (data == nullptr)
        return 0;
    return FeedBuffer(crc, data, length, Crc32Byte);
}

uint32_t Crc32Final(uint32_t crc)
{
    return ~crc;
}

uint32_t Crc32(const void* data, uint32_t length)
{
    if (data == nullptr)
        return 0;
    return Crc32Final(Crc32Update(Crc32Init(), data, length));
}

uint16_t Crc16Init()
{
    return 0;
}

uint16_t Crc16Update(uint16_t crc, uint8_t byte)
{
    return Crc16Byte(crc, byte);
}

uint16_t Crc16Update(uint16_t crc, uint16_t word)
{
    return FeedWord(crc, word, 2, Crc16Byte);
}

uint16_t Crc16Update(uint16_t crc, uint32_t word)
{
    return FeedWord(crc, word, 4, Crc16Byte);
}

uint16_t Crc16Update(uint16_t crc, const void* data, uint32_t length)
{
    if (data == nullptr)
        return 0;
    return FeedBuffer(crc, data, length, Crc16Byte);
}

uint16_t Crc16Final(uint16_t crc)
{
    return crc;
}

uint16_t Crc16(const void* data, uint32_t length)
{
    if (data == nullptr)
        return 0;
    return Crc16Final(Crc16Update(Crc16Init(), data, length));
}

} // namespace KV
