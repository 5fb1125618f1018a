#pragma once
// Narrow and wide text of the wizards' data: value names and origin texts
// are narrow bytes in the ANSI code page.

#include <windows.h>

#include <string>

// text widened with the given code page (CP_ACP by default).
std::wstring WidenAnsi(const std::string& text, UINT codePage = CP_ACP);
// text narrowed to the ANSI code page.
std::string NarrowAnsi(const std::wstring& text);
// Decimal text of a number.
std::string DecimalText(int value);
