#pragma once
// Entry names as the reader reports them, and the check that keeps an
// extraction inside its folder.

#include <cstddef>
#include <string>

// The stored name bytes read as UTF-8 (whatever the entry's flags say), cut
// at an embedded zero and to what ZipEntryInfo::name can hold.
std::wstring ZipDecodeEntryName(const char* bytes, size_t length);

// Drops drive prefixes, leading separators and everything up to a
// "\..\"-like step, repeatedly: C:\dir\file.txt gives dir\file.txt, /a/../b
// gives b, a\..\..\b gives ..\b (which ZipIsSafeTargetPath then refuses).
std::wstring ZipCleanEntryName(const std::wstring& name);

// True when the path names a place inside its folder: a relative path, or an
// absolute one with a drive ("C:\") or a single leading separator. Refused:
// UNC and device prefixes (\\server, \\?\, \\.\), drive-relative paths
// ("C:x"), any step that starts with "..", ":" anywhere past the drive,
// steps ending in a dot or a space, reserved device names (CON, PRN, AUX,
// NUL, COM0-9, LPT0-9, CONIN$, CONOUT$, CLOCK$, with any extension), and the
// characters < > " | ? * and controls.
bool ZipIsSafeTargetPath(const std::wstring& path);

// True for "\x", "/x" and "C:..." (a drive); such targets do not go under
// the base folder.
bool ZipIsAbsolutePath(const std::wstring& path);

inline bool ZipIsSeparator(wchar_t c) { return c == L'\\' || c == L'/'; }
