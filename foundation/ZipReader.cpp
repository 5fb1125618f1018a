#include "foundation/ZipReader.h"

#include "foundation/ZipEntryMetadata.h"
#include "foundation/ZipNames.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <vector>

namespace {

// The smallest central-directory record: an archive claiming more entries
// than its size can hold is not read at all.
constexpr uint64_t MinDirectoryRecordSize = 46;

uint32_t ClampToUInt32(ZPOS64_T value)
{
    return value > 0xFFFFFFFFull ? 0xFFFFFFFFu : static_cast<uint32_t>(value);
}

std::string ToUtf8(const wchar_t* text)
{
    const int size = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (size <= 1)
        return {};
    std::string utf8(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, -1, &utf8[0], size, nullptr, nullptr);
    utf8.resize(static_cast<size_t>(size - 1));
    return utf8;
}

char FoldAscii(char c)
{
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

bool SameName(const char* stored, const std::string& wanted, bool ignoreCase)
{
    for (size_t i = 0; i < wanted.size(); ++i) {
        const char a = ignoreCase ? FoldAscii(stored[i]) : stored[i];
        const char b = ignoreCase ? FoldAscii(wanted[i]) : wanted[i];
        if (a != b)
            return false;
    }
    return true;
}

} // namespace

ZipReader::ZipReader(const char* password)
{
    if (password) {
        m_password = password;
        m_hasPassword = true;
    }
}

ZipReader::~ZipReader()
{
    Close();
}

ZipResult ZipReader::Open(const void* source, uint32_t length, int32_t sourceKind)
{
    if (m_archive || m_entry.IsOpen())
        return ZipErrorBusy;

    wchar_t folder[MAX_PATH];
    const DWORD folderLength = GetCurrentDirectoryW(MAX_PATH, folder);
    SetBaseFolder(folderLength > 0 && folderLength < MAX_PATH ? folder : L"");

    switch (sourceKind) {
    case ZipSourceHandle: {
        HANDLE file = const_cast<HANDLE>(source);
        LARGE_INTEGER position{};
        if (GetFileType(file) != FILE_TYPE_DISK ||
            !SetFilePointerEx(file, LARGE_INTEGER{}, &position, FILE_CURRENT))
            return ZipErrorNotSeekable;
        const uint64_t start = static_cast<uint64_t>(position.QuadPart);
        ZipResult result = OpenSource(std::make_unique<ZipHandleSource>(file, start));
        // An archive placed behind other data may count its offsets from the
        // start of the whole file rather than from its own start.
        if (result != ZipOk && start > 0)
            result = OpenSource(std::make_unique<ZipHandleSource>(file, 0));
        return result;
    }
    case ZipSourceFileName: {
        if (!source)
            return ZipErrorArguments;
        m_ownedFile.Reset(CreateFileW(static_cast<const wchar_t*>(source), GENERIC_READ, FILE_SHARE_READ,
                                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!m_ownedFile.IsValid())
            return ZipErrorOpen;
        const ZipResult result = OpenSource(std::make_unique<ZipHandleSource>(m_ownedFile.Get(), 0));
        if (result != ZipOk)
            m_ownedFile.Reset();
        return result;
    }
    case ZipSourceMemory:
        if (!source && length > 0)
            return ZipErrorArguments;
        return OpenSource(std::make_unique<ZipMemorySource>(source, length));
    default:
        return ZipErrorArguments;
    }
}

ZipResult ZipReader::OpenSource(std::unique_ptr<ZipIoSource> source)
{
    unzFile archive = unzOpen2_64(source.get(), source->Functions());
    if (!archive)
        return ZipErrorOpen;
    unz_global_info64 global{};
    if (unzGetGlobalInfo64(archive, &global) != UNZ_OK ||
        global.number_entry > source->Size() / MinDirectoryRecordSize ||
        global.number_entry > static_cast<ZPOS64_T>(INT_MAX - 1)) {
        unzClose(archive);
        return ZipErrorOpen;
    }
    m_archive = archive;
    m_source = std::move(source);
    m_entryCount = static_cast<int32_t>(global.number_entry);
    m_currentIndex = -1;
    m_cachedIndex = -1;
    return ZipOk;
}

ZipResult ZipReader::Close()
{
    CloseOpenEntry();
    if (m_archive)
        unzClose(m_archive);
    m_archive = nullptr;
    m_source.reset();
    m_ownedFile.Reset();
    m_entryCount = 0;
    m_currentIndex = -1;
    m_cachedIndex = -1;
    m_ensuredFolder.clear();
    return ZipOk;
}

void ZipReader::SetBaseFolder(const wchar_t* folder)
{
    m_baseFolder = folder ? folder : L"";
    // An empty base stays empty (the current directory), not a drive root.
    if (!m_baseFolder.empty() && !ZipIsSeparator(m_baseFolder.back()))
        m_baseFolder += L'\\';
}

void ZipReader::CloseOpenEntry()
{
    m_entry.Close();
    m_openIndex = -1;
}

ZipResult ZipReader::GoToEntry(int32_t index)
{
    if (m_currentIndex < 0 || index < m_currentIndex) {
        if (unzGoToFirstFile(m_archive) != UNZ_OK) {
            m_currentIndex = -1;
            return ZipErrorRead;
        }
        m_currentIndex = 0;
    }
    while (m_currentIndex < index) {
        if (unzGoToNextFile(m_archive) != UNZ_OK) {
            m_currentIndex = -1;
            return ZipErrorRead;
        }
        ++m_currentIndex;
    }
    return ZipOk;
}

ZipResult ZipReader::DescribeCurrent(int32_t index, ZipEntryInfo& info)
{
    unz_file_info64 entry{};
    char storedName[ZipMaxNameLength + 1];
    if (unzGetCurrentFileInfo64(m_archive, &entry, storedName, ZipMaxNameLength, nullptr, 0, nullptr, 0) != UNZ_OK)
        return ZipErrorRead;
    const size_t nameLength = std::min<size_t>(entry.size_filename, ZipMaxNameLength);

    // Opening the entry raw checks its local header against the directory
    // and locates its local extra field, which holds the "UT" times.
    if (unzOpenCurrentFile2(m_archive, nullptr, nullptr, 1) != UNZ_OK)
        return ZipErrorLocalHeader;
    const int extraLength = unzGetLocalExtrafield(m_archive, nullptr, 0);
    std::vector<uint8_t> extra(extraLength > 0 ? static_cast<size_t>(extraLength) : 0);
    const int extraRead = extra.empty() ? 0 : unzGetLocalExtrafield(m_archive, extra.data(), static_cast<unsigned>(extra.size()));
    unzCloseCurrentFile(m_archive);
    if (extraRead != static_cast<int>(extra.size()))
        return ZipErrorRead;

    std::memset(&info, 0, sizeof(info));
    info.index = index;
    const std::wstring name = ZipCleanEntryName(ZipDecodeEntryName(storedName, nameLength));
    std::memcpy(info.name, name.c_str(), (name.size() + 1) * sizeof(wchar_t));
    info.attributes = ZipAttributesFromHost(entry.version, entry.external_fa);
    info.compressedSize = ClampToUInt32(entry.compressed_size);
    info.uncompressedSize = ClampToUInt32(entry.uncompressed_size);
    const FILETIME modified = ZipDosDateTimeToFileTime(entry.dosDate);
    info.lastAccessTime = modified;
    info.creationTime = modified;
    info.lastWriteTime = modified;
    ZipApplyExtendedTimestamps(extra.data(), extra.size(), info);

    m_cached = info;
    m_cachedIndex = index;
    return ZipOk;
}

ZipResult ZipReader::GetEntry(int32_t index, ZipEntryInfo* info)
{
    if (!m_archive || !info || index < -1 || index >= m_entryCount)
        return ZipErrorArguments;
    CloseOpenEntry();
    if (index != -1 && index == m_cachedIndex) {
        *info = m_cached;
        return ZipOk;
    }
    if (index == -1) {
        std::memset(info, 0, sizeof(*info));
        info->index = m_entryCount;
        return ZipOk;
    }
    const ZipResult result = GoToEntry(index);
    return result != ZipOk ? result : DescribeCurrent(index, *info);
}

ZipResult ZipReader::FindEntry(const wchar_t* name, bool ignoreCase, int32_t* index, ZipEntryInfo* info)
{
    if (!m_archive || !name)
        return ZipErrorArguments;
    CloseOpenEntry();
    const std::string wanted = ToUtf8(name);
    int32_t found = -1;
    // Names are compared here rather than by unzLocateFile, which reads
    // stored names of 256 bytes or more without a terminator.
    if (wanted.size() <= ZipMaxNameLength) {
        m_currentIndex = -1;
        int status = unzGoToFirstFile(m_archive);
        for (int32_t i = 0; status == UNZ_OK && i < m_entryCount; ++i) {
            m_currentIndex = i;
            unz_file_info64 entry{};
            char storedName[ZipMaxNameLength + 1];
            status = unzGetCurrentFileInfo64(m_archive, &entry, storedName, ZipMaxNameLength, nullptr, 0, nullptr, 0);
            if (status != UNZ_OK)
                break;
            if (entry.size_filename == wanted.size() && SameName(storedName, wanted, ignoreCase)) {
                found = i;
                break;
            }
            status = unzGoToNextFile(m_archive);
        }
        if (status != UNZ_OK)
            m_currentIndex = -1;
    }
    if (found < 0) {
        if (index)
            *index = -1;
        if (info) {
            std::memset(info, 0, sizeof(*info));
            info->index = -1;
        }
        return ZipErrorNotFound;
    }
    if (index)
        *index = found;
    return info ? GetEntry(found, info) : ZipOk;
}
