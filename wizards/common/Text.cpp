// Code-page conversions of the wizards.

#include "wizards/common/Text.h"

#include <cstdio>

std::wstring WidenAnsi(const std::string& text, UINT codePage)
{
    if (text.empty())
        return std::wstring();
    const int length = static_cast<int>(text.size());
    const int count = ::MultiByteToWideChar(codePage, 0, text.data(), length, nullptr, 0);
    if (count <= 0)
        return std::wstring();
    std::wstring wide(static_cast<size_t>(count), L'\0');
    ::MultiByteToWideChar(codePage, 0, text.data(), length, &wide[0], count);
    return wide;
}

std::string NarrowAnsi(const std::wstring& text)
{
    if (text.empty())
        return std::string();
    const int length = static_cast<int>(text.size());
    const int count = ::WideCharToMultiByte(CP_ACP, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
    if (count <= 0)
        return std::string();
    std::string narrow(static_cast<size_t>(count), '\0');
    ::WideCharToMultiByte(CP_ACP, 0, text.data(), length, &narrow[0], count, nullptr, nullptr);
    return narrow;
}

std::string DecimalText(int value)
{
    char text[16];
    snprintf(text, sizeof text, "%d", value);
    return text;
}
