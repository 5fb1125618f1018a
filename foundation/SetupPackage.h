#pragma once
// The test a downloaded setup passes before it is recorded or run: the
// updater applies it to what it downloaded, and the player again before it
// starts a recorded setup.

#include <string>

namespace KV {

// Whether the file name is one a setup package may have (it ends in .exe).
bool IsSetupPackageName(const std::wstring& path);

// Whether path is a setup package of the product offering version: an .exe
// file (it starts with "MZ") whose trailer says setup package (mode 0) and
// whose appended archive opens and holds a set.kvdt with "ver" equal to
// version (compared as versions). An empty version is never offered.
bool IsSetupPackage(const std::wstring& path, const std::wstring& version);

} // namespace KV
