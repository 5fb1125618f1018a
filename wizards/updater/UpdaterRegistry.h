#pragma once
// The updaters' reads and writes of the product key (settings reg/reg). The
// key is opened, never created; reads use KEY_READ.

#include <string>

// The string value, or defaultValue when the key or the value is missing
// or not readable as a string of at most 1024 characters.
std::wstring GetProductRegValue(const wchar_t* name, const std::wstring& defaultValue);
// Sets the REG_SZ value in the existing key; false when it cannot.
bool SetProductRegValue(const wchar_t* name, const std::wstring& text);
