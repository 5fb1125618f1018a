// The install and uninstall work.

#include "wizards/setup/InstallWorker.h"

#include "foundation/DataKey.h"
#include "wizards/common/ProductSettings.h"
#include "framework/Thread.h"
#include "wizards/common/WizardLanguages.h"
#include "wizards/setup/Components.h"
#include "wizards/setup/InstallingPage.h"
#include "wizards/setup/RegistrySteps.h"
#include "wizards/setup/SetupContext.h"
#include "wizards/setup/UpdateDlg.h"

#include <windows.h>

namespace {

// The pause that lets the completion line be read.
constexpr DWORD CompletedPause = 400;

unsigned __stdcall InstallWorkerThread(void*)
{
    return InstallWorker();
}

void SetProgressRange(uint32_t range)
{
    if (IsUpdateMode()) {
        if (CUpdateDlg* dialog = GetUpdateDlg())
            dialog->SetRange(range);
    } else if (CInstallingPage* page = CInstallingPage::GetInstance()) {
        page->SetRange(range);
    }
}

std::wstring Line(const std::wstring& label, const std::wstring& path)
{
    return label + L" " + path;
}

void InstallBranch()
{
    SetupContext& context = GetSetupContext();
    KV::DataKey& settings = GetProductSettings();
    SetProgressRange(settings.GetUInt("fcount", 0));

    if (const KV::DataKey* files = settings.GetKey("files"))
        context.archive.ExtractFiles(context.installFolder, *files);
    for (const auto& component : context.components) {
        if (component->IsChecked())
            component->Install();
    }
    if (const KV::DataKey* reg = settings.GetKey("reg"))
        WriteRegistry(*reg);

    LogAddFile(context.logPath);
    context.log.Save(context.logPath);
}

void UninstallBranch()
{
    SetupContext& context = GetSetupContext();
    const std::wstring deleteDir = GetLanguageText("tDelDir");
    const std::wstring deleteFile = GetLanguageText("tDelFile");
    const uint32_t fileCount = context.log.GetFileCount();
    const uint32_t dirCount = context.log.GetDirCount();
    SetProgressRange(fileCount + dirCount);

    for (uint32_t i = 0; i < fileCount; ++i) {
        const std::wstring path = context.log.GetFile(i);
        ReportProgress(Line(deleteFile, path), true);
        ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        ::DeleteFileW(path.c_str());
    }
    // Folders were logged parent first: the deepest go first.
    for (uint32_t i = dirCount; i > 0; --i) {
        const std::wstring path = context.log.GetDir(i - 1);
        ReportProgress(Line(deleteDir, path), true);
        ::RemoveDirectoryW(path.c_str());
    }
    if (const KV::DataKey* reg = GetProductSettings().GetKey("reg"))
        DeleteRegistry(*reg);
    // The desktop repaints without the removed shortcut.
    ::InvalidateRect(::GetDesktopWindow(), nullptr, FALSE);
}

} // namespace

void StartInstallWorker()
{
    SetupContext& context = GetSetupContext();
    context.busy = true;
    if (!StartThread(&InstallWorkerThread).IsStarted())
        context.busy = false;
}

unsigned InstallWorker()
{
    SetupContext& context = GetSetupContext();
    context.busy = true;
    if (context.uninstall)
        UninstallBranch();
    else
        InstallBranch();

    ReportProgress(GetLanguageText("tCompleted"), true);
    ::Sleep(CompletedPause);
    context.busy = false;
    context.done = true;
    if (IsUpdateMode()) {
        if (CUpdateDlg* dialog = GetUpdateDlg())
            dialog->Finish();
    } else if (CInstallingPage* page = CInstallingPage::GetInstance()) {
        page->GoNext();
    }
    return 0;
}

void ReportProgress(const std::wstring& line, bool advance)
{
    if (IsUpdateMode()) {
        if (CUpdateDlg* dialog = GetUpdateDlg())
            dialog->Step(advance);
        return;
    }
    if (CInstallingPage* page = CInstallingPage::GetInstance())
        page->AddLine(line, advance);
}
