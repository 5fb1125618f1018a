// The setup tests' shared helpers and their process set-up (COM, common
// controls, RichEdit and the framework module, as Setupkit has them).

#include "WizardTestSupport.h"

#include "foundation/DataKey.h"
#include "foundation/WizardSkin.h"
#include "foundation/WizardUtilities.h"
#include "framework/AppModule.h"
#include "tests/support/HostPath.h"
#include "wizards/common/MacroTable.h"
#include "wizards/common/ProductSettings.h"
#include "wizards/common/Text.h"
#include "wizards/common/WizardLanguages.h"
#include "wizards/setup/SetupContext.h"
#include "wizards/setup/SetupData.h"

#include <gtest/gtest.h>

#include <commctrl.h>
#include <objbase.h>
#include <shlobj.h>
#include <shlwapi.h>

#include <mutex>

namespace {

class WizardEnvironment : public testing::Environment {
public:
    void SetUp() override
    {
        ::CoInitializeEx(nullptr, COINIT_MULTITHREADED);
        INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
        ::InitCommonControlsEx(&controls);
        m_richEdit = ::LoadLibraryW(L"RICHED20.DLL");
        AppModule().Init(::GetModuleHandleW(nullptr));
    }
    void TearDown() override
    {
        ResetWizardState();
        AppModule().Term();
        if (m_richEdit)
            ::FreeLibrary(m_richEdit);
        ::CoUninitialize();
    }

private:
    HMODULE m_richEdit = nullptr;
};

const testing::Environment* const environment = testing::AddGlobalTestEnvironment(new WizardEnvironment);

std::mutex& BoxLock()
{
    static std::mutex lock;
    return lock;
}

std::vector<MessageBoxRecorder::Box>& BoxList()
{
    static std::vector<MessageBoxRecorder::Box> boxes;
    return boxes;
}

int& BoxAnswer()
{
    static int answer = IDOK;
    return answer;
}

int WINAPI RecordBox(HWND, const wchar_t* text, const wchar_t* caption, UINT flags)
{
    std::lock_guard<std::mutex> lock(BoxLock());
    BoxList().push_back({text ? text : L"", caption ? caption : L"", flags});
    return BoxAnswer();
}

} // namespace

std::wstring FixturePath(const std::wstring& name)
{
    wchar_t folder[MAX_PATH] = L"";
    ::GetEnvironmentVariableW(L"BRISVANE_WIZARD_FIXTURES", folder, MAX_PATH);
    return WindowsPathOfHostPath(folder) + L"\\" + name;
}

std::wstring TestInstallFolder()
{
    wchar_t appData[MAX_PATH] = L"";
    ::SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, appData);
    return std::wstring(appData) + L"\\Kestrivo Setup Test\\App";
}

bool FolderExists(const std::wstring& path)
{
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

void DeleteTestKeys()
{
    ::SHDeleteKeyW(HKEY_CURRENT_USER, TestProductKey);
    ::SHDeleteKeyW(HKEY_CURRENT_USER, TestUninstallKey);
}

bool ReadRegString(const wchar_t* key, const wchar_t* name, std::wstring& text)
{
    wchar_t buffer[2048] = L"";
    DWORD bytes = sizeof buffer - sizeof(wchar_t);
    DWORD type = 0;
    if (::SHGetValueW(HKEY_CURRENT_USER, key, name, &type, buffer, &bytes) != ERROR_SUCCESS || type != REG_SZ)
        return false;
    text = buffer;
    return true;
}

bool ReadRegDword(const wchar_t* key, const wchar_t* name, DWORD& value)
{
    DWORD bytes = sizeof value;
    DWORD type = 0;
    return ::SHGetValueW(HKEY_CURRENT_USER, key, name, &type, &value, &bytes) == ERROR_SUCCESS && type == REG_DWORD;
}

bool WriteRegString(const wchar_t* key, const wchar_t* name, const std::wstring& text)
{
    return ::SHSetValueW(HKEY_CURRENT_USER, key, name, REG_SZ, text.c_str(),
                         static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
}

bool KeyExists(const wchar_t* key)
{
    HKEY opened = nullptr;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, key, 0, KEY_READ, &opened) != ERROR_SUCCESS)
        return false;
    ::RegCloseKey(opened);
    return true;
}

void ResetWizardState()
{
    ResetSetupContext();
    FreeProductSettings();
    FreeLanguages();
    ClearMacros();
    KV::Skin::Free();
}

void LoadFixturePackage(const std::wstring& name)
{
    ResetWizardState();
    LoadSetupData(FixturePath(name));
    // As the run does after the language choice.
    ApplyLanguageChoice();
}

void UseInstallFolder(const std::wstring& folder)
{
    SetInstallFolder(folder);
    GetSetupContext().logPath = KV::JoinPath(folder, L"setupkit.dat");
}

bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs)
{
    const ULONGLONG end = ::GetTickCount64() + timeoutMs;
    for (;;) {
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                // Kept for TakeQuitCode.
                ::PostQuitMessage(static_cast<int>(msg.wParam));
                break;
            }
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
        if (done())
            return true;
        const ULONGLONG now = ::GetTickCount64();
        if (now >= end)
            return done();
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(std::min<ULONGLONG>(end - now, 50)),
                                    QS_ALLINPUT);
    }
}

bool WaitFor(const std::function<bool()>& done, DWORD timeoutMs, DWORD intervalMs)
{
    const ULONGLONG end = ::GetTickCount64() + timeoutMs;
    while (!done()) {
        if (::GetTickCount64() >= end)
            return done();
        ::Sleep(intervalMs);
    }
    return true;
}

int TakeQuitCode()
{
    MSG msg;
    if (::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE))
        return static_cast<int>(msg.wParam);
    return -1;
}

MessageBoxRecorder::MessageBoxRecorder(int answer)
{
    {
        std::lock_guard<std::mutex> lock(BoxLock());
        BoxList().clear();
        BoxAnswer() = answer;
    }
    m_previous = SetSetupMessageBox(&RecordBox);
}

MessageBoxRecorder::~MessageBoxRecorder()
{
    SetSetupMessageBox(m_previous);
}

void MessageBoxRecorder::SetAnswer(int answer)
{
    std::lock_guard<std::mutex> lock(BoxLock());
    BoxAnswer() = answer;
}

std::vector<MessageBoxRecorder::Box> MessageBoxRecorder::Boxes() const
{
    std::lock_guard<std::mutex> lock(BoxLock());
    return BoxList();
}

std::vector<std::wstring> NumberedStrings(const KV::DataKey* node)
{
    std::vector<std::wstring> texts;
    if (!node)
        return texts;
    for (uint32_t i = 0; i < node->GetValueCount(); ++i)
        texts.push_back(node->GetStringW(DecimalText(static_cast<int>(i)), L"<missing>"));
    return texts;
}
