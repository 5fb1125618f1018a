#include "player/app/StartUp.h"

#include "foundation/Lang.h"
#include "foundation/RegistryKey.h"
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
        const std::wstring catalogue = KV::GetProgramFile(L"Channels.brsc");
        ::MoveFileExW(text.c_str(), catalogue.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_COPY_ALLOWED);
        ::RegDeleteValueW(key.Get(), L"CUpdate");
        std::wstring version;
        if (ReadString(key.Get(), L"CUpdateVersion", version))
            WriteString(key.Get(), L"CVersion", version);
        ::RegDeleteValueW(key.Get(), L"CUpdateVersion");
    }

    std::wstring setup;
    if (!ReadString(key.Get(), L"Update", setup))
        return false;
    ::RegDeleteValueW(key.Get(), L"Update");
    ::RegDeleteValueW(key.Get(), L"UpdateVersion");
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
        mainWindow->ShowWindow(CSettings::GetBool("main_visible", true) ? SW_SHOW : SW_HIDE);
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
