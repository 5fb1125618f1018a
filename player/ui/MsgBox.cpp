#include "player/ui/MsgBox.h"

#include "foundation/Lang.h"
#include "foundation/Skin.h"
#include "framework/GdiHelpers.h"
#include "player/app/Settings.h"
#include "player/ui/DialogChrome.h"

namespace {

// Buttons are laid out from the right, on one row.
constexpr int ButtonWidth = 74;
constexpr int ButtonGap = 6;
constexpr int ButtonTop = 164;
constexpr int RightMargin = 4;
// The text is drawn in the text rectangle grown by this on every side.
constexpr int TextMargin = 10;

}  // namespace

int ShowMsgBox(const std::string& textKey, int buttons)
{
    CMsgBox box(textKey, buttons);
    box.DoModal(::GetActiveWindow());
    return box.GetResult();
}

int ShowMsgBoxText(const std::wstring& text, int buttons)
{
    CMsgBox box(text, buttons);
    box.DoModal(::GetActiveWindow());
    return box.GetResult();
}

// Until a button answers, a question counts as No: a box that never opened
// (or was torn down) never agreed to anything.
CMsgBox::CMsgBox(const std::string& textKey, int buttons)
    : m_textRect{60, 38, 340, 158}, m_text(KV::Lang::GetText(textKey)), m_buttons(buttons),
      m_result(buttons == MsgBoxYesNo ? MsgBoxNo : 0)
{
}

CMsgBox::CMsgBox(const std::wstring& text, int buttons)
    : m_textRect{70, 38, 340, 158}, m_text(text), m_buttons(buttons), m_result(buttons == MsgBoxYesNo ? MsgBoxNo : 0)
{
}

BOOL CMsgBox::PreTranslateMessage(MSG* msg)
{
    return m_hWnd != nullptr && ::IsDialogMessageW(m_hWnd, msg);
}

void CMsgBox::LayoutButtons()
{
    const RECT client = GetClientRect();
    const int count = static_cast<int>(m_shown.size());
    int x = client.right - (ButtonGap + ButtonWidth) * count - RightMargin;
    for (CBRSButton* button : m_shown) {
        const RECT rect = button->GetClientRect();
        button->SetWindowPos(nullptr, x, ButtonTop, ButtonWidth, rect.bottom, SWP_NOZORDER | SWP_SHOWWINDOW);
        x += ButtonWidth + ButtonGap;
    }
}

LRESULT CMsgBox::OnInitDialog(WindowMessage&)
{
    m_ok.SubclassWindow(GetDlgItem(IDOK));
    m_cancel.SubclassWindow(GetDlgItem(IDCANCEL));
    m_no.SubclassWindow(GetDlgItem(IDC_MSGBOX_NO));

    m_shown.clear();
    m_shown.push_back(&m_ok);
    if (m_buttons == MsgBoxYesNo) {
        m_ok.SetText("button_yes");
        m_cancel.SetText("button_no");
        m_shown.push_back(&m_cancel);
    }
    LayoutButtons();

    SetWindowText(CSettings::GetProductName());
    CenterWindow();
    return TRUE;
}

LRESULT CMsgBox::OnPaint(WindowMessage&)
{
    CPaintDC dc(m_hWnd);
    const RECT client = GetClientRect();
    PaintDialogHeader(dc, client);
    PaintDialogFooter(dc, client);

    HGDIOBJ previousFont = nullptr;
    if (KV::Font* font = KV::Skin::GetFont("arial16"))
        previousFont = ::SelectObject(dc, font->GetHandle());
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, KV::Skin::GetTextColor());
    RECT textRect{m_textRect.left - TextMargin, m_textRect.top - TextMargin, m_textRect.right + TextMargin,
                  m_textRect.bottom + TextMargin};
    ::DrawTextW(dc, m_text.c_str(), static_cast<int>(m_text.size()), &textRect, DT_WORDBREAK | DT_VCENTER);
    if (previousFont != nullptr)
        ::SelectObject(dc, previousFont);
    return 0;
}

LRESULT CMsgBox::OnOk(WindowMessage&)
{
    // Only a click on the OK (Yes) button answers yes: Enter with the focus
    // elsewhere takes the safe answer.
    const bool clicked = ::GetFocus() == m_ok.m_hWnd;
    if (m_buttons == MsgBoxYesNo)
        m_result = clicked ? MsgBoxYes : MsgBoxNo;
    else
        m_result = clicked ? MsgBoxYes : 0;
    EndDialog(IDOK);
    return 0;
}

LRESULT CMsgBox::OnCancel(WindowMessage&)
{
    m_result = m_buttons == MsgBoxYesNo ? MsgBoxNo : 0;
    EndDialog(IDCANCEL);
    return 0;
}
