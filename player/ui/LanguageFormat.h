#pragma once
// Filling a language text that carries a placeholder. Language packs are
// data from outside the program, so their texts are never handed to a
// printf-style function: a stray "%n" or a second "%s" would crash or read
// past the arguments.

#include <string>

// format with its first "%s" replaced by value; every other character,
// "%" included, stays as it is. Without a "%s" the format comes back whole.
std::wstring FillLanguageFormat(const std::wstring& format, const std::wstring& value);
