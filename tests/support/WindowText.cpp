#include "tests/support/WindowText.h"

std::wstring TextOf(HWND window)
{
    wchar_t text[2048] = {};
    ::GetWindowTextW(window, text, 2048);
    return text;
}

std::wstring ClassOf(HWND window)
{
    wchar_t name[64] = {};
    ::GetClassNameW(window, name, 63);
    return name;
}
