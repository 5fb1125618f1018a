#pragma once
// Where the data test finds what it checks: the shipped files in the build's
// program folder (<build>/bin, beside the tests' folder <build>/tests) and
// the sources in the source tree.

#include <string>
#include <vector>

namespace DataPaths {

// A shipped file's name relative to the running test's program folder, as
// the loaders take it ("..\bin\Languages.lngp").
std::wstring Shipped(const wchar_t* fileName);

// Full path of a shipped file.
std::wstring ShippedPath(const wchar_t* fileName);

// Full path of a file or folder of the source tree, relative given with "/".
std::wstring Source(const std::string& relative);

// The whole file; false when it cannot be read.
bool ReadFile(const std::wstring& path, std::string& bytes);

// Every file below folder (recursively) whose name ends with one of the
// extensions (".cpp"), sorted.
std::vector<std::wstring> ListFiles(const std::wstring& folder, const std::vector<std::wstring>& extensions);

} // namespace DataPaths
