// Setupkit's start.

#include "wizards/setup/SetupMain.h"

#include "foundation/RegistryKey.h"
#include "foundation/WizardUtilities.h"
#include "framework/AppModule.h"
#include "wizards/common/ArchiveTrailer.h"
#include "wizards/common/RegistryValues.h"
#include "wizards/setup/ProcessStart.h"
#include "wizards/setup/SelfDelete.h"
#include "wizards/setup/SetupContext.h"

#include <commctrl.h>
#include <objbase.h>

#include <cwchar>

namespace {

constexpr const wchar_t* CompatibilityKey =
    L"Software\\Microsoft\\Windows NT\\CurrentVersion\\AppCompatFlags\\Compatibility Assistant\\Persisted";

class CLibrary {
public:
    explicit CLibrary(const wchar_t* name) : m_module(::LoadLibraryW(name)) {}
    CLibrary(const CLibrary&) = delete;
    CLibrary& operator=(const CLibrary&) = delete;
    ~CLibrary()
    {
        if (m_module)
            ::FreeLibrary(m_module);
    }

private:
    HMODULE m_module;
};

} // namespace

void SetCompatibilityPersisted()
{
    KV::RegistryKey key(HKEY_CURRENT_USER, CompatibilityKey, 0x2001F);
    SetRegDword(key.Get(), KV::GetProgramPath().c_str(), 1);
}

bool StartUninstallCopy(const std::wstring& programPath, const std::wstring& programFolder)
{
    const std::wstring copy = KV::MakeTempFileName(L"kvu", 0, L"exe");
    if (copy.empty() || !::CopyFileW(programPath.c_str(), copy.c_str(), FALSE))
        return false;
    if (!WriteSetupModeValue(copy.c_str(), ModeUninstall))
        return false;
    wchar_t tempFolder[MAX_PATH] = L"";
    ::GetTempPathW(MAX_PATH, tempFolder);
    // Not through the shell: the temporary folder may hold a "%".
    return StartProgram(copy, L"\"" + copy + L"\" " + programFolder, tempFolder, SW_SHOWNORMAL);
}

int SetupMain(HINSTANCE instance, const wchar_t* commandLine, int show)
{
    SetCompatibilityPersisted();
    const std::wstring& programPath = KV::GetProgramPath();
    const wchar_t* arguments = commandLine ? commandLine : L"";
    SetupContext& context = GetSetupContext();

    const SetupMode mode = SetupModeFromValue(ReadSetupModeValue(programPath.c_str()));
    if (mode == ModeInstalledUninstaller) {
        StartUninstallCopy(programPath, KV::GetProgramFolder());
        return 0;
    }
    if (mode == ModeUninstall) {
        if (arguments[0] == L'\0') {
            SetupMessageBox(nullptr, L"Error launching installer", L"KVIS", MB_OK);
            return 0;
        }
        context.uninstall = true;
        SetUninstallFolder(arguments);
    }
    if (std::wcscmp(arguments, L"update") == 0)
        context.update = true;

    ::CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES | ICC_PROGRESS_CLASS | ICC_LISTVIEW_CLASSES |
                                                       ICC_TREEVIEW_CLASSES | ICC_STANDARD_CLASSES};
    ::InitCommonControlsEx(&controls);
    int result = 0;
    {
        CLibrary richEdit(L"RICHED20.DLL");
        AppModule().Init(instance);
        result = Run(arguments, show);
        AppModule().Term();
    }
    ::CoUninitialize();

    if (context.uninstall)
        ScheduleSelfDelete();
    return result;
}
