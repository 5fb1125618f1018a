#include "player/ui/LanguageFormat.h"

std::wstring FillLanguageFormat(const std::wstring& format, const std::wstring& value)
{
    const size_t at = format.find(L"%s");
    if (at == std::wstring::npos)
        return format;
    return format.substr(0, at) + value + format.substr(at + 2);
}
