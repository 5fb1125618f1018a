#pragma once
// A temporary file for one transfer ("kvu" prefix in the temporary folder,
// the extension TMP or the one given), its name this transfer's alone,
// deleted when the object goes, whatever became of the transfer.
//
// The process does not wait for its workers, so a transfer may still run
// when the process ends, and its object is never destroyed. Every transfer
// file is therefore listed while it exists, and the end of the run deletes
// the ones still listed (EndTransferFiles); the file is written through a
// handle that lets it be deleted meanwhile, and it goes when that handle
// does, at the latest with the process.

#include <windows.h>

#include <string>

class CTransferFile {
public:
    // Not named (IsNamed false) when no file could be made, or after the end
    // of the run.
    explicit CTransferFile(const wchar_t* extension = nullptr);
    // Lists path itself (a file the transfer makes outside the temporary
    // folder, such as an extraction's partial file) in place of a new name.
    struct ListedPath {
        std::wstring path;
    };
    explicit CTransferFile(ListedPath listed);
    CTransferFile(const CTransferFile&) = delete;
    CTransferFile& operator=(const CTransferFile&) = delete;
    ~CTransferFile();

    const std::wstring& Path() const { return m_path; }
    bool IsNamed() const { return !m_path.empty(); }

private:
    std::wstring m_path;
};

// Opens path (a transfer file) anew for writing, shared for deletion;
// INVALID_HANDLE_VALUE when it cannot be made, when path is no transfer
// file, or when the end of its run deleted it.
HANDLE CreateTransferFileForWriting(const std::wstring& path);
// Opens a transfer file for reading, shared for deletion, so that the end
// of the run deletes it even while it is read; INVALID_HANDLE_VALUE when it
// cannot be opened.
HANDLE OpenTransferFileForReading(const std::wstring& path);

// The start of a run: transfer files can be made again.
void BeginTransferFiles();
// The end of a run: deletes every transfer file still listed (one being
// written goes when its handle is closed); none of them is made again, and
// no new one until the next run begins.
void EndTransferFiles();

// The settings' download folder (update/folder, as stored).
std::wstring GetDownloadFolderUrl();
