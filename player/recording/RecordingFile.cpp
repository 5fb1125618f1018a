#include "player/recording/RecordingFile.h"

bool RecordingFile::Create()
{
    if (IsOpen())
        return true;
    // Once made and closed, the name may belong to someone else again.
    if (m_created.load())
        return false;
    m_handle.Reset(::CreateFileW(m_path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                 CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!m_handle.IsValid())
        return false;
    m_created.store(true);
    return true;
}

bool RecordingFile::Write(const void* data, size_t n)
{
    if (n == 0)
        return true;
    if (!IsOpen() && !Create())
        return false;
    const char* bytes = static_cast<const char*>(data);
    while (n > 0) {
        DWORD written = 0;
        const DWORD chunk = static_cast<DWORD>(n > 0x10000000 ? 0x10000000 : n);
        if (!::WriteFile(m_handle.Get(), bytes, chunk, &written, nullptr) || written == 0)
            return false;
        bytes += written;
        n -= written;
    }
    return true;
}
