// The player's message box: one text (by language key or given directly)
// on the skin's background with header and footer, and either an OK button
// or Yes and No buttons. It stands for the system message box everywhere in
// the player.
//
//   if (ShowMsgBox("msg_recording", MsgBoxYesNo) == MsgBoxNo) ...
#pragma once

#include "framework/MessageLoop.h"
#include "player/resources/Resource.h"
#include "player/ui/BRSButton.h"
#include "player/ui/SkinnedDialogImpl.h"

#include <string>
#include <vector>

// Button sets.
constexpr int MsgBoxOk = 0;
constexpr int MsgBoxYesNo = 2;
// Results. The OK set answers MsgBoxYes only for a click on OK, else 0.
constexpr int MsgBoxYes = 2;
constexpr int MsgBoxNo = 3;

// Run a message box modally over the active window; the result as above. A
// Yes/No box that fails to open answers MsgBoxNo.
int ShowMsgBox(const std::string& textKey, int buttons);
int ShowMsgBoxText(const std::wstring& text, int buttons);

class CMsgBox : public CSkinnedDialogImpl<CMsgBox>, public CMessageFilter {
public:
    enum { IDD = IDD_MSGBOX };

    // The text of a language key, looked up now.
    CMsgBox(const std::string& textKey, int buttons);
    // A text as it stands; it starts 10 pixels further right.
    CMsgBox(const std::wstring& text, int buttons);

    int GetResult() const { return m_result; }
    const std::wstring& GetText() const { return m_text; }
    // Where the text is drawn (before the 10-pixel margin is added).
    const RECT& GetTextRect() const { return m_textRect; }

    BOOL PreTranslateMessage(MSG* msg) override;

    MESSAGE_MAP_BEGIN(CMsgBox)
        ON_MESSAGE(WM_INITDIALOG, OnInitDialog)
        ON_MESSAGE(WM_PAINT, OnPaint)
        CHAIN_MESSAGE_MAP(CSkinnedDialogImpl<CMsgBox>)
        ON_COMMAND(IDOK, OnOk)
        ON_COMMAND(IDCANCEL, OnCancel)
        ON_COMMAND(IDC_MSGBOX_NO, OnCancel)
        REFLECT_NOTIFICATIONS()
    MESSAGE_MAP_END()

private:
    LRESULT OnInitDialog(WindowMessage& msg);
    LRESULT OnPaint(WindowMessage& msg);
    LRESULT OnOk(WindowMessage& msg);
    LRESULT OnCancel(WindowMessage& msg);

    void LayoutButtons();

    CBRSButton m_ok;      // OK, or Yes
    CBRSButton m_no;      // the template's No (never shown)
    CBRSButton m_cancel;  // No of the Yes/No set
    RECT m_textRect;
    std::wstring m_text;
    int m_buttons;
    int m_result;
    std::vector<CBRSButton*> m_shown;
};
