#pragma once
// Driving the real Brisvane.exe from a test process: a program folder with
// the built program, its shipped data and a catalogue of the test; the
// program started as a user starts it; its top-level windows found by
// process; and the user's settings file, which the program really uses,
// kept and put back around a test.

#include "foundation/DataKey.h"
#include "tests/support/WindowText.h"

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace PlayerTest {

// <tests>\<name>: a folder beside the test executable.
std::wstring ProgramFolderNamed(const wchar_t* name);
// Copies Brisvane.exe and its data files from <build>\bin into folder.
bool InstallProgram(const std::wstring& folder);

// The settings file of the Wine user (Settings.cfg under application data).
std::wstring SettingsFile();
// The options every copy starts with: no updaters, no autostart entry.
// Further options and nodes may be added before WriteSettings.
KV::DataKey StartSettings();
void WriteSettings(const KV::DataKey& settings);

// Keeps the settings file it finds and puts it back when it goes.
class KeptSettings {
public:
    KeptSettings();
    ~KeptSettings();
    KeptSettings(const KeptSettings&) = delete;
    KeptSettings& operator=(const KeptSettings&) = delete;

private:
    bool m_had = false;
};

// The window's text as it shows it (WM_GETTEXT, also for another process's
// edit controls).
std::wstring Text(HWND window);
// Top-level windows of a process.
std::vector<HWND> WindowsOf(DWORD processId);
// Child windows (any depth) with the control id.
HWND FindDescendant(HWND parent, int controlId);
bool WaitFor(const std::function<bool()>& done, DWORD timeoutMs = 30000);

// A started copy of the program; ended by handle when a test leaves it
// running.
class ProgramProcess {
public:
    // Starts folder\Brisvane.exe with the arguments, in folder.
    ProgramProcess(const std::wstring& folder, const std::wstring& arguments);
    ~ProgramProcess();
    ProgramProcess(const ProgramProcess&) = delete;
    ProgramProcess& operator=(const ProgramProcess&) = delete;

    bool Started() const { return m_started; }
    DWORD Id() const { return m_process.dwProcessId; }

    // The visible main window (the dialog shown in the taskbar), or null.
    HWND MainWindow() const;
    HWND WaitForMainWindow() const;
    // A visible dialog of the process with a child showing this text, or
    // null.
    HWND MessageBoxWith(const std::wstring& text) const;
    // A visible dialog of the process, other than except, that has a
    // control with this id; null when none.
    HWND DialogWithControl(int controlId, HWND except = nullptr) const;
    bool HasEnded() const;
    // The exit code once it ends within the timeout; -12345 otherwise.
    long WaitForExit(DWORD timeoutMs = 30000) const;
    // Sends the exit command and waits for the end.
    long Exit(HWND mainWindow) const;
    // Ends the process at once.
    void Kill();
    // Writes data into the process's memory: the address there (freed when
    // the program object goes), for messages that carry a pointer.
    void* CopyInto(const void* data, size_t size);

private:
    PROCESS_INFORMATION m_process{};
    bool m_started = false;
    std::vector<void*> m_remoteBlocks;
};

}  // namespace PlayerTest
