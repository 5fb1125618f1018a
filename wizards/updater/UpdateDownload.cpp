// The download of an offered update and its worker.

#include "wizards/updater/UpdateDownload.h"

#include "foundation/CatalogueScramble.h"
#include "foundation/DataKey.h"
#include "foundation/RegistryKey.h"
#include "foundation/SetupPackage.h"
#include "foundation/ZipArchive.h"
#include "wizards/common/FileHandle.h"
#include "wizards/common/ProductRegistry.h"
#include "wizards/common/RegistryValues.h"
#include "wizards/updater/DownloadCallback.h"
#include "wizards/updater/TransferFile.h"
#include "wizards/updater/UpdaterContext.h"
#include "wizards/updater/UpdaterMessages.h"
#include "wizards/updater/UrlTransfer.h"
#include "wizards/updater/WorkerThread.h"

#include <shlwapi.h>

#include <memory>

namespace {

constexpr const wchar_t* ChannelArchiveName = L"channels.zip";
constexpr const wchar_t* ChannelListFileName = L"Channels.brsc";
// The catalogue is extracted beside its target first, so that a damaged
// archive leaves an earlier download in place.
constexpr const wchar_t* PartialSuffix = L".part";
// The package is checked under an .exe name, as the player checks it.
constexpr const wchar_t* PackageTransferExtension = L"exe";

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

// Puts the transferred file in place as target when it is what was offered.
bool PlaceDownload(const std::wstring& transferred, const DownloadRequest& request)
{
    if (!IsChannelListUpdater()) {
        return KV::IsSetupPackage(transferred, request.newVersion) &&
               ::MoveFileExW(transferred.c_str(), request.target.c_str(), MoveFlags) != FALSE;
    }

    // The partial file is listed with the transfer files: a run that ends
    // (cancelled) while it is written deletes it, and it goes with the
    // handle below, at the latest with the process; on every other way out
    // its object deletes what is left of it. Both files are open shared for
    // deletion, so that the end of the run can take them meanwhile.
    const CTransferFile partial(CTransferFile::ListedPath{request.target + PartialSuffix});
    bool extracted = false;
    {
        CFileHandle source(OpenTransferFileForReading(transferred));
        CFileHandle written(CreateTransferFileForWriting(partial.Path()));
        ZipArchive archive;
        extracted = source.IsValid() && written.IsValid() && archive.OpenHandle(source.Get()) &&
                    archive.ExtractEntryToHandle(written.Get(), ChannelListFileName, MaxCatalogueFileBytes);
        archive.Close();
    }
    return extracted && IsCatalogueFile(partial.Path()) &&
           ::MoveFileExW(partial.Path().c_str(), request.target.c_str(), MoveFlags) != FALSE;
}

std::atomic<RegistryStringWriter>& RecordWriter()
{
    static std::atomic<RegistryStringWriter> writer{&SetRegString};
    return writer;
}

// Both values or neither. The version goes first, as the player acts on the
// file value and checks the file against the version; when the file value
// cannot follow, the version goes back to what it was (or away).
bool RecordDownload(const DownloadRequest& request)
{
    if (!request.registryRoot)
        return false;
    KV::RegistryKey key(request.registryRoot, request.registryKey.c_str(), ProductKeyAccess);
    if (!key)
        return false;
    const VariantTraits& traits = GetVariantTraits();
    const RegistryStringWriter writer = RecordWriter();
    // A write that throws has failed like one that says so, so that the
    // version goes back even then.
    const auto write = [writer](HKEY handle, const wchar_t* name, const std::wstring& text) {
        try {
            return writer(handle, name, text);
        } catch (...) {
            return false;
        }
    };
    std::wstring previous;
    const bool hadPrevious = QueryRegString(key.Get(), traits.pendingVersionValue, ProductValueCapacity, previous);
    if (!write(key.Get(), traits.pendingVersionValue, request.newVersion))
        return false;
    if (write(key.Get(), traits.downloadedFileValue, request.target))
        return true;
    if (!hadPrevious || !write(key.Get(), traits.pendingVersionValue, previous))
        ::RegDeleteValueW(key.Get(), traits.pendingVersionValue);
    return false;
}

unsigned __stdcall DownloadThread(void* argument)
{
    CWorkerScope scope;
    const std::unique_ptr<CWorkerJob<DownloadRequest>> job(static_cast<CWorkerJob<DownloadRequest>*>(argument));
    const DownloadOutcome outcome = PerformDownload(job->request, GetCancelFlag(), job->window);
    if (outcome != DownloadOutcome::Cancelled && !IsRaised(job->request.abandoned))
        ReportToPage(job->window, WM_UPDATER_DOWNLOAD_DONE, static_cast<WPARAM>(outcome));
    return 0;
}

} // namespace

