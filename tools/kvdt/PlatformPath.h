#pragma once
// Paths between the build (Unix, under Wine) and the tool (Windows). Build
// scripts pass absolute Unix paths such as /tmp/skin.json; Windows would
// take those relative to the current drive, so they are mapped through Wine
// to the DOS path of the same file (normally on drive Z:).

#include <string>

namespace Kvdt {

// Absolute Windows form of a path given on the command line or in a text.
std::wstring FullPlatformPath(const std::wstring& path);
// The path unchanged when it is absolute, else taken relative to folder.
std::wstring ResolvePath(const std::wstring& folder, const std::wstring& path);
// The folder part of a full path (without the final separator).
std::wstring FolderOf(const std::wstring& fullPath);
// The Unix path of a full Windows path, for the build's dependency files;
// without Wine, the path with forward slashes.
std::string UnixPath(const std::wstring& fullPath);

} // namespace Kvdt
