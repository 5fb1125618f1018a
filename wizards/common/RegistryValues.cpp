#include "wizards/common/RegistryValues.h"

#include <vector>

bool QueryRegString(HKEY key, const wchar_t* name, size_t capacity, std::wstring& text)
{
    if (!key || capacity == 0)
        return false;
    std::vector<wchar_t> buffer(capacity + 1, L'\0');
    DWORD type = 0;
    DWORD bytes = static_cast<DWORD>(capacity * sizeof(wchar_t));
    if (::RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()), &bytes) !=
        ERROR_SUCCESS)
        return false;
    if (type != REG_SZ && type != REG_EXPAND_SZ)
        return false;
    // The stored text need not carry its terminator.
    buffer[bytes / sizeof(wchar_t)] = L'\0';
    text = buffer.data();
    return true;
}

bool SetRegString(HKEY key, const wchar_t* name, const std::wstring& text)
{
    if (!key)
        return false;
    const DWORD bytes = static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t));
    return ::RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()), bytes) ==
           ERROR_SUCCESS;
}

bool SetRegDword(HKEY key, const wchar_t* name, DWORD value)
{
    if (!key)
        return false;
    return ::RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value) ==
           ERROR_SUCCESS;
}
