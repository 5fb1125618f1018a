#pragma once
// The updaters' command line: tokens separated by "-", "/" and blanks. "h"
// (exactly, case-sensitive) starts hidden; "p" is accepted and changes
// nothing; other tokens are ignored.

struct UpdaterCommandLine {
    bool hidden = false;
    bool p = false;
};

UpdaterCommandLine ParseUpdaterCommandLine(const wchar_t* commandLine);
