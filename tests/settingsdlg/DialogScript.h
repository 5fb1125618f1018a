// Plays the user's part in the modal dialogs that the code under test opens
// on this thread, one step at a time: a step waits until the dialog on top
// (the visible, enabled one) is of its kind, then acts on it, usually by
// posting clicks or keys. A dialog that no step expects, or a script stuck
// for seconds, ends every dialog with -100 and is reported, so a test fails
// instead of hanging.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace SettingsTest {

enum class DialogKind { Settings, SetPassword, TypePassword, Message };

struct ScriptStep {
    DialogKind kind;
    // For a message box: the language id of its text.
    std::string textId;
    std::function<void(HWND dialog)> action;
};

class DialogScript {
public:
    explicit DialogScript(std::vector<ScriptStep> steps);
    ~DialogScript();
    DialogScript(const DialogScript&) = delete;
    DialogScript& operator=(const DialogScript&) = delete;

    // Every step acted and no dialog came that no step expected.
    bool Succeeded() const { return m_next == m_steps.size() && m_problems.empty(); }
    // What went wrong, for the failure message.
    std::string Problems() const;

private:
    static void CALLBACK OnTimer(HWND, UINT, UINT_PTR, DWORD);
    void Tick();
    void GiveUp(const std::string& why, HWND top);

    std::vector<ScriptStep> m_steps;
    size_t m_next = 0;
    UINT_PTR m_timer = 0;
    ULONGLONG m_lastProgress = 0;
    bool m_givenUp = false;
    std::vector<std::string> m_problems;
};

// The kind of a shown dialog, told by its controls; false for others.
bool KindOf(HWND dialog, DialogKind& kind);
// The text a message box shows; empty for other windows.
std::wstring MessageText(HWND dialog);

// A control of the dialog or of one of its pages.
HWND FindControl(HWND dialog, int id);
// Posts a click at the control's centre.
void Click(HWND dialog, int id);
// Replaces the text of an edit.
void Type(HWND dialog, int id, const wchar_t* text);
// Clicks the settings dialog's tab.
void ClickTab(HWND settingsDialog, int index);

// Common steps.
ScriptStep Step(DialogKind kind, std::function<void(HWND)> action);
ScriptStep Message(const std::string& textId);  // answered with OK
ScriptStep NewPassword(const wchar_t* first, const wchar_t* second);
ScriptStep CancelDialog(DialogKind kind);
ScriptStep CurrentPassword(const wchar_t* typed);

}  // namespace SettingsTest
