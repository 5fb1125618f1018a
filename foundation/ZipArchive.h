#pragma once
// The programs' view of a zip archive: at most one open archive, entries
// looked up by name ignoring case, read without a password. The setup and
// the updaters read their data files and program files through it.

#include <windows.h>

#include <cstdint>
#include <memory>

namespace KV {
class DataKey;
class MemoryStream;
}
struct ZipHandle;

class ZipArchive {
public:
    // ReadEntry refuses entries that declare more than this many bytes
    // (the product's data files are far smaller), and entries whose declared
    // size their stored data could not inflate to, without allocating.
    static constexpr uint32_t MaxReadEntrySize = 128u * 1024 * 1024;

    ZipArchive() = default;
    ZipArchive(const ZipArchive&) = delete;
    ZipArchive& operator=(const ZipArchive&) = delete;
    virtual ~ZipArchive();

    // An open, seekable file handle whose current position is where the
    // archive starts; it stays the caller's. False when an archive is
    // already open or opening fails.
    bool OpenHandle(HANDLE file);
    // The same for a file the archive opens itself (read, shared read).
    bool Open(const wchar_t* fileName);
    void Close();
    bool IsOpen() const { return m_handle != nullptr; }

    // The entry's bytes in a new stream at position 0; null when nothing is
    // open, the entry is missing, its declared size is not believable or its
    // data is damaged (CRC, size).
    // maxBytes lowers the limit for callers that know their entries small.
    std::unique_ptr<KV::MemoryStream> ReadEntry(const wchar_t* name, uint32_t maxBytes = MaxReadEntrySize);
    // Extracts the entry to targetPath (a relative path goes below the base
    // folder, the current directory at opening). True only when the file (or
    // folder) is in place; when the data turns out damaged, no file is left
    // under the target name (a file that was there before is gone too).
    bool ExtractEntry(const wchar_t* targetPath, const wchar_t* name);
    // Extracts the entry to fileName below folder, which becomes the base
    // folder. The folder is the caller's own choice and any absolute path
    // (a drive or a network share); only fileName must stay inside it: an
    // absolute one, or one that leaves it, is refused before anything is
    // written.
    bool ExtractEntryInto(const wchar_t* folder, const wchar_t* fileName, const wchar_t* name);
    // Writes the entry's data into file at its position (the file stays
    // the caller's, opened as the caller chose). False when nothing is
    // open, the entry is missing, names a folder or is larger than maxBytes
    // (refused before anything is written), or its data turns out damaged;
    // what was written by then is the caller's to drop.
    bool ExtractEntryToHandle(HANDLE file, const wchar_t* name, uint32_t maxBytes);
    // The entry read as a data-tree file; null when missing, larger than
    // maxBytes or not parsable, and then *outOfMemory (when given) tells
    // whether memory ran out.
    std::unique_ptr<KV::DataKey> LoadDataKey(const wchar_t* name, bool* outOfMemory = nullptr,
                                             uint32_t maxBytes = MaxReadEntrySize);
    bool HasEntry(const wchar_t* name);

    // For operations built on the free functions (ZipHandle.h); null when closed.
    ZipHandle* GetHandle() const { return m_handle; }

private:
    bool OpenSource(const void* source, int32_t kind);

    ZipHandle* m_handle = nullptr;
};
