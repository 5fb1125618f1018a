// The update check and its worker.

#include "wizards/updater/UpdateCheck.h"

#include "foundation/DataKey.h"
#include "foundation/WizardUtilities.h"
#include "foundation/ZipArchive.h"
#include "wizards/common/ProductSettings.h"
#include "wizards/common/Text.h"
#include "wizards/updater/DownloadCallback.h"
#include "wizards/updater/TransferFile.h"
#include "wizards/updater/UpdaterContext.h"
#include "wizards/updater/UpdaterMessages.h"
#include "wizards/updater/UrlTransfer.h"
#include "wizards/updater/WorkerThread.h"

#include <new>

namespace {

constexpr const wchar_t* DescriptorEntryName = L"update";
constexpr const wchar_t* ChannelListDescriptorName = L"cupdate.dat";
// A descriptor names a version and a file; an entry larger than this is no
// descriptor, however well it would inflate.
constexpr uint32_t MaxDescriptorEntryBytes = 1024 * 1024;

std::wstring GetCheckUrl()
{
    if (IsChannelListUpdater())
        return GetDownloadFolderUrl() + ChannelListDescriptorName;
    const KV::DataKey* update = GetProductSettings().GetKey("update");
    return GetDownloadFolderUrl() + (update ? update->GetStringW("file", std::wstring()) : std::wstring());
}

// The descriptor in the fetched file; null when it holds none, and then
// outOfMemory tells whether it could not be read for want of memory (the
// check has then failed rather than found nothing).
std::unique_ptr<KV::DataKey> ReadDescriptor(const std::wstring& file, bool& outOfMemory)
{
    outOfMemory = false;
    if (IsChannelListUpdater()) {
        KV::DataKey::ReadResult result = KV::DataKey::ReadResult::OutOfMemory;
        try {
            auto tree = std::make_unique<KV::DataKey>();
            result = tree->LoadFile(file);
            if (result == KV::DataKey::ReadResult::Read)
                return tree;
        } catch (const std::bad_alloc&) {
        }
        outOfMemory = result == KV::DataKey::ReadResult::OutOfMemory;
        return nullptr;
    }
    ZipArchive archive;
    if (!archive.Open(file.c_str()))
        return nullptr;
    std::unique_ptr<KV::DataKey> tree = archive.LoadDataKey(DescriptorEntryName, &outOfMemory, MaxDescriptorEntryBytes);
    archive.Close();
    return tree;
}

unsigned __stdcall CheckThread(void* argument)
{
    CWorkerScope scope;
    const std::unique_ptr<CWorkerJob<CheckRequest>> job(static_cast<CWorkerJob<CheckRequest>*>(argument));
    CheckResult result = PerformCheck(job->request, GetCancelFlag());
    if (result.outcome != CheckOutcome::Cancelled && !IsRaised(job->request.abandoned))
        ReportToPage(job->window, WM_UPDATER_CHECK_DONE, static_cast<WPARAM>(result.outcome),
                     reinterpret_cast<LPARAM>(&result));
    return 0;
}

} // namespace

CheckResult::CheckResult() = default;
CheckResult::~CheckResult() = default;
CheckResult::CheckResult(CheckResult&&) noexcept = default;
CheckResult& CheckResult::operator=(CheckResult&&) noexcept = default;

bool IsUpdateOffered(const std::wstring& newVersion, const std::wstring& installedVersion,
                     const std::wstring& pendingVersion)
{
    return KV::CompareVersions(newVersion.c_str(), installedVersion.c_str()) > 0 &&
           KV::CompareVersions(newVersion.c_str(), pendingVersion.c_str()) > 0;
}

CheckRequest MakeCheckRequest()
{
    const UpdaterContext& context = GetUpdaterContext();
    return CheckRequest{GetCheckUrl(), context.installedVersion, context.pendingVersion, context.newVersion, nullptr};
}

namespace {

CheckResult FetchAndCompare(const CheckRequest& request, const std::atomic<bool>& cancel)
{
    CheckResult result;
    result.newVersion = request.newVersion;

    CTransferFile temporary;
    CCallback callback(cancel, nullptr, request.abandoned.get());
    const bool fetched = temporary.IsNamed() && DownloadUrlToFile(request.url, temporary.Path(), callback);
    if (cancel) {
        result.outcome = CheckOutcome::Cancelled;
        return result;
    }
    if (!fetched) {
        result.outcome = CheckOutcome::Failed;
        return result;
    }

    bool outOfMemory = false;
    result.descriptor = ReadDescriptor(temporary.Path(), outOfMemory);
    if (outOfMemory) {
        result.outcome = CheckOutcome::Failed;
        return result;
    }
    if (result.descriptor)
        result.newVersion = WidenAnsi(result.descriptor->GetName());
    result.outcome = IsUpdateOffered(result.newVersion, request.installedVersion, request.pendingVersion)
                         ? CheckOutcome::Offered
                         : CheckOutcome::NoUpdate;
    return result;
}

} // namespace

CheckResult PerformCheck(const CheckRequest& request, const std::atomic<bool>& cancel)
{
    // As the download: on its worker thread, a check that throws has failed.
    try {
        return FetchAndCompare(request, cancel);
    } catch (...) {
        CheckResult failed;
        failed.outcome = cancel ? CheckOutcome::Cancelled : CheckOutcome::Failed;
        return failed;
    }
}

void ApplyCheckResult(CheckResult& result)
{
    UpdaterContext& context = GetUpdaterContext();
    context.updateError = result.outcome == CheckOutcome::Failed ? UpdateErrorCheck : UpdateErrorNone;
    if (result.descriptor) {
        context.newVersion = result.newVersion;
        context.descriptor = std::move(result.descriptor);
    }
}

CheckOutcome RunCheck()
{
    GetUpdaterContext().updateError = UpdateErrorNone;
    CheckResult result = PerformCheck(MakeCheckRequest(), GetCancelFlag());
    if (result.outcome != CheckOutcome::Cancelled)
        ApplyCheckResult(result);
    return result.outcome;
}

bool StartCheck(HWND reportWindow, StepFlag abandoned)
{
    GetUpdaterContext().updateError = UpdateErrorNone;
    CheckRequest request = MakeCheckRequest();
    request.abandoned = std::move(abandoned);
    return StartWorker(&CheckThread, std::move(request), reportWindow);
}
