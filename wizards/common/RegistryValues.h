#pragma once
// Typed reads and writes of the values of an open registry key; all of them
// fail (false) on a null key.

#include <windows.h>

#include <string>

// A REG_SZ (or REG_EXPAND_SZ) value that fits in capacity characters with its
// terminator; false otherwise.
bool QueryRegString(HKEY key, const wchar_t* name, size_t capacity, std::wstring& text);
bool SetRegString(HKEY key, const wchar_t* name, const std::wstring& text);
bool SetRegDword(HKEY key, const wchar_t* name, DWORD value);
