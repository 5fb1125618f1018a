#pragma once
// Result codes of the zip reader (0 is success) and the kinds of sources and
// targets its free functions accept. The setup and the updaters test these
// values, so they never change.

#include <cstdint>

using ZipResult = uint32_t;

enum ZipResultCode : ZipResult {
    ZipOk = 0,
    // The file could not be opened or created, or the archive's directory
    // could not be read.
    ZipErrorOpen = 0x200,
    ZipErrorWrite = 0x400,
    ZipErrorNotFound = 0x500,
    // Extraction to memory filled the buffer and more data remains.
    ZipMoreData = 0x600,
    ZipErrorLocalHeader = 0x700,
    ZipErrorRead = 0x800,
    ZipErrorPassword = 0x1000,
    // Null handle, index out of range, unknown source or target kind.
    ZipErrorArguments = 0x10000,
    ZipErrorHandleKind = 0x80000,
    // The reader already has an archive or an open entry.
    ZipErrorBusy = 0x1000000,
    ZipErrorNotSeekable = 0x2000000,
    // The target path would leave its folder (a ".." step, a drive, UNC or
    // device prefix, a stream name, a reserved device name, a trailing dot or
    // space); nothing was written.
    ZipErrorUnsafePath = 0x3000000,
    // Inflating failed, or the data does not match its declared size or CRC.
    ZipErrorDecompress = 0x5000000,
};

enum ZipSourceKind : int32_t {
    ZipSourceHandle = 1,   // an open, seekable file HANDLE; its position is the archive's start
    ZipSourceFileName = 2, // a wide file name
    ZipSourceMemory = 3,   // a memory block that outlives the reader
};

enum ZipTargetKind : int32_t {
    ZipTargetHandle = 1, // an open file HANDLE, written at its position and left open
    ZipTargetFile = 2,   // a wide path, relative paths under the base folder
    ZipTargetMemory = 3, // a caller's buffer, filled piece by piece
};
