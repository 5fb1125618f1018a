#pragma once
// The zip reader's free functions. Each records its result as the last
// result, returns ZipErrorArguments for a null handle and
// ZipErrorHandleKind for a handle that is not a zip reader's.

#include "foundation/ZipEntryInfo.h"
#include "foundation/ZipResult.h"

#include <cstdint>

class ZipReader;

constexpr int32_t ZipHandleKindReader = 1;

struct ZipHandle {
    int32_t kind;
    ZipReader* reader;
};

// source by sourceKind (ZipSourceKind): a file HANDLE, a wide file name or a
// memory block of length bytes. Null on failure, the code in the last result.
ZipHandle* ZipReaderOpen(const void* source, uint32_t length, int32_t sourceKind, const char* password);
// index and info may be null.
ZipResult ZipReaderFindEntry(ZipHandle* handle, const wchar_t* name, bool ignoreCase, int32_t* index,
                             ZipEntryInfo* info);
// target by targetKind (ZipTargetKind): a HANDLE, a wide path, or a buffer of
// bufferSize bytes.
ZipResult ZipReaderExtract(ZipHandle* handle, int32_t index, void* target, uint32_t bufferSize,
                           int32_t targetKind);
// index -1: the summary. The record's index, first name character and
// uncompressed size are cleared first.
ZipResult ZipReaderGetEntry(ZipHandle* handle, int32_t index, ZipEntryInfo* info);
ZipResult ZipReaderSetBaseFolder(ZipHandle* handle, const wchar_t* folder);
// Closes any open entry and the archive and deletes the reader and the handle.
ZipResult ZipReaderClose(ZipHandle* handle);

// The code of the most recent call above (one value for the process).
ZipResult ZipReaderGetLastResult();
