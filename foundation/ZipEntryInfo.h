#pragma once
// Description of one archive entry, as ZipReaderGetEntry fills it.

#include <windows.h>

#include <cstdint>

constexpr int ZipMaxNameLength = 260;

struct ZipEntryInfo {
    // Entry number in central-directory order from 0; the number of entries
    // for the summary request (-1); -1 after a failed find.
    int32_t index;
    // Cleaned entry name, zero-terminated.
    wchar_t name[ZipMaxNameLength];
    // FILE_ATTRIBUTE_READONLY, HIDDEN, SYSTEM, DIRECTORY and ARCHIVE bits.
    uint32_t attributes;
    FILETIME lastAccessTime; // UTC
    FILETIME creationTime;   // UTC
    FILETIME lastWriteTime;  // UTC
    uint32_t compressedSize;
    uint32_t uncompressedSize;
};
