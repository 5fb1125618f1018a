#pragma once
// Owns a Win32 file handle and closes it when it goes.

#include <windows.h>

#include <utility>

class CFileHandle {
public:
    CFileHandle() = default;
    explicit CFileHandle(HANDLE handle) : m_handle(handle) {}
    CFileHandle(CFileHandle&& other) noexcept : m_handle(std::exchange(other.m_handle, INVALID_HANDLE_VALUE)) {}
    CFileHandle& operator=(CFileHandle&& other) noexcept
    {
        if (this != &other)
            Reset(std::exchange(other.m_handle, INVALID_HANDLE_VALUE));
        return *this;
    }
    CFileHandle(const CFileHandle&) = delete;
    CFileHandle& operator=(const CFileHandle&) = delete;
    ~CFileHandle() { Reset(); }

    bool IsValid() const { return m_handle != INVALID_HANDLE_VALUE && m_handle != nullptr; }
    HANDLE Get() const { return m_handle; }

    void Reset(HANDLE handle = INVALID_HANDLE_VALUE)
    {
        if (IsValid())
            ::CloseHandle(m_handle);
        m_handle = handle;
    }

private:
    HANDLE m_handle = INVALID_HANDLE_VALUE;
};
