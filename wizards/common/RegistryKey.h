#pragma once
// Owns an open registry key and closes it when it goes.

#include <windows.h>

#include <string>
#include <utility>

class CRegistryKey {
public:
    CRegistryKey() = default;
    CRegistryKey(CRegistryKey&& other) noexcept : m_key(std::exchange(other.m_key, nullptr)) {}
    CRegistryKey& operator=(CRegistryKey&& other) noexcept
    {
        if (this != &other) {
            Close();
            m_key = std::exchange(other.m_key, nullptr);
        }
        return *this;
    }
    CRegistryKey(const CRegistryKey&) = delete;
    CRegistryKey& operator=(const CRegistryKey&) = delete;
    ~CRegistryKey() { Close(); }

    bool Open(HKEY root, const std::wstring& path, REGSAM access)
    {
        Close();
        return ::RegOpenKeyExW(root, path.c_str(), 0, access, &m_key) == ERROR_SUCCESS;
    }
    bool Create(HKEY root, const std::wstring& path, REGSAM access)
    {
        Close();
        return ::RegCreateKeyExW(root, path.c_str(), 0, nullptr, 0, access, nullptr, &m_key, nullptr) ==
               ERROR_SUCCESS;
    }
    void Close()
    {
        if (m_key)
            ::RegCloseKey(m_key);
        m_key = nullptr;
    }

    bool IsOpen() const { return m_key != nullptr; }
    HKEY Get() const { return m_key; }

    // A REG_SZ (or REG_EXPAND_SZ) value that fits in capacity characters
    // with its terminator; false otherwise.
    bool QueryString(const wchar_t* name, size_t capacity, std::wstring& text) const;
    bool SetString(const wchar_t* name, const std::wstring& text) const;
    bool SetDword(const wchar_t* name, DWORD value) const;

private:
    HKEY m_key = nullptr;
};
