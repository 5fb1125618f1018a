#include "player/app/StartUp.h"

#include "foundation/CatalogueScramble.h"
#include "foundation/Lang.h"
#include "foundation/RegistryKey.h"
#include "foundation/SetupPackage.h"
#include "foundation/Skin.h"
#include "foundation/Utilities.h"
#include "framework/AppModule.h"
#include "framework/MessageLoop.h"
#include "player/app/MainDlg.h"
#include "player/app/Settings.h"
#include "player/app/KernelHandle.h"
#include "player/catalogue/SystemMessageBox.h"
#include "player/ui/BannerDlg.h"

#include <winsock2.h>
#include <windows.h>
#include <psapi.h>
#include <shellapi.h>
#include <shlwapi.h>

#include <memory>
#include <vector>

namespace {

// Room for the registry texts of the pending updates, in characters.
constexpr DWORD PendingValueCapacity = 1024;

bool ReadString(HKEY key, const wchar_t* name, std::wstring& text)
{
    std::vector<wchar_t> buffer(PendingValueCapacity + 1, L'\0');
    DWORD bytes = PendingValueCapacity * sizeof(wchar_t);
    DWORD type = 0;
    if (::RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()), &bytes) != ERROR_SUCCESS ||
        type != REG_SZ)
        return false;
    // The stored text need not carry its terminator.
    buffer[bytes / sizeof(wchar_t)] = L'\0';
    text = buffer.data();
    return true;
}

void WriteString(HKEY key, const wchar_t* name, const std::wstring& text)
{
    ::RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                     static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
}

// The full form of path (".." and "." resolved); empty when it has none.
std::wstring FullPath(const std::wstring& path)
{
    wchar_t full[MAX_PATH] = L"";
    const DWORD length = ::GetFullPathNameW(path.c_str(), MAX_PATH, full, nullptr);
    return length == 0 || length >= MAX_PATH ? std::wstring() : std::wstring(full);
}

// Whether file lies directly in the program's Updates folder, where the
// updaters put what they download: a path the registry names elsewhere is
// not the player's to move or run.
bool LiesInUpdatesFolder(const std::wstring& file)
{
    const std::wstring updates = FullPath(KV::GetProgramFile(L"Updates"));
    std::wstring folder = FullPath(file);
    const size_t slash = folder.find_last_of(L'\\');
    if (updates.empty() || slash == std::wstring::npos || slash + 1 == folder.size())
        return false;
    folder.erase(slash);
    return ::CompareStringOrdinal(folder.c_str(), -1, updates.c_str(), -1, TRUE) == CSTR_EQUAL;
}

// A downloaded catalogue replaces the one in use only when it is one; the
// new version is recorded only when it did.
bool MovePendingCatalogue(const std::wstring& pending)
{
    if (!LiesInUpdatesFolder(pending) || !IsCatalogueFile(pending))
        return false;
    const std::wstring catalogue = KV::GetProgramFile(L"Channels.brsc");
    return ::MoveFileExW(pending.c_str(), catalogue.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_COPY_ALLOWED) !=
           FALSE;
}

void StartSetup(const std::wstring& setupPath)
{
    const std::wstring quoted = L"\"" + setupPath + L"\"";
    std::vector<wchar_t> folder(setupPath.begin(), setupPath.end());
    folder.push_back(L'\0');
    ::PathRemoveFileSpecW(folder.data());
    ::ShellExecuteW(nullptr, nullptr, quoted.c_str(), L"update", folder.data(), SW_SHOWNORMAL);
}

} // namespace

int GetInstanceCount()
{
    DWORD processes[1024];
    DWORD bytes = 0;
    if (!::EnumProcesses(processes, sizeof(processes), &bytes))
        return 0;
    wchar_t ownPath[MAX_PATH] = {};
    if (::GetModuleFileNameW(nullptr, ownPath, MAX_PATH) == 0)
        return 0;
    const wchar_t* ownName = ::PathFindFileNameW(ownPath);

    int count = 0;
    for (DWORD i = 0; i < bytes / sizeof(DWORD); ++i) {
        CKernelHandle process(::OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processes[i]));
        if (!process)
            continue;
        wchar_t name[MAX_PATH] = {};
        if (::GetModuleBaseNameW(process.Get(), nullptr, name, MAX_PATH) > 0 && wcscmp(name, ownName) == 0)
            ++count;
    }
    return count;
}

bool ApplyPendingUpdates()
{
    KV::RegistryKey key(HKEY_CURRENT_USER, CSettings::GetProductKeyPath(), KEY_READ | KEY_WRITE);
    if (!key)
        return false;

    std::wstring text;
    if (ReadString(key.Get(), L"CUpdate", text)) {
        // Both pending values go in any case, so that a catalogue that could
        // not be put in place is offered and fetched again.
        std::wstring version;
        if (MovePendingCatalogue(text) && ReadString(key.Get(), L"CUpdateVersion", version))
            WriteString(key.Get(), L"CVersion", version);
        ::RegDeleteValueW(key.Get(), L"CUpdate");
        ::RegDeleteValueW(key.Get(), L"CUpdateVersion");
    }

    std::wstring setup;
    if (!ReadString(key.Get(), L"Update", setup))
        return false;
    std::wstring version;
    ReadString(key.Get(), L"UpdateVersion", version);
    ::RegDeleteValueW(key.Get(), L"Update");
    ::RegDeleteValueW(key.Get(), L"UpdateVersion");
    // Only a setup package of the recorded version, where the updater put it,
    // is run; anything else is dropped and the player starts normally.
    if (!LiesInUpdatesFolder(setup) || !KV::IsSetupPackage(setup, version))
        return false;
    StartSetup(setup);
    return true;
}

bool IsRunCommandLine(const wchar_t* commandLine)
{
    return commandLine != nullptr && wcscmp(commandLine, L"run") == 0;
}

void ShowAlreadyRunning()
{
    ShowSystemMessageBox(nullptr, L"Program already running!", L"Brisvane", MB_OK);
}

int Run(const wchar_t* commandLine, int showCommand)
{
    (void)commandLine;
    (void)showCommand;

    auto loop = std::make_unique<CMessageLoop>();
    AppModule().AddMessageLoop(loop.get());

    WSADATA winsock{};
    if (::WSAStartup(MAKEWORD(2, 2), &winsock) != 0) {
        AppModule().RemoveMessageLoop();
        return -1;
    }

    CSettings::Load(L"Settings.cfg");
    CSettings::SetAutostart(CSettings::GetAutostart());
    KV::Lang::Load(L"Languages.lngp");
    KV::Skin::Load(L"Resources.kvdt");
    ShowBanner();

    int result = 0;
    auto mainWindow = std::make_unique<CMainDlg>();
    if (mainWindow->Create(nullptr) != nullptr) {
        if (CSettings::GetBool("main_visible", true))
            mainWindow->ShowWindow(SW_SHOW);
        else
            mainWindow->HideToTray();
        result = loop->Run();
    } else {
        // The main window closes the splash at the end of its set-up.
        CloseBanner();
    }

    KV::Skin::Free();
    KV::Lang::Free();
    ::WSACleanup();
    AppModule().RemoveMessageLoop();
    mainWindow.reset();
    loop.reset();
    return result;
}
