#pragma once
// What the setup tests share: the fixture packages, a fresh temporary
// folder, the setup's process-wide state put back between tests, the test
// product's registry keys, a message pump, and a recorder for the setup's
// message boxes (which never show in a test).

#include "tests/support/TempFolder.h"

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace KV {
class DataKey;
}

// Fixture files built by tests/wizards/CMakeLists.txt.
std::wstring FixturePath(const std::wstring& name);
// The test product's keys (HKCU).
constexpr const wchar_t* TestProductKey = L"SOFTWARE\\Kestrivo\\BrisvaneSetupTest";
constexpr const wchar_t* TestUninstallKey = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\BrisvaneSetupTest";
// The test product's install folder (location of the test settings).
std::wstring TestInstallFolder();

bool FolderExists(const std::wstring& path);

// Registry helpers on HKCU.
void DeleteTestKeys();
bool ReadRegString(const wchar_t* key, const wchar_t* name, std::wstring& text);
bool ReadRegDword(const wchar_t* key, const wchar_t* name, DWORD& value);
bool WriteRegString(const wchar_t* key, const wchar_t* name, const std::wstring& text);
bool KeyExists(const wchar_t* key);

// Frees every process-wide store of the setup (context, settings, macros,
// languages, skin).
void ResetWizardState();
// ResetWizardState, then the setup's start-up load from a fixture package
// and what follows the language choice (its macros, the uninstall scope).
void LoadFixturePackage(const std::wstring& name);
// Points the install at folder (and the log at folder\setupkit.dat).
void UseInstallFolder(const std::wstring& folder);

// Dispatches messages until done() holds or the time is up; done()'s last
// answer.
bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 60000);
// Polls done() every intervalMs until it holds or the time is up (no
// message pump); done()'s last answer.
bool WaitFor(const std::function<bool()>& done, DWORD timeoutMs = 90000, DWORD intervalMs = 100);
// The code of a WM_QUIT waiting in this thread's queue (removed), or -1.
int TakeQuitCode();

// Records the setup's message boxes and answers each with a fixed result.
class MessageBoxRecorder {
public:
    struct Box {
        std::wstring text;
        std::wstring caption;
        UINT flags;
    };
    explicit MessageBoxRecorder(int answer = IDOK);
    MessageBoxRecorder(const MessageBoxRecorder&) = delete;
    MessageBoxRecorder& operator=(const MessageBoxRecorder&) = delete;
    ~MessageBoxRecorder();

    void SetAnswer(int answer);
    std::vector<Box> Boxes() const;

private:
    using Function = int(WINAPI*)(HWND, const wchar_t*, const wchar_t*, UINT);
    Function m_previous;
};

// The values of a data-tree node's StringW values named "0", "1", ... in
// number order.
std::vector<std::wstring> NumberedStrings(const KV::DataKey* node);
