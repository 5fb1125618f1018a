#pragma once
// Owns an open registry key and closes it when it goes.
//
//   KV::RegistryKey key(HKEY_CURRENT_USER, L"Software\\Brisvane", KEY_READ);
//   if (key)
//       ::RegQueryValueExW(key.Get(), ...);

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
    HKEY m_key = nullptr;
};

} // namespace KV
