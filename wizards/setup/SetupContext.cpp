// The setup's run state and its accessors.

#include "wizards/setup/SetupContext.h"

#include "foundation/WizardUtilities.h"
#include "wizards/common/MacroTable.h"
#include "wizards/common/ProductRegistry.h"
#include "wizards/common/WizardLanguages.h"
#include "wizards/setup/Components.h"

namespace {

std::unique_ptr<SetupContext>& ContextSlot()
{
    static std::unique_ptr<SetupContext> context = std::make_unique<SetupContext>();
    return context;
}

SetupMessageBoxFunc& MessageBoxSlot()
{
    static SetupMessageBoxFunc function = &::MessageBoxW;
    return function;
}

} // namespace

SetupContext& GetSetupContext()
{
    return *ContextSlot();
}

void ResetSetupContext()
{
    ContextSlot() = std::make_unique<SetupContext>();
}

bool IsUninstallMode()
{
    return GetSetupContext().uninstall;
}

bool IsUpdateMode()
{
    return GetSetupContext().update;
}

bool IsRecorderEdition()
{
    return GetSetupContext().recorder;
}

bool IsUserOnly()
{
    return GetSetupContext().useronly;
}

bool IsBusy()
{
    return GetSetupContext().busy;
}

bool IsDone()
{
    return GetSetupContext().done;
}

bool GetLaunchFlag()
{
    return GetSetupContext().launch;
}

bool ShouldStartProgram()
{
    const SetupContext& context = GetSetupContext();
    return !context.uninstall && context.done && context.launch && context.whole;
}

void SetLaunchFlag(bool launch)
{
    GetSetupContext().launch = launch;
}

const std::wstring& GetInstallFolder()
{
    return GetSetupContext().installFolder;
}

void SetInstallFolder(const std::wstring& folder)
{
    GetSetupContext().installFolder = folder;
    SetMacro(L"#InstallDir#", folder);
}

const std::wstring& GetUninstallFolder()
{
    return GetSetupContext().uninstallFolder;
}

void SetUninstallFolder(const std::wstring& folder)
{
    GetSetupContext().uninstallFolder = KV::JoinPath(folder, L"\\");
}

ComponentList& GetComponentList()
{
    return GetSetupContext().components;
}

CUpdateDlg* GetUpdateDlg()
{
    return GetSetupContext().updateDlg;
}

void SetUpdateDlg(CUpdateDlg* dialog)
{
    GetSetupContext().updateDlg = dialog;
}

std::wstring GetProductRegValue(const wchar_t* name, const std::wstring& defaultValue)
{
    return ReadProductRegValue(name, defaultValue, ProductKeyAccess);
}

bool IsVersionAllowed()
{
    const SetupContext& context = GetSetupContext();
    return KV::CompareVersions(context.packageVersion.c_str(), context.installedVersion.c_str()) >= 0;
}

int ShowMessage(HWND owner, const char* textId, const char* captionId, UINT flags)
{
    return SetupMessageBox(owner, GetLanguageText(textId).c_str(), GetLanguageText(captionId).c_str(), flags);
}

SetupMessageBoxFunc SetSetupMessageBox(SetupMessageBoxFunc function)
{
    SetupMessageBoxFunc previous = MessageBoxSlot();
    MessageBoxSlot() = function ? function : &::MessageBoxW;
    return previous;
}

int SetupMessageBox(HWND owner, const wchar_t* text, const wchar_t* caption, UINT flags)
{
    return MessageBoxSlot()(owner, text, caption, flags);
}
