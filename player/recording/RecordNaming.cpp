#include "player/recording/RecordNaming.h"

#include "foundation/UtilitiesCommon.h"

#include <cwchar>
#include <cwctype>

namespace RecordNaming {

std::wstring SafeFileNameText(const std::wstring& text)
{
    static const wchar_t unsafe[] = L"\\/:*?\"<>|#";
    std::wstring result = text;
    for (wchar_t& c : result) {
        if (c < 0x20 || std::wcschr(unsafe, c) != nullptr)
            c = L'_';
    }
    return result;
}

std::wstring MakeFileNamePrefix(const std::wstring& name, const std::string& channelId)
{
    return SafeFileNameText(name) + L"#" + SafeFileNameText(KV::AnsiToWide(channelId)) + L"#";
}

std::wstring MakeFileName(const std::wstring& name, const std::string& channelId, uint64_t seconds,
                          const std::wstring& extension)
{
    return MakeFileNamePrefix(name, channelId) + std::to_wstring(seconds) + L"." + extension;
}

bool ParseFileName(const std::wstring& fileName, ParsedFileName& parsed)
{
    const size_t first = fileName.find(L'#');
    if (first == std::wstring::npos)
        return false;
    const size_t second = fileName.find(L'#', first + 1);
    if (second == std::wstring::npos)
        return false;
    parsed.name = fileName.substr(0, first);
    parsed.channelId = KV::WideToAnsi(fileName.substr(first + 1, second - first - 1));
    // The digits stop at the extension's dot.
    parsed.seconds = _wtoi64(fileName.c_str() + second + 1);
    return true;
}

std::wstring ExtensionOf(const std::wstring& path)
{
    const size_t slash = path.find_last_of(L"\\/");
    const size_t dot = path.rfind(L'.');
    if (dot == std::wstring::npos || (slash != std::wstring::npos && dot < slash))
        return std::wstring();
    std::wstring extension = path.substr(dot + 1);
    std::wstring result;
    for (wchar_t c : extension) {
        if (c != L'.')
            result += c;
    }
    return result;
}

std::wstring SuccessorBaseName(const std::wstring& name)
{
    const size_t n = name.size();
    if (n > 4 && name[n - 1] == L')' && name[n - 3] == L'(' && name[n - 4] == L' ' &&
        std::iswdigit(name[n - 2]))
        return name.substr(0, n - 4);
    return name;
}

} // namespace RecordNaming
