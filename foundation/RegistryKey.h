#pragma once
// Owns an open registry key and closes it when it goes.
//
//   KV::RegistryKey key(HKEY_CURRENT_USER, L"Software\\Brisvane", KEY_READ);
//   if (key)
//       ::RegQueryValueExW(key.Get(), ...);
//   auto made = KV::RegistryKey::Create(HKEY_CURRENT_USER, L"Software\\Brisvane", KEY_WRITE);

#include <windows.h>

namespace KV {

class RegistryKey {
public:
    // Opens an existing key (never creates it); null when it cannot be opened.
    RegistryKey(HKEY parent, const wchar_t* path, REGSAM access)
    {
        if (::RegOpenKeyExW(parent, path, 0, access, &m_key) != ERROR_SUCCESS)
            m_key = nullptr;
    }
    // Opens the key, making it (and missing parents) first when it is not
    // there; null when neither works.
    static RegistryKey Create(HKEY parent, const wchar_t* path, REGSAM access)
    {
        return RegistryKey(parent, path, access, CreateTag());
    }
    RegistryKey(const RegistryKey&) = delete;
    RegistryKey& operator=(const RegistryKey&) = delete;
    ~RegistryKey()
    {
        if (m_key != nullptr)
            ::RegCloseKey(m_key);
    }

    HKEY Get() const { return m_key; }
    explicit operator bool() const { return m_key != nullptr; }

private:
    struct CreateTag {};
    RegistryKey(HKEY parent, const wchar_t* path, REGSAM access, CreateTag)
    {
        if (::RegCreateKeyExW(parent, path, 0, nullptr, 0, access, nullptr, &m_key, nullptr) != ERROR_SUCCESS)
            m_key = nullptr;
    }

    HKEY m_key = nullptr;
};

} // namespace KV
