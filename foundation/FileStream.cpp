#include "foundation/FileStream.h"

namespace KV {

namespace {

bool IsUsable(HANDLE handle)
{
    return handle != nullptr && handle != INVALID_HANDLE_VALUE;
}

} // namespace

FileStream::FileStream(const char* path, bool forRead)
{
    Open(path, forRead);
}

FileStream::FileStream(const wchar_t* path, bool forRead)
{
    Open(path, forRead);
}

FileStream::~FileStream()
{
    Close();
}

bool FileStream::Open(const char* path, bool forRead)
{
    Close(); // a second Open must not leak the first handle
    m_handle = CreateFileA(path, forRead ? GENERIC_READ : GENERIC_WRITE,
                           forRead ? FILE_SHARE_READ : 0, nullptr,
                           forRead ? OPEN_EXISTING : CREATE_ALWAYS,
                           FILE_ATTRIBUTE_ARCHIVE, nullptr);
    return m_handle != INVALID_HANDLE_VALUE;
}

bool FileStream::Open(const wchar_t* path, bool forRead)
{
    Close();
    m_handle = CreateFileW(path, forRead ? GENERIC_READ : GENERIC_WRITE,
                           forRead ? FILE_SHARE_READ : 0, nullptr,
                           forRead ? OPEN_EXISTING : CREATE_ALWAYS,
                           FILE_ATTRIBUTE_ARCHIVE, nullptr);
    return m_handle != INVALID_HANDLE_VALUE;
}

bool FileStream::IsOpen() const
{
    return IsUsable(m_handle);
}

uint32_t FileStream::Write(const void* source, uint32_t count)
{
    if (!IsUsable(m_handle))
        return 0;
    DWORD written = 0;
    if (!WriteFile(m_handle, source, count, &written, nullptr))
        return 0;
    return written;
}

uint32_t FileStream::Read(void* target, uint32_t count)
{
    DWORD got = 0;
    if (!ReadFile(m_handle, target, count, &got, nullptr))
        return 0;
    return got;
}

uint32_t FileStream::Seek(int32_t offset, uint32_t origin)
{
    return SetFilePointer(m_handle, offset, nullptr, origin);
}

uint32_t FileStream::GetSize() const
{
    return GetFileSize(m_handle, nullptr);
}

uint32_t FileStream::SetSize(uint32_t)
{
    return GetSize();
}

uint32_t FileStream::GetPosition() const
{
    return SetFilePointer(m_handle, 0, nullptr, FILE_CURRENT);
}

void FileStream::Close()
{
    if (IsUsable(m_handle))
        CloseHandle(m_handle);
    m_handle = nullptr;
}

bool FileStream::Flush()
{
    return IsUsable(m_handle) && FlushFileBuffers(m_handle) != 0;
}

} // namespace KV
