// Tokens of the updaters' command line.

#include "wizards/updater/CommandLine.h"

#include <string>

namespace {

bool IsSeparator(wchar_t c)
{
    return c == L'-' || c == L'/' || c == L' ';
}

} // namespace

UpdaterCommandLine ParseUpdaterCommandLine(const wchar_t* commandLine)
{
    UpdaterCommandLine result;
    if (!commandLine)
        return result;
    std::wstring token;
    for (const wchar_t* c = commandLine;; ++c) {
        if (*c != L'\0' && !IsSeparator(*c)) {
            token += *c;
            continue;
        }
        if (token == L"h")
            result.hidden = true;
        else if (token == L"p")
            result.p = true;
        token.clear();
        if (*c == L'\0')
            break;
    }
    return result;
}
