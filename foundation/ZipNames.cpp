#include "foundation/ZipNames.h"

#include "foundation/ZipEntryInfo.h"

#include <windows.h>

#include <vector>

std::wstring ZipDecodeEntryName(const char* bytes, size_t length)
{
    if (length == 0)
        return {};
    // UTF-8 never yields more UTF-16 units than it has bytes.
    std::vector<wchar_t> wide(length);
    const int count = MultiByteToWideChar(CP_UTF8, 0, bytes, static_cast<int>(length),
                                          wide.data(), static_cast<int>(wide.size()));
    std::wstring name(wide.data(), count > 0 ? static_cast<size_t>(count) : 0);
    const size_t zero = name.find(L'\0');
    if (zero != std::wstring::npos)
        name.resize(zero);
    if (name.size() > ZipMaxNameLength - 1)
        name.resize(ZipMaxNameLength - 1);
    return name;
}

std::wstring ZipCleanEntryName(const std::wstring& name)
{
    static const wchar_t* const parentSteps[] = {L"\\..\\", L"\\../", L"/../", L"/..\\"};
    size_t start = 0;
    for (;;) {
        const size_t left = name.size() - start;
        if (left >= 2 && name[start] != L'\0' && name[start + 1] == L':') {
            start += 2;
            continue;
        }
        if (left >= 1 && ZipIsSeparator(name[start])) {
            start += 1;
            continue;
        }
        bool found = false;
        for (const wchar_t* step : parentSteps) {
            const size_t at = name.find(step, start);
            if (at != std::wstring::npos) {
                start = at + 4;
                found = true;
                break;
            }
        }
        if (!found)
            break;
    }
    return name.substr(start);
}

namespace {

wchar_t AsciiUpper(wchar_t c)
{
    return (c >= L'a' && c <= L'z') ? static_cast<wchar_t>(c - L'a' + L'A') : c;
}

bool IsAsciiLetter(wchar_t c)
{
    return (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z');
}

bool IsDeviceDigit(wchar_t c)
{
    // Windows also takes the superscript digits 1, 2 and 3 here.
    return (c >= L'0' && c <= L'9') || c == 0x00B9 || c == 0x00B2 || c == 0x00B3;
}

// Windows maps these names to devices in every folder and ignores what
// follows the first dot, and spaces before it.
bool IsReservedDeviceName(const std::wstring& step)
{
    std::wstring stem = step.substr(0, step.find(L'.'));
    while (!stem.empty() && stem.back() == L' ')
        stem.pop_back();
    for (wchar_t& c : stem)
        c = AsciiUpper(c);
    static const wchar_t* const devices[] = {L"CON", L"PRN", L"AUX", L"NUL",
                                             L"CONIN$", L"CONOUT$", L"CLOCK$"};
    for (const wchar_t* device : devices) {
        if (stem == device)
            return true;
    }
    if (stem.size() == 4 && (stem.compare(0, 3, L"COM") == 0 || stem.compare(0, 3, L"LPT") == 0))
        return IsDeviceDigit(stem[3]);
    return false;
}

bool IsSafeStep(const std::wstring& step)
{
    if (step.compare(0, 2, L"..") == 0)
        return false;
    if (step.find(L':') != std::wstring::npos)
        return false;
    if (step.back() == L'.' || step.back() == L' ')
        return false;
    return !IsReservedDeviceName(step);
}

} // namespace

bool ZipIsAbsolutePath(const std::wstring& path)
{
    return (!path.empty() && ZipIsSeparator(path[0])) || (path.size() >= 2 && path[1] == L':');
}

bool ZipIsSafeTargetPath(const std::wstring& path)
{
    if (path.empty())
        return false;
    for (wchar_t c : path) {
        if (c < 0x20 || c == L'<' || c == L'>' || c == L'"' || c == L'|' || c == L'?' || c == L'*')
            return false;
    }
    size_t start = 0;
    if (path.size() >= 2 && ZipIsSeparator(path[0]) && ZipIsSeparator(path[1]))
        return false;
    if (path.size() >= 2 && path[1] == L':') {
        if (!IsAsciiLetter(path[0]) || path.size() < 3 || !ZipIsSeparator(path[2]))
            return false;
        start = 3;
    } else if (ZipIsSeparator(path[0])) {
        start = 1;
    }
    while (start < path.size()) {
        size_t end = start;
        while (end < path.size() && !ZipIsSeparator(path[end]))
            ++end;
        if (end > start && !IsSafeStep(path.substr(start, end - start)))
            return false;
        start = end + 1;
    }
    return true;
}
