// The product key and its values.

#include "wizards/common/ProductRegistry.h"

#include "foundation/DataKey.h"
#include "foundation/RegistryKey.h"
#include "wizards/common/ProductSettings.h"
#include "wizards/common/RegistryValues.h"

HKEY RegistryRootFromIndex(uint32_t index)
{
    switch (index) {
    case 0:
        return HKEY_CLASSES_ROOT;
    case 1:
        return HKEY_CURRENT_USER;
    case 2:
        return HKEY_LOCAL_MACHINE;
    case 3:
        return HKEY_USERS;
    default:
        return nullptr;
    }
}

bool GetRegistryEntryKey(const KV::DataKey& entry, HKEY& root, std::wstring& key)
{
    const KV::DataValue* rootValue = entry.FindValue("root", KV::ValueType::UInt);
    const std::wstring* keyText = entry.GetStringW("key");
    if (!rootValue || !keyText || keyText->empty())
        return false;
    root = RegistryRootFromIndex(rootValue->GetUInt());
    key = *keyText;
    return root != nullptr;
}

bool GetProductKey(HKEY& root, std::wstring& key)
{
    const KV::DataKey* reg = GetProductSettings().GetKey("reg");
    const KV::DataKey* product = reg ? reg->GetKey("reg") : nullptr;
    return product && GetRegistryEntryKey(*product, root, key);
}

std::wstring ReadProductRegValue(const wchar_t* name, const std::wstring& defaultValue, REGSAM access)
{
    HKEY root = nullptr;
    std::wstring path;
    if (!GetProductKey(root, path))
        return defaultValue;
    KV::RegistryKey key(root, path.c_str(), access);
    std::wstring text;
    if (!QueryRegString(key.Get(), name, ProductValueCapacity, text))
        return defaultValue;
    return text;
}

bool HasProductRegValue(const wchar_t* name, REGSAM access)
{
    HKEY root = nullptr;
    std::wstring path;
    if (!GetProductKey(root, path))
        return false;
    KV::RegistryKey key(root, path.c_str(), access);
    std::wstring text;
    return QueryRegString(key.Get(), name, ProductValueCapacity, text);
}

bool WriteProductRegValue(const wchar_t* name, const std::wstring& text)
{
    HKEY root = nullptr;
    std::wstring path;
    if (!GetProductKey(root, path))
        return false;
    KV::RegistryKey key(root, path.c_str(), ProductKeyAccess);
    return SetRegString(key.Get(), name, text);
}
