#pragma once
// Puts the channel's title into the Media Player's status text, where the
// control shows the address or file name between quotes.

#include <string>

// text with title in place of its first quoted part: double quotes are looked
// for first; single quotes only when the text has no double quote at all. An
// opening quote without a closing one, or an empty title, leaves the text as
// it is.
std::wstring ReplaceQuotedTitle(const std::wstring& text, const std::wstring& title);
