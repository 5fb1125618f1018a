#include "foundation/CatalogueScramble.h"

#include "foundation/Crc.h"
#include "foundation/DataKey.h"
#include "foundation/FileStream.h"
#include "foundation/MemoryStream.h"

#include <cstring>
#include <new>
#include <string_view>
#include <unordered_set>

namespace {

const char kSeedText[] = "Brisvane channel catalogue";

uint32_t KeystreamWord(uint32_t seed, uint32_t index)
{
    return KV::Crc32Final(KV::Crc32Update(KV::Crc32Update(KV::Crc32Init(), seed), index));
}

// A CRC is linear in its input bits: with the seed fixed, word n is word 0
// XORed with what each byte of n adds on its own. Four tables of those turn
// the two CRC updates per word into four look-ups, which matters for a
// catalogue of many megabytes read at every start.
class Keystream {
public:
    Keystream()
    {
        const uint32_t seed = KV::Crc32(kSeedText, static_cast<uint32_t>(sizeof(kSeedText) - 1));
        m_first = KeystreamWord(seed, 0);
        for (uint32_t part = 0; part < 4; ++part)
            for (uint32_t value = 0; value < 256; ++value)
                m_byteShares[part][value] = KeystreamWord(seed, value << (8 * part)) ^ m_first;
    }

    uint32_t Word(uint32_t index) const
    {
        return m_first ^ m_byteShares[0][index & 0xFF] ^ m_byteShares[1][(index >> 8) & 0xFF] ^
               m_byteShares[2][(index >> 16) & 0xFF] ^ m_byteShares[3][index >> 24];
    }

private:
    uint32_t m_first;
    uint32_t m_byteShares[4][256];
};

} // namespace

void ScrambleCatalogue(uint8_t* data, uint32_t size)
{
    if (!data)
        return;
    static const Keystream keystream;
    uint32_t offset = 0;
    uint32_t index = 0;
    for (; size - offset >= 4; offset += 4, ++index) {
        uint32_t bytes;
        std::memcpy(&bytes, data + offset, 4);
        bytes ^= keystream.Word(index); // the word's low byte goes first, as the file is little-endian
        std::memcpy(data + offset, &bytes, 4);
    }
    const uint32_t word = keystream.Word(index);
    for (uint32_t i = 0; offset + i < size; ++i)
        data[offset + i] ^= static_cast<uint8_t>(word >> (8 * i));
}

bool SaveScrambledCatalogue(const KV::DataKey& document, const std::wstring& path)
{
    KV::MemoryStream bytes;
    document.Serialize(bytes);
    ScrambleCatalogue(bytes.GetBuffer(), bytes.GetSize());
    KV::FileStream file;
    return file.Open(path.c_str(), false) && file.WriteExact(bytes.GetBuffer(), bytes.GetSize());
}

CatalogueFileRead ReadCatalogueFile(const std::wstring& path, CatalogueDocument& document)
{
    KV::FileStream file;
    if (path.empty() || !file.Open(path.c_str(), true))
        return CatalogueFileRead::NotOpened;
    const uint32_t size = file.GetSize();
    if (size > MaxCatalogueFileBytes)
        return CatalogueFileRead::Unreadable;
    // Left uninitialised: the read fills it. A file too large for the memory
    // left is no catalogue, and no reason to end the program.
    document.bytes.reset(new (std::nothrow) uint8_t[size != 0 ? size : 1]);
    if (!document.bytes || (size != 0 && !file.ReadExact(document.bytes.get(), size)))
        return CatalogueFileRead::Unreadable;
    // Closed at once, so that nothing keeps the file from being replaced.
    file.Close();
    if (document.tree.Open(document.bytes.get(), size))
        return CatalogueFileRead::Read;
    ScrambleCatalogue(document.bytes.get(), size);
    return document.tree.Open(document.bytes.get(), size) ? CatalogueFileRead::Read : CatalogueFileRead::Unreadable;
}

bool IsCatalogueFile(const std::wstring& path)
{
    CatalogueDocument document;
    if (ReadCatalogueFile(path, document) != CatalogueFileRead::Read)
        return false;
    // Of two countries of one name a load keeps the first.
    std::unordered_set<std::string_view> seen;
    bool found = false;
    document.tree.Root().ForEachKey([&](const KV::DataTreeView::Key& country) {
        if (!found && seen.insert(country.GetName()).second)
            found = country.GetKeyCount() > 0;
    });
    return found;
}
