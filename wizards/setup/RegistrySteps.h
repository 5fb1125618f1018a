#pragma once
// The setup's registry writes and the uninstall's deletes, driven by the
// settings node reg: one child per key, each with UInt "root" (index of
// HKCR, HKCU, HKLM, HKU), StringW "key" and value nodes (UInt -> REG_DWORD,
// StringW -> REG_SZ, macro-expanded).

namespace KV {
class DataKey;
}

#include "wizards/common/MacroTable.h"

#include <windows.h>

#include <string>

// Texts are expanded with macros (the run's table unless another is given).
void WriteRegistry(const KV::DataKey& reg, const MacroMap& macros = GetMacros());
// One entry: its key expanded, each child node written as values of it.
void WriteRegKey(const KV::DataKey& entry, const MacroMap& macros = GetMacros());
// Creates root\key and writes node's values; "From" only when the key has
// no readable string value of that name yet.
void WriteRegValues(const KV::DataKey& node, HKEY root, const std::wstring& key,
                    const MacroMap& macros = GetMacros());

void DeleteRegistry(const KV::DataKey& reg);
// Deletes the entry's key as stored (not expanded) with all it holds. An
// entry without a root index 0 to 3 or without a key is skipped.
void DeleteRegKey(const KV::DataKey& entry);
