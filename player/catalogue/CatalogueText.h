#pragma once
// Ids and keys of the catalogue are narrow strings in the ANSI code page;
// the settings and the screen take wide text.

#include <string>

std::wstring NarrowToWide(const std::string& text);
std::string WideToNarrow(const std::wstring& text);
