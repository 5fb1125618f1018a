#pragma once
// The last twelve bytes of a setup executable: where its appended archive
// begins, where an optional origin text begins, and which of its three roles
// the file plays. The package builder (tools/package) writes them.

#include <windows.h>

#include <cstdint>
#include <string>

enum SetupMode : uint32_t {
    ModeSetup = 0,
    ModeInstalledUninstaller = 1,
    ModeUninstall = 2,
};

struct ArchiveTrailer {
    uint32_t ArchiveOffset = 0;
    // 0: no origin text.
    uint32_t FromOffset = 0;
    uint32_t Mode = ModeSetup;
};

constexpr uint32_t ArchiveTrailerSize = 12;

// 1 and 2 are the uninstaller's roles; every other value is the setup.
SetupMode SetupModeFromValue(uint32_t value);

// The u32 in the last four bytes of the file; 0 when it cannot be read.
uint32_t ReadSetupModeValue(const wchar_t* path);
// Overwrites the last four bytes of an existing file (opened unshared).
bool WriteSetupModeValue(const wchar_t* path, uint32_t mode);

// Reads the trailer of an open file; the file position is left after it.
bool ReadArchiveTrailer(HANDLE file, ArchiveTrailer& trailer);
// The bytes from FromOffset up to the trailer; empty when there is no origin
// text or the offset does not lie before the trailer.
std::string ReadOriginText(HANDLE file, const ArchiveTrailer& trailer);
