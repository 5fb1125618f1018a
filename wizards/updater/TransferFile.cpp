// Temporary files of the transfers.

#include "wizards/updater/TransferFile.h"

#include "foundation/DataKey.h"
#include "foundation/WizardUtilities.h"
#include "wizards/common/ProductSettings.h"

#include <algorithm>
#include <mutex>
#include <utility>
#include <vector>

namespace {

// The transfer files that exist, and whether the run still makes new ones.
// Never destroyed: a worker may still use it while the process ends.
struct TransferFileList {
    struct Entry {
        std::wstring path;
        // Deleted by the end of its run: the name is no longer this
        // transfer's, and the file is not made again.
        bool swept;
    };
    std::mutex lock;
    std::vector<Entry> entries;
    bool ended = false;

    std::vector<Entry>::iterator Find(const std::wstring& path)
    {
        return std::find_if(entries.begin(), entries.end(),
                            [&](const Entry& entry) { return !entry.swept && entry.path == path; });
    }
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
        files.entries.push_back(TransferFileList::Entry{m_path, false});
}

CTransferFile::CTransferFile(ListedPath listed)
{
    TransferFileList& files = Files();
    const std::lock_guard<std::mutex> guard(files.lock);
    if (files.ended || listed.path.empty())
        return;
    m_path = std::move(listed.path);
    files.entries.push_back(TransferFileList::Entry{m_path, false});
}

CTransferFile::~CTransferFile()
{
    if (m_path.empty())
        return;
    TransferFileList& files = Files();
    const std::lock_guard<std::mutex> guard(files.lock);
    const auto found = files.Find(m_path);
    if (found != files.entries.end()) {
        ::DeleteFileW(m_path.c_str());
        files.entries.erase(found);
        return;
    }
    // Swept by the end of the run; the name may already be another's.
    const auto swept = std::find_if(files.entries.begin(), files.entries.end(),
                                    [&](const TransferFileList::Entry& entry) { return entry.path == m_path; });
    if (swept != files.entries.end())
        files.entries.erase(swept);
}

HANDLE CreateTransferFileForWriting(const std::wstring& path)
{
    TransferFileList& files = Files();
    const std::lock_guard<std::mutex> guard(files.lock);
    if (files.ended || files.Find(path) == files.entries.end())
        return INVALID_HANDLE_VALUE;
    return ::CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_DELETE, nullptr, CREATE_ALWAYS,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
}

HANDLE OpenTransferFileForReading(const std::wstring& path)
{
    return ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
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
    // A file a worker still reads (opened without delete sharing) stays
    // listed, and goes when that worker lets it go.
    for (TransferFileList::Entry& entry : files.entries) {
        if (!entry.swept && (::DeleteFileW(entry.path.c_str()) || ::GetLastError() == ERROR_FILE_NOT_FOUND))
            entry.swept = true;
    }
}

std::wstring GetDownloadFolderUrl()
{
    const KV::DataKey* update = GetProductSettings().GetKey("update");
    return update ? update->GetStringW("folder", std::wstring()) : std::wstring();
}
