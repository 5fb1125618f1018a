#pragma once
// Strict UTF-8 and UTF-16 checks and conversions. Names and narrow strings of
// a data tree are plain bytes, so the text form must know exactly which of
// them survive as JSON strings.

#include <string>

namespace Kvdt {

// Well-formed UTF-8 as JSON parsers accept it: shortest forms only, no
// encoded surrogates, nothing above U+10FFFF.
bool IsValidUtf8(const std::string& bytes);
// Every surrogate is part of a high-low pair.
bool IsValidUtf16(const std::wstring& units);

// Ill-formed input becomes U+FFFD where it breaks; valid input converts
// exactly.
std::wstring Utf8ToUtf16(const std::string& bytes);
std::string Utf16ToUtf8(const std::wstring& units);

} // namespace Kvdt
