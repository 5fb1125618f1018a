#pragma once
// Sources that minizip reads archives through, in place of its stdio I/O:
// a Win32 file handle seen from a base offset (the archive may sit behind an
// executable) and a memory block read in place. Both are read-only.

#include <ioapi.h>
#include <windows.h>

#include <cstdint>

class ZipIoSource {
public:
    ZipIoSource(const ZipIoSource&) = delete;
    ZipIoSource& operator=(const ZipIoSource&) = delete;
    virtual ~ZipIoSource() = default;

    // The table for unzOpen2_64; pass this object as its path argument.
    zlib_filefunc64_def* Functions() { return &m_functions; }
    // Bytes from the base offset to the end of the source.
    uint64_t Size() const { return m_size; }

protected:
    ZipIoSource();
    // Up to count bytes at position (from the base); fewer at the end.
    virtual uint32_t ReadAt(uint64_t position, void* target, uint32_t count) = 0;

    uint64_t m_size = 0;

private:
    static voidpf OpenStream(voidpf opaque, const void* path, int mode);
    static uLong ReadStream(voidpf opaque, voidpf stream, void* target, uLong count);
    static uLong WriteStream(voidpf opaque, voidpf stream, const void* source, uLong count);
    static ZPOS64_T TellStream(voidpf opaque, voidpf stream);
    static long SeekStream(voidpf opaque, voidpf stream, ZPOS64_T offset, int origin);
    static int CloseStream(voidpf opaque, voidpf stream);
    static int StreamError(voidpf opaque, voidpf stream);

    zlib_filefunc64_def m_functions;
    uint64_t m_position = 0;
    bool m_failed = false;
};

// A file handle that stays its owner's. Small reads (minizip reads headers a
// few bytes at a time) are served from a 4 KiB window; large ones go straight
// to the file.
class ZipHandleSource : public ZipIoSource {
public:
    ZipHandleSource(HANDLE file, uint64_t baseOffset);

protected:
    uint32_t ReadAt(uint64_t position, void* target, uint32_t count) override;

private:
    static constexpr uint32_t WindowSize = 4096;

    uint32_t ReadFromFile(uint64_t position, uint8_t* target, uint32_t count);

    HANDLE m_file;
    uint64_t m_base;
    uint64_t m_windowStart = 0;
    uint32_t m_windowLength = 0;
    uint8_t m_window[WindowSize];
};

class ZipMemorySource : public ZipIoSource {
public:
    ZipMemorySource(const void* data, uint32_t length);

protected:
    uint32_t ReadAt(uint64_t position, void* target, uint32_t count) override;

private:
    const uint8_t* m_data;
};
