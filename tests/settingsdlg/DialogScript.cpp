#include "tests/settingsdlg/DialogScript.h"

#include "foundation/Lang.h"
#include "player/ui/MsgBox.h"
#include "player/ui/SetPasDlg.h"
#include "player/ui/SettingsDlg.h"
#include "player/ui/TypePasDlg.h"
#include "tests/ui/UiTestSupport.h"

#include <sstream>

namespace SettingsTest {

namespace {

DialogScript* g_script = nullptr;

// Long enough for a slow Wine, short enough to fail soon.
constexpr ULONGLONG StuckAfterMs = 8000;

const char* KindName(DialogKind kind)
{
    switch (kind) {
    case DialogKind::Settings:
        return "settings dialog";
    case DialogKind::SetPassword:
        return "new-password dialog";
    case DialogKind::TypePassword:
        return "password question";
    case DialogKind::Message:
        return "message box";
    }
    return "?";
}

std::string Narrow(const std::wstring& text)
{
    std::string narrow;
    for (wchar_t c : text)
        narrow += c < 128 ? static_cast<char>(c) : '?';
    return narrow;
}

std::string Describe(HWND dialog)
{
    if (dialog == nullptr)
        return "no dialog";
    DialogKind kind;
    if (!KindOf(dialog, kind))
        return "an unknown dialog";
    std::string text = KindName(kind);
    if (kind == DialogKind::Message)
        text += " \"" + Narrow(MessageText(dialog)) + "\"";
    return text;
}

BOOL CALLBACK FindTopDialog(HWND window, LPARAM found)
{
    wchar_t className[16] = {};
    ::GetClassNameW(window, className, 16);
    if (::IsWindowVisible(window) && ::IsWindowEnabled(window) && std::wstring(className) == L"#32770") {
        *reinterpret_cast<HWND*>(found) = window;
        return FALSE;
    }
    return TRUE;
}

// Top-level windows come in z-order: the first shown, enabled dialog is the
// one the user faces.
HWND TopDialog()
{
    HWND dialog = nullptr;
    ::EnumThreadWindows(::GetCurrentThreadId(), FindTopDialog, reinterpret_cast<LPARAM>(&dialog));
    return dialog;
}

bool Matches(const ScriptStep& step, HWND dialog)
{
    DialogKind kind;
    if (!KindOf(dialog, kind) || kind != step.kind)
        return false;
    return kind != DialogKind::Message || MessageText(dialog) == KV::Lang::GetText(step.textId);
}

}  // namespace

bool KindOf(HWND dialog, DialogKind& kind)
{
    CWindowImplRoot* object = CWindowImplRoot::FromHandle(dialog);
    if (dynamic_cast<CSettingsDlg*>(object) != nullptr)
        kind = DialogKind::Settings;
    else if (dynamic_cast<CSetPasDlg*>(object) != nullptr)
        kind = DialogKind::SetPassword;
    else if (dynamic_cast<CTypePasDlg*>(object) != nullptr)
        kind = DialogKind::TypePassword;
    else if (dynamic_cast<CMsgBox*>(object) != nullptr)
        kind = DialogKind::Message;
    else
        return false;
    return true;
}

std::wstring MessageText(HWND dialog)
{
    const CMsgBox* box = dynamic_cast<CMsgBox*>(CWindowImplRoot::FromHandle(dialog));
    return box != nullptr ? box->GetText() : std::wstring();
}

DialogScript::DialogScript(std::vector<ScriptStep> steps) : m_steps(std::move(steps))
{
    g_script = this;
    m_lastProgress = ::GetTickCount64();
    m_timer = ::SetTimer(nullptr, 0, 10, &DialogScript::OnTimer);
}

DialogScript::~DialogScript()
{
    if (m_timer != 0)
        ::KillTimer(nullptr, m_timer);
    if (g_script == this)
        g_script = nullptr;
}

std::string DialogScript::Problems() const
{
    std::ostringstream text;
    text << m_next << " of " << m_steps.size() << " steps acted";
    for (const std::string& problem : m_problems)
        text << "; " << problem;
    if (m_problems.empty() && m_next < m_steps.size())
        text << "; the dialogs ended before the remaining steps";
    return text.str();
}

void CALLBACK DialogScript::OnTimer(HWND, UINT, UINT_PTR, DWORD)
{
    if (g_script != nullptr)
        g_script->Tick();
}

void DialogScript::GiveUp(const std::string& why, HWND top)
{
    m_problems.push_back(why + " (on top: " + Describe(top) + ")");
    m_givenUp = true;
}

void DialogScript::Tick()
{
    HWND top = TopDialog();
    if (m_givenUp) {
        if (top != nullptr)
            ::EndDialog(top, -100);
        return;
    }
    if (top == nullptr)
        return;
    if (m_next == m_steps.size()) {
        GiveUp("a dialog came after the last step", top);
        ::EndDialog(top, -100);
        return;
    }
    const ScriptStep& step = m_steps[m_next];
    if (Matches(step, top)) {
        // Posted input is handled before the next timer message, so the next
        // tick sees what this action led to.
        ++m_next;
        m_lastProgress = ::GetTickCount64();
        ::UpdateWindow(top);
        if (step.action)
            step.action(top);
        return;
    }
    if (::GetTickCount64() - m_lastProgress > StuckAfterMs) {
        std::string why = "step " + std::to_string(m_next + 1) + " waited in vain for the ";
        why += KindName(step.kind);
        if (step.kind == DialogKind::Message)
            why += " " + step.textId;
        GiveUp(why, top);
    }
}

HWND FindControl(HWND dialog, int id)
{
    if (HWND control = ::GetDlgItem(dialog, id))
        return control;
    for (HWND child = ::GetWindow(dialog, GW_CHILD); child != nullptr; child = ::GetWindow(child, GW_HWNDNEXT)) {
        if (HWND control = ::GetDlgItem(child, id))
            return control;
    }
    return nullptr;
}

void Click(HWND dialog, int id)
{
    UiTest::PostClickCentre(FindControl(dialog, id));
}

void Type(HWND dialog, int id, const wchar_t* text)
{
    ::SetWindowTextW(FindControl(dialog, id), text);
}

void ClickTab(HWND settingsDialog, int index)
{
    const CSettingsDlg* dialog = dynamic_cast<CSettingsDlg*>(CWindowImplRoot::FromHandle(settingsDialog));
    if (dialog == nullptr || dialog->GetTabStrip() == nullptr)
        return;
    const RECT rect = dialog->GetTabStrip()->GetTabRect(index);
    const LPARAM at = MAKELPARAM((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
    HWND strip = *dialog->GetTabStrip();
    ::PostMessageW(strip, WM_MOUSEMOVE, 0, at);
    ::PostMessageW(strip, WM_LBUTTONDOWN, MK_LBUTTON, at);
    ::PostMessageW(strip, WM_LBUTTONUP, 0, at);
}

ScriptStep Step(DialogKind kind, std::function<void(HWND)> action)
{
    return ScriptStep{kind, std::string(), std::move(action)};
}

ScriptStep Message(const std::string& textId)
{
    return ScriptStep{DialogKind::Message, textId, [](HWND dialog) { Click(dialog, IDOK); }};
}

ScriptStep NewPassword(const wchar_t* first, const wchar_t* second)
{
    const std::wstring one = first;
    const std::wstring two = second;
    return Step(DialogKind::SetPassword, [one, two](HWND dialog) {
        Type(dialog, IDC_NEW_PASSWORD, one.c_str());
        Type(dialog, IDC_RETYPED_PASSWORD, two.c_str());
        Click(dialog, IDOK);
    });
}

ScriptStep CancelDialog(DialogKind kind)
{
    return Step(kind, [](HWND dialog) { Click(dialog, IDCANCEL); });
}

ScriptStep CurrentPassword(const wchar_t* typed)
{
    const std::wstring text = typed;
    return Step(DialogKind::TypePassword, [text](HWND dialog) {
        Type(dialog, IDC_TYPED_PASSWORD, text.c_str());
        Click(dialog, IDOK);
    });
}

}  // namespace SettingsTest
