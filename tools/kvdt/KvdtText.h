#pragma once
// The JSON text form of data trees, described in tools/kvdt/README.md.
// DumpTree and BuildTree are exact inverses up to the order of entries,
// which carries no meaning in a tree: BuildTree(DumpTree(t)) equals t, and
// DumpTree of that tree gives the same text again.

#include "foundation/DataKey.h"

#include <string>
#include <vector>

namespace Kvdt {

// UTF-8 text, entries sorted by name, LF line ends, a final newline.
std::string DumpTree(const KV::DataKey& root);

// Replaces root with the tree the text describes. {"file": ...} payloads
// are read from paths taken relative to baseFolder (Unix-style absolute
// paths under Wine are fine); their full paths are appended to filesRead.
// False with a one-line message ("where: what") on any fault; root is
// then left cleared.
bool BuildTree(const std::string& text, const std::wstring& baseFolder, KV::DataKey& root, std::string& error,
               std::vector<std::wstring>* filesRead = nullptr);

} // namespace Kvdt
