// The download of an offered update and its worker.

#include "wizards/updater/UpdateDownload.h"

#include "foundation/DataKey.h"
#include "foundation/ZipArchive.h"
#include "wizards/updater/DownloadCallback.h"
#include "wizards/updater/TransferFile.h"
#include "wizards/updater/UpdaterContext.h"
#include "wizards/updater/UpdaterMessages.h"
#include "wizards/updater/UpdaterRegistry.h"
#include "wizards/updater/WorkerThread.h"

#include <shlwapi.h>

namespace {

constexpr const wchar_t* ChannelArchiveName = L"channels.zip";
constexpr const wchar_t* ChannelListFileName = L"Channels.brsc";
// The catalogue is extracted beside its target first, so that a damaged
// archive leaves an earlier download in place.
constexpr const wchar_t* PartialSuffix = L".part";

constexpr DWORD MoveFlags = MOVEFILE_COPY_ALLOWED | MOVEFILE_REPLACE_EXISTING;

// The name the server gives the file, below the download folder.
std::wstring GetServerFileName()
{
    if (IsChannelListUpdater())
        return ChannelArchiveName;
    const UpdaterContext& context = GetUpdaterContext();
    return context.descriptor ? context.descriptor->GetStringW("file", std::wstring()) : std::wstring();
}

std::wstring GetTargetFileName()
{
    return IsChannelListUpdater() ? std::wstring(ChannelListFileName) : GetServerFileName();
}

// Puts the transferred file in place as target.
bool PlaceDownload(const std::wstring& transferred, const std::wstring& target)
{
    if (!IsChannelListUpdater())
        return ::MoveFileExW(transferred.c_str(), target.c_str(), MoveFlags) != FALSE;

    const std::wstring partial = target + PartialSuffix;
    ZipArchive archive;
    bool extracted = archive.Open(transferred.c_str()) && archive.ExtractEntry(partial.c_str(), ChannelListFileName);
    archive.Close();
    if (extracted)
        extracted = ::MoveFileExW(partial.c_str(), target.c_str(), MoveFlags) != FALSE;
    if (!extracted)
        ::DeleteFileW(partial.c_str());
    return extracted;
}

unsigned __stdcall DownloadThread(void* argument)
{
    CWorkerScope scope;
    HWND page = static_cast<HWND>(argument);
    const DownloadOutcome outcome = RunDownload(page);
    if (outcome != DownloadOutcome::Cancelled)
        ReportToPage(page, WM_UPDATER_DOWNLOAD_DONE, static_cast<WPARAM>(outcome));
    return 0;
}

} // namespace

bool IsPlainFileName(const std::wstring& name)
{
    if (name.empty() || name == L"." || name == L"..")
        return false;
    return name.find_first_of(L"\\/:") == std::wstring::npos;
}

std::wstring GetDownloadTarget()
{
    const std::wstring name = GetTargetFileName();
    if (!IsPlainFileName(name))
        return std::wstring();
    wchar_t path[MAX_PATH] = L"";
    const std::wstring& folder = GetUpdaterContext().updatesFolder;
    if (folder.size() >= MAX_PATH)
        return std::wstring();
    folder.copy(path, folder.size());
    if (!::PathAppendW(path, name.c_str()))
        return std::wstring();
    return path;
}

DownloadOutcome RunDownload(HWND progressWindow)
{
    UpdaterContext& context = GetUpdaterContext();
    CCallback callback(context.cancel, progressWindow);
    context.updateError = UpdateErrorNone;

    const std::wstring target = GetDownloadTarget();
    CTransferFile temporary;
    bool done = !target.empty() && temporary.IsNamed();
    if (done) {
        ::CreateDirectoryW(context.updatesFolder.c_str(), nullptr);
        done = DownloadUrlToFile(GetDownloadFolderUrl() + GetServerFileName(), temporary.Path(), callback);
    }
    if (context.cancel)
        return DownloadOutcome::Cancelled;
    if (done)
        done = PlaceDownload(temporary.Path(), target);
    if (!done) {
        context.updateError = UpdateErrorDownload;
        return DownloadOutcome::Failed;
    }

    const VariantTraits& traits = GetVariantTraits();
    SetProductRegValue(traits.downloadedFileValue, target);
    SetProductRegValue(traits.pendingVersionValue, context.newVersion);
    context.pendingVersion = context.newVersion;
    context.updated = true;
    return DownloadOutcome::Completed;
}

bool StartDownload(HWND pageWindow)
{
    return StartWorker(&DownloadThread, pageWindow);
}
