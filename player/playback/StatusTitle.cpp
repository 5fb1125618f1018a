#include "player/playback/StatusTitle.h"

namespace {

// True when text holds the quote character at all; result gets the title in
// place of the first quoted part when a closing quote follows.
bool ReplaceBetween(const std::wstring& text, wchar_t quote, const std::wstring& title, std::wstring& result)
{
    const size_t open = text.find(quote);
    if (open == std::wstring::npos)
        return false;
    const size_t close = text.find(quote, open + 1);
    if (close != std::wstring::npos)
        result = text.substr(0, open + 1) + title + text.substr(close);
    return true;
}

}  // namespace

std::wstring ReplaceQuotedTitle(const std::wstring& text, const std::wstring& title)
{
    if (title.empty())
        return text;
    std::wstring result = text;
    if (!ReplaceBetween(text, L'"', title, result))
        ReplaceBetween(text, L'\'', title, result);
    return result;
}
