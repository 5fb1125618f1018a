#pragma once
// Stream over a Win32 file handle, which it owns: one platform call per
// operation, no buffering.

#include "foundation/Stream.h"

#include <windows.h>

namespace KV {

class FileStream : public Stream {
public:
    FileStream() = default;
    FileStream(const char* path, bool forRead);
    FileStream(const wchar_t* path, bool forRead);
    FileStream(const FileStream&) = delete;
    FileStream& operator=(const FileStream&) = delete;
    ~FileStream() override;

    // forRead: existing file, shared read. Otherwise: create-always, no
    // sharing. A handle already held is closed first.
    bool Open(const char* path, bool forRead);
    bool Open(const wchar_t* path, bool forRead);
    bool IsOpen() const;

    uint32_t Write(const void* source, uint32_t count) override;
    uint32_t Read(void* target, uint32_t count) override;
    uint32_t Seek(int32_t offset, uint32_t origin) override;
    uint32_t GetSize() const override;
    // Leaves the file alone and returns its size.
    uint32_t SetSize(uint32_t size) override;
    uint32_t GetPosition() const override;
    void Close() override;

    // Pushes written data to the disk; false when the platform refuses.
    bool Flush();

private:
    HANDLE m_handle = INVALID_HANDLE_VALUE;
};

} // namespace KV