RegistryStringWriter SetDownloadRecordWriter(RegistryStringWriter writer)
{
    return RecordWriter().exchange(writer ? writer : &SetRegString);
}

bool IsPlainFileName(const std::wstring& name)
{
    if (name.empty() || name == L"." || name == L"..")
        return false;
    return name.find_first_of(L"\\/:") == std::wstring::npos;
}

std::wstring GetDownloadTarget()
{
    const std::wstring name = GetTargetFileName();
    if (!IsPlainFileName(name) || (!IsChannelListUpdater() && !KV::IsSetupPackageName(name)))
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

DownloadRequest MakeDownloadRequest()
{
    const UpdaterContext& context = GetUpdaterContext();
    DownloadRequest request;
    request.url = GetDownloadFolderUrl() + GetServerFileName();
    request.target = GetDownloadTarget();
    request.updatesFolder = context.updatesFolder;
    request.newVersion = context.newVersion;
    if (!GetProductKey(request.registryRoot, request.registryKey))
        request.registryRoot = nullptr;
    return request;
}

namespace {

DownloadOutcome DownloadAndRecord(const DownloadRequest& request, const std::atomic<bool>& cancel, HWND progressWindow)
{
    CCallback callback(cancel, progressWindow, request.abandoned.get());
    CTransferFile temporary(IsChannelListUpdater() ? nullptr : PackageTransferExtension);
    bool done = !request.target.empty() && temporary.IsNamed();
    if (done) {
        ::CreateDirectoryW(request.updatesFolder.c_str(), nullptr);
        done = DownloadUrlToFile(request.url, temporary.Path(), callback);
    }
    if (cancel)
        return DownloadOutcome::Cancelled;
    // The page stopped waiting and said the step failed: so it stays.
    if (IsRaised(request.abandoned))
        return DownloadOutcome::Failed;
    if (done)
        done = PlaceDownload(temporary.Path(), request) && RecordDownload(request);
    return done ? DownloadOutcome::Completed : DownloadOutcome::Failed;
}

} // namespace

DownloadOutcome PerformDownload(const DownloadRequest& request, const std::atomic<bool>& cancel,
                                HWND progressWindow)
{
    // It runs on a worker thread, where nothing thrown may leave: a download
    // that fails so (out of memory) is a failed one, its file gone with it.
    try {
        return DownloadAndRecord(request, cancel, progressWindow);
    } catch (...) {
        return cancel ? DownloadOutcome::Cancelled : DownloadOutcome::Failed;
    }
}

void ApplyDownloadOutcome(DownloadOutcome outcome)
{
    UpdaterContext& context = GetUpdaterContext();
    context.updateError = outcome == DownloadOutcome::Failed ? UpdateErrorDownload : UpdateErrorNone;
    if (outcome == DownloadOutcome::Completed) {
        context.pendingVersion = context.newVersion;
        context.updated = true;
    }
}

DownloadOutcome RunDownload(HWND progressWindow)
{
    GetUpdaterContext().updateError = UpdateErrorNone;
    const DownloadOutcome outcome = PerformDownload(MakeDownloadRequest(), GetCancelFlag(), progressWindow);
    if (outcome != DownloadOutcome::Cancelled)
        ApplyDownloadOutcome(outcome);
    return outcome;
}

bool StartDownload(HWND pageWindow, StepFlag abandoned)
{
    GetUpdaterContext().updateError = UpdateErrorNone;
    DownloadRequest request = MakeDownloadRequest();
    request.abandoned = std::move(abandoned);
    return StartWorker(&DownloadThread, std::move(request), pageWindow);
}
