#pragma once
// A temporary file for one transfer ("kvu" prefix in the temporary folder,
// the extension TMP or the one given), its name this transfer's alone,
// deleted when the object goes, whatever became of the transfer.

#include <string>

class CTransferFile {
public:
    explicit CTransferFile(const wchar_t* extension = nullptr);
    CTransferFile(const CTransferFile&) = delete;
    CTransferFile& operator=(const CTransferFile&) = delete;
    ~CTransferFile();

    const std::wstring& Path() const { return m_path; }
    bool IsNamed() const { return !m_path.empty(); }

private:
    std::wstring m_path;
};

// The settings' download folder (update/folder, as stored).
std::wstring GetDownloadFolderUrl();
