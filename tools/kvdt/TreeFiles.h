#pragma once
// Whole-file reads and writes for the tool, and loading a data-tree file in
// a way that tells what the loaded tree could not keep.

#include "foundation/DataKey.h"

#include <string>

namespace Kvdt {

// False when the file cannot be opened or read completely.
bool ReadWholeFile(const std::wstring& path, std::string& bytes);
// Creates or replaces the file; false when it cannot be written completely.
bool WriteWholeFile(const std::wstring& path, const std::string& bytes);

// False with a message when the file cannot be read or holds no tree. On
// success warning is empty unless the file holds bytes that are not part
// of the tree: data after the root node, or entries the reader drops
// (repeated names, damaged sub-keys) or writes shorter (long-form counts).
bool LoadTreeFile(const std::wstring& path, KV::DataKey& root, std::string& error, std::string& warning);

} // namespace Kvdt
