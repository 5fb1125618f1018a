#pragma once
// Paths of the host system in the test tools' arguments and build settings:
// under Wine an absolute Unix path ("/tmp/out") is mapped to the Windows
// path of the same file (normally on drive Z:); on Windows every path is a
// Windows path already.

#include <string>

// The Windows form of path; a path that is not mapped only gets backslashes
// for its slashes.
std::wstring WindowsPathOfHostPath(const std::wstring& path);
// The host's (Unix) form of a Windows path under Wine; empty on Windows or
// when Wine has no mapping for it.
std::wstring HostPathOfWindowsPath(const std::wstring& path);
