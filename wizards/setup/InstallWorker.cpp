// The install and uninstall work.

#include "wizards/setup/InstallWorker.h"

#include "foundation/DataKey.h"
#include "wizards/common/MacroTable.h"
#include "wizards/common/ProductRegistry.h"
#include "wizards/common/ProductSettings.h"
#include "wizards/common/Text.h"
#include "wizards/common/WizardLanguages.h"
#include "wizards/common/WorkerThreadStarter.h"
#include "wizards/setup/Components.h"
#include "wizards/setup/InstallingPage.h"
#include "wizards/setup/RegistrySteps.h"
#include "wizards/setup/SetupContext.h"
#include "wizards/setup/UpdateDlg.h"

#include <windows.h>

#include <vector>

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

// The product's registry values as the settings list them. After a failed
// install the product keeps the version it had: a half-written product must
// not claim the new one, or an update would never be offered again. Its own
// Version value stays as it was, and every other value that names the
// version (the Add/Remove entry's), also through another macro's text,
// names the kept one.
void WriteProductRegistry(const KV::DataKey& reg, bool failed, const std::wstring& keptVersion)
{
    if (!failed) {
        WriteRegistry(reg);
        return;
    }
    KV::DataKey kept(reg);
    KV::DataKey* product = kept.GetKey("reg");
    if (KV::DataKey* values = product ? product->GetKey("values") : nullptr)
        values->DeleteValue(NarrowAnsi(RegValueVersion));
    MacroMap keptMacros = GetMacros();
    keptMacros[VersionMacro] = keptVersion;
    WriteRegistry(kept, keptMacros);
}

// The window the failure message belongs to: the silent update dialog or
// the wizard's frame.
HWND FailureOwner()
{
    if (IsUpdateMode()) {
        CUpdateDlg* dialog = GetUpdateDlg();
        return dialog ? dialog->m_hWnd : nullptr;
    }
    CInstallingPage* page = CInstallingPage::GetInstance();
    return page && page->m_hWnd ? ::GetAncestor(page->m_hWnd, GA_ROOT) : nullptr;
}

void ReportFailedFiles(const std::vector<std::wstring>& files)
{
    std::wstring text = GetLanguageText("msgInstallFailed") + L"\r\n";
    for (const std::wstring& file : files)
        text += L"\r\n" + file;
    SetupMessageBox(FailureOwner(), text.c_str(), GetLanguageText("error").c_str(), MB_OK | MB_ICONERROR);
}

void InstallBranch()
{
    SetupContext& context = GetSetupContext();
    KV::DataKey& settings = GetProductSettings();
    SetProgressRange(settings.GetUInt("fcount", 0));
    context.log.SaveOnEveryAdd(context.logPath);

    if (const KV::DataKey* files = settings.GetKey("files"))
        context.archive.ExtractFiles(context.installFolder, *files);
    const std::vector<std::wstring>& failedFiles = context.archive.GetFailedFiles();
    const bool failed = !failedFiles.empty();
    context.whole = context.archive.IsEveryFileUsable();

    for (const auto& component : context.components) {
        if (component->IsChecked())
            component->Install();
    }
    if (const KV::DataKey* reg = settings.GetKey("reg"))
        WriteProductRegistry(*reg, failed, context.installedVersion);

    LogAddFile(context.logPath);
    context.log.SaveOnEveryAdd(std::wstring());
    context.log.Save(context.logPath);
    if (failed)
        ReportFailedFiles(failedFiles);
}

void UninstallBranch()
{
    SetupContext& context = GetSetupContext();
    const std::wstring deleteDir = GetLanguageText("tDelDir");
    const std::wstring deleteFile = GetLanguageText("tDelFile");
    const uint32_t fileCount = context.log.GetFileCount();
    const uint32_t dirCount = context.log.GetDirCount();
    SetProgressRange(fileCount + dirCount);

    // Lines outside the product's own places, or reached through a link in
    // them, are skipped untouched: the log can be damaged or changed by
    // anyone who can write the program folder.
    const CUninstallScope& scope = context.uninstallScope;
    for (uint32_t i = 0; i < fileCount; ++i) {
        const std::wstring path = context.log.GetFile(i);
        if (!scope.MayDelete(path))
            continue;
        ReportProgress(Line(deleteFile, path), true);
        // Attributes set on a link would land on its target.
        if (!IsLinkAttributes(::GetFileAttributesW(path.c_str())))
            ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        ::DeleteFileW(path.c_str());
    }
    // Folders were logged parent first: the deepest go first. A folder that
    // is a link loses only the link.
    for (uint32_t i = dirCount; i > 0; --i) {
        const std::wstring path = context.log.GetDir(i - 1);
        if (!scope.MayDelete(path))
            continue;
        ReportProgress(Line(deleteDir, path), true);
        ::RemoveDirectoryW(path.c_str());
    }
    if (const KV::DataKey* reg = GetProductSettings().GetKey("reg"))
        DeleteRegistry(*reg);
    // The desktop repaints without the removed shortcut.
    ::InvalidateRect(::GetDesktopWindow(), nullptr, FALSE);
}

// Runs a branch; false when it threw (memory ran out, or a fault in one of
// its steps), which must end the run as a failed one, not the program.
bool RunBranch(void (*branch)())
{
    try {
        branch();
        return true;
    } catch (...) {
        return false;
    }
}

// A run that stopped before its work was done (its worker threw, or never
// started) says so; an install keeps what it logged so far (the log is
// saved at every add), lists the log itself, and starts no program.
void EndStoppedBranch()
{
    SetupContext& context = GetSetupContext();
    if (!context.uninstall) {
        context.whole = false;
        RunBranch([] {
            SetupContext& run = GetSetupContext();
            LogAddFile(run.logPath);
            run.log.SaveOnEveryAdd(std::wstring());
        });
    }
    SetupMessageBox(FailureOwner(), GetLanguageText(context.uninstall ? "msgUninstallStopped" : "msgInstallStopped").c_str(),
                    GetLanguageText("error").c_str(), MB_OK | MB_ICONERROR);
}

// What every run ends with: the completion line, the pause that lets it be
// read, and the finish page (or the end of the silent update dialog).
void EndRun()
{
    SetupContext& context = GetSetupContext();
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
}

} // namespace

bool StartInstallWorker()
{
    GetSetupContext().busy = true;
    return StartDetachedWorker(&InstallWorkerThread, nullptr);
}

void EndUnstartedInstallWorker()
{
    EndStoppedBranch();
    EndRun();
}

unsigned InstallWorker()
{
    SetupContext& context = GetSetupContext();
    context.busy = true;
    if (!RunBranch(context.uninstall ? &UninstallBranch : &InstallBranch))
        EndStoppedBranch();
    EndRun();
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
