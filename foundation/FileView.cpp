#include "foundation/FileView.h"

namespace KV {

FileView::~FileView()
{
    if (m_view != nullptr)
        UnmapViewOfFile(m_view);
    if (m_mapping != nullptr)
        CloseHandle(m_mapping);
    if (m_file != INVALID_HANDLE_VALUE)
        CloseHandle(m_file);
}

bool FileView::Open(const std::wstring& path)
{
    m_file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                         FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (m_file == INVALID_HANDLE_VALUE)
        return false;
    LARGE_INTEGER size;
    if (!GetFileSizeEx(m_file, &size) || size.QuadPart >= INVALID_FILE_SIZE)
        return false;
    m_size = static_cast<uint32_t>(size.QuadPart);
    if (m_size == 0)
        return true;
    m_mapping = CreateFileMappingW(m_file, nullptr, PAGE_READONLY, 0, 0, nullptr);
    if (m_mapping == nullptr)
        return false;
    m_view = static_cast<const uint8_t*>(MapViewOfFile(m_mapping, FILE_MAP_READ, 0, 0, 0));
    return m_view != nullptr;
}

} // namespace KV
