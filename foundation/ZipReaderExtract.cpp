// Extraction of one entry to a file, an open handle or memory.
#include "foundation/ZipReader.h"

#include "foundation/ZipNames.h"

namespace {

constexpr DWORD CreationAttributeMask =
    FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE;

void CreateFolderIfMissing(const std::wstring& path)
{
    if (GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES)
        CreateDirectoryW(path.c_str(), nullptr);
}

bool WriteAll(HANDLE file, const uint8_t* data, uint32_t count)
{
    while (count > 0) {
        DWORD written = 0;
        if (!WriteFile(file, data, count, &written, nullptr) || written == 0)
            return false;
        data += written;
        count -= written;
    }
    return true;
}

} // namespace

void ZipReader::EnsureFolder(const std::wstring* base, const std::wstring& folder)
{
    const std::wstring prefix = base ? *base : std::wstring();
    if (!prefix.empty())
        CreateFolderIfMissing(prefix);
    if (folder.empty())
        return;
    // Every level from the outside in: the part before each separator after
    // the first character, then the whole path.
    for (size_t i = 1; i < folder.size(); ++i) {
        if (ZipIsSeparator(folder[i]))
            CreateFolderIfMissing(prefix + folder.substr(0, i));
    }
    CreateFolderIfMissing(prefix + folder);
}

ZipResult ZipReader::Extract(int32_t index, void* target, uint32_t bufferSize, int32_t targetKind)
{
    if (!m_archive)
        return ZipErrorArguments;
    if (targetKind == ZipTargetMemory)
        return ExtractToMemory(index, target, bufferSize);
    if (targetKind != ZipTargetHandle && targetKind != ZipTargetFile)
        return ZipErrorArguments;
    CloseOpenEntry();
    if (index < 0 || index >= m_entryCount || !target)
        return ZipErrorArguments;
    ZipResult result = GoToEntry(index);
    if (result != ZipOk)
        return result;
    ZipEntryInfo info;
    if (index == m_cachedIndex)
        info = m_cached;
    else if ((result = DescribeCurrent(index, info)) != ZipOk)
        return result;

    if (targetKind == ZipTargetHandle) {
        if (info.attributes & FILE_ATTRIBUTE_DIRECTORY)
            return ZipOk;
        return ExtractToHandle(static_cast<HANDLE>(target), info);
    }
    const std::wstring path = static_cast<const wchar_t*>(target);
    if (info.attributes & FILE_ATTRIBUTE_DIRECTORY)
        return ExtractFolderEntry(path);
    return ExtractToPath(path, info);
}

ZipResult ZipReader::ExtractToMemory(int32_t index, void* buffer, uint32_t size)
{
    if (!buffer && size > 0)
        return ZipErrorArguments;
    if (index != m_openIndex || !m_entry.IsOpen()) {
        CloseOpenEntry();
        if (index < 0 || index >= m_entryCount)
            return ZipErrorArguments;
        ZipResult result = GoToEntry(index);
        if (result == ZipOk)
            result = m_entry.Open(m_archive);
        if (result != ZipOk)
            return result;
        m_openIndex = index;
    }
    uint32_t produced = 0;
    const ZipResult result = m_entry.Read(buffer, size, &produced);
    if (result != ZipOk) {
        CloseOpenEntry();
        return result;
    }
    if (m_entry.AtEnd()) {
        if (produced == 0)
            CloseOpenEntry();
        return ZipOk;
    }
    return ZipMoreData;
}

ZipResult ZipReader::ExtractFolderEntry(const std::wstring& target)
{
    if (!ZipIsSafeTargetPath(target))
        return ZipErrorUnsafePath;
    if (ZipIsAbsolutePath(target))
        EnsureFolder(nullptr, target);
    else
        EnsureFolder(&m_baseFolder, target);
    return ZipOk;
}

ZipResult ZipReader::ExtractToPath(const std::wstring& target, const ZipEntryInfo& info)
{
    if (!ZipIsSafeTargetPath(target))
        return ZipErrorUnsafePath;
    const size_t separator = target.find_last_of(L"\\/");
    const std::wstring folderPart = separator == std::wstring::npos ? std::wstring() : target.substr(0, separator + 1);
    if (folderPart.size() == target.size())
        return ZipErrorOpen; // names a folder, not a file
    const bool absolute = ZipIsAbsolutePath(folderPart);
    const std::wstring filePath = absolute ? target : m_baseFolder + target;
    const std::wstring folder = absolute ? folderPart : m_baseFolder + folderPart;
    auto ensureFolder = [&] {
        if (absolute)
            EnsureFolder(nullptr, folderPart);
        else
            EnsureFolder(&m_baseFolder, folderPart);
        m_ensuredFolder = folder;
    };
    // Entries of one folder usually follow each other: its levels are
    // checked once, and again only when the file cannot be created.
    const bool folderKnown = folder == m_ensuredFolder;
    if (!folderKnown)
        ensureFolder();
    DWORD attributes = info.attributes & CreationAttributeMask;
    if (attributes == 0)
        attributes = FILE_ATTRIBUTE_NORMAL;
    auto create = [&] {
        return CreateFileW(filePath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, attributes, nullptr);
    };
    ZipFileHandle file(create());
    if (!file.IsValid() && folderKnown) {
        ensureFolder();
        file.Reset(create());
    }
    if (!file.IsValid())
        return ZipErrorOpen;

    ZipResult result = m_entry.Open(m_archive);
    if (result == ZipOk)
        result = CopyEntryData(file.Get());
    CloseOpenEntry();
    if (result != ZipOk) {
        // Damaged or unreadable data does not stay behind under the final name.
        file.Reset();
        SetFileAttributesW(filePath.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileW(filePath.c_str());
        return result;
    }
    SetFileTime(file.Get(), &info.creationTime, &info.lastAccessTime, &info.lastWriteTime);
    return ZipOk;
}

ZipResult ZipReader::ExtractToHandle(HANDLE file, const ZipEntryInfo& info)
{
    ZipResult result = m_entry.Open(m_archive);
    if (result == ZipOk)
        result = CopyEntryData(file);
    CloseOpenEntry();
    if (result == ZipOk)
        SetFileTime(file, &info.creationTime, &info.lastAccessTime, &info.lastWriteTime);
    return result;
}

ZipResult ZipReader::CopyEntryData(HANDLE file)
{
    if (!m_buffer)
        m_buffer.reset(new uint8_t[ExtractBufferSize]);
    for (;;) {
        uint32_t produced = 0;
        const ZipResult result = m_entry.Read(m_buffer.get(), ExtractBufferSize, &produced);
        if (result != ZipOk)
            return result;
        if (produced > 0 && !WriteAll(file, m_buffer.get(), produced))
            return ZipErrorWrite;
        if (m_entry.AtEnd())
            return ZipOk;
        if (produced == 0)
            return ZipErrorDecompress;
    }
}
