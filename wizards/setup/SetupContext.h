#pragma once
// The setup's run state: one instance, owned by the UI thread and freed by
// ExitCleanup. The install worker reads it and writes only the busy and done
// flags.

#include "wizards/common/ArchiveTrailer.h"
#include "wizards/common/FileHandle.h"
#include "wizards/setup/SetupArchive.h"
#include "wizards/setup/UninstallLog.h"
#include "wizards/setup/UninstallScope.h"

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class CComponent;
class CUpdateDlg;

using ComponentList = std::vector<std::unique_ptr<CComponent>>;

struct SetupContext {
    // The program's own file, open for reading for the whole run, and the
    // archive read through it.
    CFileHandle ownFile;
    CSetupArchive archive;
    ArchiveTrailer trailer;

    ComponentList components;
    UninstallLog log;
    std::wstring logPath;
    // Where the uninstall may delete what the log lists.
    CUninstallScope uninstallScope;

    std::wstring installFolder;
    std::wstring uninstallFolder;
    std::wstring installedVersion;
    std::wstring packageVersion;

    std::atomic<bool> busy{false};
    std::atomic<bool> done{false};
    // Set by the install worker before done: whether every package file is
    // in place, freshly written or, where a write failed, as an earlier
    // install left it.
    std::atomic<bool> whole{true};
    bool uninstall = false;
    bool update = false;
    bool useronly = false;
    bool recorder = false;
    bool launch = true;

    CUpdateDlg* updateDlg = nullptr;
};

SetupContext& GetSetupContext();
// Everything back to the state before the start (closes the own file).
void ResetSetupContext();

bool IsUninstallMode();
bool IsUpdateMode();
bool IsRecorderEdition();
bool IsUserOnly();
bool IsBusy();
bool IsDone();
bool GetLaunchFlag();
// The exit step starts the program: a finished install (not an uninstall)
// with the launch flag set whose files are all in place.
bool ShouldStartProgram();
void SetLaunchFlag(bool launch);

const std::wstring& GetInstallFolder();
// Also the macro #InstallDir#.
void SetInstallFolder(const std::wstring& folder);
// Ends in a backslash.
const std::wstring& GetUninstallFolder();
// The folder as the uninstall copy's command line gives it; a backslash is
// added.
void SetUninstallFolder(const std::wstring& folder);

ComponentList& GetComponentList();
CUpdateDlg* GetUpdateDlg();
void SetUpdateDlg(CUpdateDlg* dialog);

// A value of the product key (read with the setup's access), or defaultValue.
std::wstring GetProductRegValue(const wchar_t* name, const std::wstring& defaultValue);
// An equal or newer package may install over the installed version.
bool IsVersionAllowed();

// The setup's message boxes: text and caption are language texts.
int ShowMessage(HWND owner, const char* textId, const char* captionId, UINT flags);

// Every message box of the setup goes through this function (MessageBoxW
// unless replaced); the previous one is returned.
using SetupMessageBoxFunc = int(WINAPI*)(HWND owner, const wchar_t* text, const wchar_t* caption, UINT flags);
SetupMessageBoxFunc SetSetupMessageBox(SetupMessageBoxFunc function);
int SetupMessageBox(HWND owner, const wchar_t* text, const wchar_t* caption, UINT flags);
