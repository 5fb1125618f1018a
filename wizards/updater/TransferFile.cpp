// Temporary files of the transfers.

#include "wizards/updater/TransferFile.h"

#include "foundation/DataKey.h"
#include "foundation/WizardUtilities.h"
#include "wizards/common/ProductSettings.h"

#include <algorithm>
#include <mutex>
#include <vector>

namespace {

// The transfer files that exist, and whether the run still makes new ones.
// Never destroyed: a worker may still use it while the process ends.
struct TransferFileList {
    std::mutex lock;
    std::vector<std::wstring> paths;
    bool ended = false;
};

TransferFileList& Files()
{
    static TransferFileList* const files = new TransferFileList;
    return *files;
}

} // namespace

CTransferFile::CTransferFile(const wchar_t* extension)
{
    TransferFileList& files = Files();
    const std::lock_guard<std::mutex> guard(files.lock);
    if (files.ended)
        return;
    m_path = KV::MakeTempFileName(L"kvu", 0, extension);
    if (!m_path.empty())
        files.paths.push_back(m_path);
}

CTransferFile::~CTransferFile()
{
    if (m_path.empty())
        return;
    TransferFileList& files = Files();
    const std::lock_guard<std::mutex> guard(files.lock);
    ::DeleteFileW(m_path.c_str());
    const auto found = std::find(files.paths.begin(), files.paths.end(), m_path);
    if (found != files.paths.end())
        files.paths.erase(found);
}

HANDLE CreateTransferFileForWriting(const std::wstring& path)
{
    TransferFileList& files = Files();
    const std::lock_guard<std::mutex> guard(files.lock);
    if (files.ended)
        return INVALID_HANDLE_VALUE;
    return ::CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_DELETE, nullptr, CREATE_ALWAYS,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
}

void BeginTransferFiles()
{
    TransferFileList& files = Files();
    const std::lock_guard<std::mutex> guard(files.lock);
    files.ended = false;
}

void EndTransferFiles()
{
    TransferFileList& files = Files();
    const std::lock_guard<std::mutex> guard(files.lock);
    files.ended = true;
    for (const std::wstring& path : files.paths)
        ::DeleteFileW(path.c_str());
}

std::wstring GetDownloadFolderUrl()
{
    const KV::DataKey* update = GetProductSettings().GetKey("update");
    return update ? update->GetStringW("folder", std::wstring()) : std::wstring();
}
