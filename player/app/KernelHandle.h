#pragma once
// Owns a kernel handle (a process, a thread, a file) and closes it.

#include <windows.h>

class CKernelHandle {
public:
    explicit CKernelHandle(HANDLE handle = nullptr) : m_handle(handle) {}
    CKernelHandle(const CKernelHandle&) = delete;
    CKernelHandle& operator=(const CKernelHandle&) = delete;
    ~CKernelHandle()
    {
        if (m_handle != nullptr && m_handle != INVALID_HANDLE_VALUE)
            ::CloseHandle(m_handle);
    }

    HANDLE Get() const { return m_handle; }
    explicit operator bool() const { return m_handle != nullptr && m_handle != INVALID_HANDLE_VALUE; }

private:
    HANDLE m_handle;
};
