#pragma once
// The channel catalogue file Channels.brsc as every program reads it: a
// data-tree file stored plain or scrambled. The scrambled form is the plain
// data-tree bytes XORed with a keystream of CRC-32 words. Word n of the
// keystream is the CRC-32 of the seed followed by n (both as little-endian
// uint32), where the seed is the CRC-32 of the text "Brisvane channel
// catalogue"; the last, partial word uses its low bytes. This keeps the file
// from being read or edited casually; it is no protection against a
// determined reader.
//
// Scrambling and unscrambling are the same operation.

#include <cstdint>
#include <string>

namespace KV {
class DataKey;
class MemoryStream;
}

void ScrambleCatalogue(uint8_t* data, uint32_t size);

// Writes document to path in the scrambled form, as the catalogue ships.
bool SaveScrambledCatalogue(const KV::DataKey& document, const std::wstring& path);

// Reads the catalogue from content, plain or else scrambled (content is
// unscrambled in place then); false leaves document empty.
bool ReadCatalogueDocument(KV::MemoryStream& content, KV::DataKey& document);

enum class CatalogueFileRead { NotOpened, Unreadable, Read };
// The whole file at path read, then ReadCatalogueDocument.
CatalogueFileRead ReadCatalogueFile(const std::wstring& path, KV::DataKey& document);

// Whether the file reads as a catalogue with at least one country holding
// at least one channel: what may replace the catalogue in use.
bool IsCatalogueFile(const std::wstring& path);
