#pragma once
// A whole file as read-only memory, for as long as it is read: the system
// hands its pages over as they are touched, with no copy and no buffer. The
// file stays open for reading (others may read it too) while the view lives.

#include <windows.h>

#include <cstdint>
#include <string>

namespace KV {

class FileView {
public:
    FileView() = default;
    FileView(const FileView&) = delete;
    FileView& operator=(const FileView&) = delete;
    ~FileView();

    // False when the file cannot be opened, is 4 GB or more, or cannot be
    // mapped. An empty file opens with no data.
    bool Open(const std::wstring& path);

    const uint8_t* Data() const { return m_view; }
    uint32_t Size() const { return m_size; }

private:
    HANDLE m_file = INVALID_HANDLE_VALUE;
    HANDLE m_mapping = nullptr;
    const uint8_t* m_view = nullptr;
    uint32_t m_size = 0;
};

} // namespace KV
