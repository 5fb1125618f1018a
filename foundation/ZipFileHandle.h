#pragma once
// Owns a Win32 file handle and closes it when it goes.

#include <windows.h>

class ZipFileHandle {
public:
    ZipFileHandle() = default;
    explicit ZipFileHandle(HANDLE handle) : m_handle(handle) {}
    ZipFileHandle(const ZipFileHandle&) = delete;
    ZipFileHandle& operator=(const ZipFileHandle&) = delete;
    ~ZipFileHandle() { Reset(); }

    bool IsValid() const { return m_handle != INVALID_HANDLE_VALUE && m_handle != nullptr; }
    HANDLE Get() const { return m_handle; }

    void Reset(HANDLE handle = INVALID_HANDLE_VALUE)
    {
        if (IsValid())
            CloseHandle(m_handle);
        m_handle = handle;
    }

private:
    HANDLE m_handle = INVALID_HANDLE_VALUE;
};
