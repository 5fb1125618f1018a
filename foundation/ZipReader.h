#pragma once
// One open zip archive over minizip: describes entries, finds them by name
// and extracts them to a file, an open file handle or memory. Programs reach
// it through the free functions of ZipHandle.h or through ZipArchive.

#include "foundation/ZipEntryDecoder.h"
#include "foundation/ZipEntryInfo.h"
#include "foundation/ZipFileHandle.h"
#include "foundation/ZipIo.h"
#include "foundation/ZipResult.h"

#include <unzip.h>

#include <cstdint>
#include <memory>
#include <string>

class ZipReader {
public:
    // Size of the buffer that file and handle extractions go through.
    static constexpr uint32_t ExtractBufferSize = 16384;

    // password may be null; the archives of this product carry none.
    explicit ZipReader(const char* password);
    ZipReader(const ZipReader&) = delete;
    ZipReader& operator=(const ZipReader&) = delete;
    ~ZipReader();

    // source: a HANDLE (kind 1; its current position is the archive's start
    // and it stays the caller's), a wide file name (kind 2) or a memory block
    // of length bytes (kind 3, read in place).
    ZipResult Open(const void* source, uint32_t length, int32_t sourceKind);
    ZipResult Close();

    // index -1: the summary (index = number of entries, all else empty).
    ZipResult GetEntry(int32_t index, ZipEntryInfo* info);
    // Exact UTF-8 match of the name, ASCII letters folded when ignoreCase.
    ZipResult FindEntry(const wchar_t* name, bool ignoreCase, int32_t* index, ZipEntryInfo* info);
    // target by kind: a HANDLE, a wide path or a buffer of bufferSize bytes;
    // memory extraction continues with the next piece on the next call for
    // the same index (ZipMoreData until the end).
    ZipResult Extract(int32_t index, void* target, uint32_t bufferSize, int32_t targetKind);
    // Relative extraction paths go below this folder; a separator is added.
    void SetBaseFolder(const wchar_t* folder);

    int32_t GetEntryCount() const { return m_entryCount; }
    // Bytes of the archive as the reader sees it (from its start to the end
    // of the source).
    uint64_t GetArchiveSize() const { return m_source ? m_source->Size() : 0; }

    // Creates base (when given and missing), then each level of folder below
    // it, outside in. Failures show later, when the file cannot be created.
    static void EnsureFolder(const std::wstring* base, const std::wstring& folder);

private:
    ZipResult OpenSource(std::unique_ptr<ZipIoSource> source);
    void CloseOpenEntry();
    ZipResult GoToEntry(int32_t index);
    ZipResult DescribeCurrent(int32_t index, ZipEntryInfo& info);
    ZipResult ExtractToMemory(int32_t index, void* buffer, uint32_t size);
    ZipResult ExtractFolderEntry(const std::wstring& target);
    ZipResult ExtractToPath(const std::wstring& target, const ZipEntryInfo& info);
    ZipResult ExtractToHandle(HANDLE file, const ZipEntryInfo& info);
    ZipResult CopyEntryData(HANDLE file);

    unzFile m_archive = nullptr;
    std::unique_ptr<ZipIoSource> m_source;
    ZipFileHandle m_ownedFile;
    int32_t m_entryCount = 0;
    // minizip's current entry; -1 when unknown (start again from the first).
    int32_t m_currentIndex = -1;
    ZipEntryDecoder m_entry;
    int32_t m_openIndex = -1;
    int32_t m_cachedIndex = -1;
    ZipEntryInfo m_cached{};
    std::string m_password;
    bool m_hasPassword = false;
    std::unique_ptr<uint8_t[]> m_buffer;
    std::wstring m_baseFolder;
    // The folder the last file extraction made sure of.
    std::wstring m_ensuredFolder;
};
