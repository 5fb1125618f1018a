#pragma once
// Eight bytes of a byte string from a position on, as a number that orders
// as the bytes do (unsigned); bytes past the end count as zeros. Sorts of
// many strings compare these first and visit the strings only on a tie.

#include <cstddef>
#include <cstdint>

inline uint64_t OrderedChunk(const unsigned char* bytes, size_t length, size_t at)
{
    uint64_t chunk = 0;
    for (size_t i = at; i < at + 8; ++i)
        chunk = (chunk << 8) | (i < length ? bytes[i] : 0u);
    return chunk;
}
