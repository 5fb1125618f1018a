#include "player/catalogue/CatalogueScramble.h"

#include "foundation/Crc.h"

#include <cstring>

namespace {

const char kSeedText[] = "Brisvane channel catalogue";

uint32_t KeystreamWord(uint32_t seed, uint32_t index)
{
    return KV::Crc32Final(KV::Crc32Update(KV::Crc32Update(KV::Crc32Init(), seed), index));
}

} // namespace

void ScrambleCatalogue(uint8_t* data, uint32_t size)
{
    if (!data)
        return;
    const uint32_t seed = KV::Crc32(kSeedText, static_cast<uint32_t>(sizeof(kSeedText) - 1));
    for (uint32_t offset = 0, index = 0; offset < size; offset += 4, ++index) {
        const uint32_t word = KeystreamWord(seed, index);
        const uint32_t count = size - offset < 4 ? size - offset : 4;
        for (uint32_t i = 0; i < count; ++i)
            data[offset + i] ^= static_cast<uint8_t>(word >> (8 * i));
    }
}
