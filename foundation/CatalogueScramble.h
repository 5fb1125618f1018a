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

#include "foundation/DataTreeView.h"

#include <cstdint>
#include <memory>
#include <string>

namespace KV {
class DataKey;
}

void ScrambleCatalogue(uint8_t* data, uint32_t size);

// Writes document to path in the scrambled form, as the catalogue ships.
bool SaveScrambledCatalogue(const KV::DataKey& document, const std::wstring& path);

// A catalogue file's bytes, unscrambled when it was stored scrambled, and the
// view its readers walk: a catalogue is read once at every start and kept
// as channels, so no data tree is built of it.
struct CatalogueDocument {
    std::unique_ptr<uint8_t[]> bytes;
    KV::DataTreeView tree;
};

enum class CatalogueFileRead { NotOpened, Unreadable, Read };
// The largest file taken for a catalogue: sixteen times the shipped one with
// 100,000 channels. Anything larger is a broken download, never read in.
constexpr uint32_t MaxCatalogueFileBytes = 256u * 1024 * 1024;
// The whole file at path read, as a plain data tree or else a scrambled one.
// Unreadable leaves the document's view closed.
CatalogueFileRead ReadCatalogueFile(const std::wstring& path, CatalogueDocument& document);

// Whether the file reads as a catalogue with at least one country holding
// at least one channel: what may replace the catalogue in use.
bool IsCatalogueFile(const std::wstring& path);
