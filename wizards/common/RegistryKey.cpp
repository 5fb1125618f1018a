// Typed reads and writes of an open registry key.

#include "wizards/common/RegistryKey.h"

#include <vector>

bool CRegistryKey::QueryString(const wchar_t* name, size_t capacity, std::wstring& text) const
{
    if (!m_key || capacity == 0)
        return false;
    std::vector<wchar_t> buffer(capacity + 1, L'\0');
    DWORD type = 0;
    DWORD bytes = static_cast<DWORD>(capacity * sizeof(wchar_t));
    if (::RegQueryValueExW(m_key, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()), &bytes) !=
        ERROR_SUCCESS)
        return false;
    if (type != REG_SZ && type != REG_EXPAND_SZ)
        return false;
    // The stored text need not carry its terminator.
    buffer[bytes / sizeof(wchar_t)] = L'\0';
    text = buffer.data();
    return true;
}

bool CRegistryKey::SetString(const wchar_t* name, const std::wstring& text) const
{
    if (!m_key)
        return false;
    const DWORD bytes = static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t));
    return ::RegSetValueExW(m_key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()), bytes) ==
           ERROR_SUCCESS;
}

bool CRegistryKey::SetDword(const wchar_t* name, DWORD value) const
{
    if (!m_key)
        return false;
    return ::RegSetValueExW(m_key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value) ==
           ERROR_SUCCESS;
}
