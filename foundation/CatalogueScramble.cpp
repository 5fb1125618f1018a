#include "foundation/CatalogueScramble.h"

#include "foundation/Crc.h"
#include "foundation/DataKey.h"
#include "foundation/FileStream.h"
#include "foundation/MemoryStream.h"

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

bool ReadCatalogueDocument(KV::MemoryStream& content, KV::DataKey& document)
{
    if (document.Deserialize(content))
        return true;
    ScrambleCatalogue(content.GetBuffer(), content.GetSize());
    content.Seek(0, KV::SeekBegin);
    return document.Deserialize(content);
}

bool IsCatalogueFile(const std::wstring& path)
{
    KV::DataKey document;
    {
        KV::FileStream file;
        if (path.empty() || !file.Open(path.c_str(), true))
            return false;
        KV::MemoryStream content(file);
        file.Close();
        if (!ReadCatalogueDocument(content, document))
            return false;
    }
    for (const auto& country : document.GetKeys()) {
        if (country.second && country.second->GetKeyCount() > 0)
            return true;
    }
    return false;
}
