#include "tests/player/ProgramDriver.h"

#include "foundation/Utilities.h"

#include <shlobj.h>

namespace PlayerTest {
namespace {

constexpr UINT ExitCommand = 32820;

struct WindowSearch {
    DWORD processId;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectWindowOf(HWND window, LPARAM param)
{
    auto& search = *reinterpret_cast<WindowSearch*>(param);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(window, &owner);
    if (owner == search.processId)
        search.found.push_back(window);
    return TRUE;
}

struct DescendantSearch {
    int controlId;
    HWND found;
};

BOOL CALLBACK FindById(HWND window, LPARAM param)
{
    auto& search = *reinterpret_cast<DescendantSearch*>(param);
    if (::GetDlgCtrlID(window) != search.controlId)
        return TRUE;
    search.found = window;
    return FALSE;
}

} // namespace

std::wstring ProgramFolderNamed(const wchar_t* name)
{
    return KV::GetProgramFile(name);
}

bool InstallProgram(const std::wstring& folder)
{
    ::CreateDirectoryW(folder.c_str(), nullptr);
    for (const wchar_t* file : {L"Brisvane.exe", L"Languages.lngp", L"Resources.kvdt", L"Recres.kvdt"})
        if (!::CopyFileW(KV::GetProgramFile(std::wstring(L"..\\bin\\") + file).c_str(),
                         (folder + L"\\" + file).c_str(), FALSE))
            return false;
    return true;
}

std::wstring SettingsFile()
{
    wchar_t folder[MAX_PATH] = {};
    ::SHGetFolderPathW(nullptr, CSIDL_APPDATA | CSIDL_FLAG_CREATE, nullptr, 0, folder);
    return std::wstring(folder) + L"\\Kestrivo\\Brisvane\\Settings.cfg";
}

KV::DataKey StartSettings()
{
    KV::DataKey settings("set");
    KV::DataKey* options = settings.AddKey("options");
    options->SetBool("automatic_update", false);
    options->SetBool("automatic_cupdate", false);
    options->SetBool("autostart", false);
    return settings;
}

void WriteSettings(const KV::DataKey& settings)
{
    ::SHCreateDirectoryExW(nullptr, SettingsFile().substr(0, SettingsFile().rfind(L'\\')).c_str(), nullptr);
    settings.Save(SettingsFile());
}

KeptSettings::KeptSettings()
{
    m_had = ::CopyFileW(SettingsFile().c_str(), (SettingsFile() + L".kept").c_str(), FALSE) != FALSE;
}

KeptSettings::~KeptSettings()
{
    if (m_had)
        ::MoveFileExW((SettingsFile() + L".kept").c_str(), SettingsFile().c_str(), MOVEFILE_REPLACE_EXISTING);
    else
        ::DeleteFileW(SettingsFile().c_str());
}

std::wstring Text(HWND window)
{
    wchar_t text[512] = {};
    ::SendMessageTimeoutW(window, WM_GETTEXT, 511, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 5000, nullptr);
    return text;
}

std::vector<HWND> WindowsOf(DWORD processId)
{
    WindowSearch search{processId, {}};
    ::EnumWindows(&CollectWindowOf, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND FindDescendant(HWND parent, int controlId)
{
    DescendantSearch search{controlId, nullptr};
    ::EnumChildWindows(parent, &FindById, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

bool WaitFor(const std::function<bool()>& done, DWORD timeoutMs)
{
    const DWORD start = ::GetTickCount();
    while (!done()) {
        if (::GetTickCount() - start > timeoutMs)
            return false;
        ::Sleep(50);
    }
    return true;
}

ProgramProcess::ProgramProcess(const std::wstring& folder, const std::wstring& arguments)
{
    const std::wstring path = folder + L"\\Brisvane.exe";
    std::wstring commandLine = L"\"" + path + L"\"";
    if (!arguments.empty())
        commandLine += L" " + arguments;
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    m_started = ::CreateProcessW(path.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(),
                                 &startup, &m_process) != FALSE;
}

ProgramProcess::~ProgramProcess()
{
    if (!m_started)
        return;
    if (::WaitForSingleObject(m_process.hProcess, 0) == WAIT_TIMEOUT) {
        for (void* block : m_remoteBlocks)
            ::VirtualFreeEx(m_process.hProcess, block, 0, MEM_RELEASE);
        Kill();
    }
    ::CloseHandle(m_process.hThread);
    ::CloseHandle(m_process.hProcess);
}

HWND ProgramProcess::MainWindow() const
{
    for (HWND window : WindowsOf(Id()))
        if (ClassOf(window) == L"#32770" && ::IsWindowVisible(window) &&
            (::GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_APPWINDOW) != 0)
            return window;
    return nullptr;
}

HWND ProgramProcess::WaitForMainWindow() const
{
    HWND found = nullptr;
    WaitFor([&] { return (found = MainWindow()) != nullptr || HasEnded(); });
    return found;
}

HWND ProgramProcess::MessageBoxWith(const std::wstring& text) const
{
    for (HWND window : WindowsOf(Id()))
        if (ClassOf(window) == L"#32770" && ::IsWindowVisible(window))
            for (HWND child = ::GetWindow(window, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT))
                if (Text(child) == text)
                    return window;
    return nullptr;
}

HWND ProgramProcess::DialogWithControl(int controlId, HWND except) const
{
    for (HWND window : WindowsOf(Id()))
        if (window != except && ClassOf(window) == L"#32770" && ::IsWindowVisible(window) &&
            ::GetDlgItem(window, controlId) != nullptr)
            return window;
    return nullptr;
}

bool ProgramProcess::HasEnded() const
{
    return ::WaitForSingleObject(m_process.hProcess, 0) == WAIT_OBJECT_0;
}

long ProgramProcess::WaitForExit(DWORD timeoutMs) const
{
    if (::WaitForSingleObject(m_process.hProcess, timeoutMs) != WAIT_OBJECT_0)
        return -12345;
    DWORD code = 0;
    ::GetExitCodeProcess(m_process.hProcess, &code);
    return static_cast<long>(code);
}

long ProgramProcess::Exit(HWND mainWindow) const
{
    ::PostMessageW(mainWindow, WM_COMMAND, ExitCommand, 0);
    return WaitForExit();
}

void ProgramProcess::Kill()
{
    ::TerminateProcess(m_process.hProcess, 99);
    ::WaitForSingleObject(m_process.hProcess, 10000);
}

void* ProgramProcess::CopyInto(const void* data, size_t size)
{
    void* block = ::VirtualAllocEx(m_process.hProcess, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    if (block == nullptr)
        return nullptr;
    SIZE_T written = 0;
    if (!::WriteProcessMemory(m_process.hProcess, block, data, size, &written) || written != size) {
        ::VirtualFreeEx(m_process.hProcess, block, 0, MEM_RELEASE);
        return nullptr;
    }
    m_remoteBlocks.push_back(block);
    return block;
}

}  // namespace PlayerTest
