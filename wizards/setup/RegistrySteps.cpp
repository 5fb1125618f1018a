// Writing and deleting the product's registry keys.

#include "wizards/setup/RegistrySteps.h"

#include "foundation/DataKey.h"
#include "foundation/RegistryKey.h"
#include "wizards/common/MacroTable.h"
#include "wizards/common/ProductRegistry.h"
#include "wizards/common/RegistryValues.h"
#include "wizards/common/Text.h"

#include <shlwapi.h>

namespace {

// Characters of the From value that the check reads.
constexpr size_t FromCapacity = 4090;

// True for a key text that names a real sub-key: deleting an empty path
// would take the whole root with it.
bool NamesSubKey(const std::wstring& key)
{
    return key.find_first_not_of(L"\\ ") != std::wstring::npos;
}

} // namespace

void WriteRegistry(const KV::DataKey& reg, const MacroMap& macros)
{
    for (const auto& entry : reg.GetKeys()) {
        if (entry.second)
            WriteRegKey(*entry.second, macros);
    }
}

void WriteRegKey(const KV::DataKey& entry, const MacroMap& macros)
{
    HKEY root = nullptr;
    std::wstring key;
    if (!GetRegistryEntryKey(entry, root, key))
        return;
    key = ExpandMacros(key, macros);
    if (!NamesSubKey(key))
        return;
    for (const auto& child : entry.GetKeys()) {
        if (child.second)
            WriteRegValues(*child.second, root, key, macros);
    }
}

void WriteRegValues(const KV::DataKey& node, HKEY root, const std::wstring& key, const MacroMap& macros)
{
    const KV::RegistryKey target = KV::RegistryKey::Create(root, key.c_str(), ProductKeyAccess);
    if (!target)
        return;
    for (const auto& entry : node.GetValues()) {
        const KV::DataValue* value = entry.second;
        if (!value)
            continue;
        const std::wstring name = WidenAnsi(entry.first);
        if (value->GetType() == KV::ValueType::UInt) {
            SetRegDword(target.Get(), name.c_str(), value->GetUInt());
        } else if (value->GetType() == KV::ValueType::StringW) {
            if (name == RegValueFrom) {
                std::wstring existing;
                if (QueryRegString(target.Get(), RegValueFrom, FromCapacity, existing))
                    continue;
            }
            SetRegString(target.Get(), name.c_str(), ExpandMacros(*value->GetStringW(), macros));
        }
    }
}

void DeleteRegistry(const KV::DataKey& reg)
{
    for (const auto& entry : reg.GetKeys()) {
        if (entry.second)
            DeleteRegKey(*entry.second);
    }
}

void DeleteRegKey(const KV::DataKey& entry)
{
    HKEY root = nullptr;
    std::wstring key;
    if (!GetRegistryEntryKey(entry, root, key) || !NamesSubKey(key))
        return;
    ::SHDeleteKeyW(root, key.c_str());
}
