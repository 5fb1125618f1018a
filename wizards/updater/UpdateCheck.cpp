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
#include "wizards/updater/WorkerThread.h"

#include <memory>

namespace {

constexpr const wchar_t* DescriptorEntryName = L"update";
constexpr const wchar_t* ChannelListDescriptorName = L"cupdate.dat";

std::wstring GetCheckUrl()
{
    if (IsChannelListUpdater())
        return GetDownloadFolderUrl() + ChannelListDescriptorName;
    const KV::DataKey* update = GetProductSettings().GetKey("update");
    return GetDownloadFolderUrl() + (update ? update->GetStringW("file", std::wstring()) : std::wstring());
}

// The descriptor in the fetched file; null when it holds none.
std::unique_ptr<KV::DataKey> ReadDescriptor(const std::wstring& file)
{
    if (IsChannelListUpdater()) {
        auto tree = std::make_unique<KV::DataKey>();
        if (!tree->Load(file))
            return nullptr;
        return tree;
    }
    ZipArchive archive;
    if (!archive.Open(file.c_str()))
        return nullptr;
    std::unique_ptr<KV::DataKey> tree = archive.LoadDataKey(DescriptorEntryName);
    archive.Close();
    return tree;
}

unsigned __stdcall CheckThread(void* argument)
{
    CWorkerScope scope;
    const CheckOutcome outcome = RunCheck();
    if (outcome != CheckOutcome::Cancelled)
        ReportToPage(static_cast<HWND>(argument), WM_UPDATER_CHECK_DONE, static_cast<WPARAM>(outcome));
    return 0;
}

} // namespace

bool IsUpdateOffered(const std::wstring& newVersion, const std::wstring& installedVersion,
                     const std::wstring& pendingVersion)
{
    return KV::CompareVersions(newVersion.c_str(), installedVersion.c_str()) > 0 &&
           KV::CompareVersions(newVersion.c_str(), pendingVersion.c_str()) > 0;
}

CheckOutcome RunCheck()
{
    UpdaterContext& context = GetUpdaterContext();
    context.updateError = UpdateErrorNone;

    CTransferFile temporary;
    CCallback callback(context.cancel, nullptr);
    const bool fetched = temporary.IsNamed() && DownloadUrlToFile(GetCheckUrl(), temporary.Path(), callback);
    if (context.cancel)
        return CheckOutcome::Cancelled;
    if (!fetched) {
        context.updateError = UpdateErrorCheck;
        return CheckOutcome::Failed;
    }

    if (std::unique_ptr<KV::DataKey> descriptor = ReadDescriptor(temporary.Path())) {
        context.newVersion = WidenAnsi(descriptor->GetName());
        context.descriptor = std::move(descriptor);
    }
    return IsUpdateOffered(context.newVersion, context.installedVersion, context.pendingVersion)
               ? CheckOutcome::Offered
               : CheckOutcome::NoUpdate;
}

bool StartCheck(HWND reportWindow)
{
    return StartWorker(&CheckThread, reportWindow);
}
