#include "player/ui/SetPasDlg.h"

#include "foundation/Lang.h"
#include "player/ui/DialogChrome.h"
#include "player/ui/MsgBox.h"

BOOL CSetPasDlg::PreTranslateMessage(MSG* msg)
{
    return m_hWnd != nullptr && ::IsDialogMessageW(m_hWnd, msg);
}

LRESULT CSetPasDlg::OnInitDialog(WindowMessage&)
{
    m_password.clear();
    KV::Lang::TranslateWindow(m_hWnd);
    m_ok.SubclassWindow(GetDlgItem(IDOK));
    m_cancel.SubclassWindow(GetDlgItem(IDCANCEL));
    CenterWindow(GetParent());
    return TRUE;
}

LRESULT CSetPasDlg::OnColorDialog(WindowMessage&)
{
    return SkinnedDialogBrush();
}

LRESULT CSetPasDlg::OnColorStatic(WindowMessage& msg)
{
    return SkinnedStaticBrush(reinterpret_cast<HDC>(msg.wParam));
}

LRESULT CSetPasDlg::OnOk(WindowMessage&)
{
    const std::wstring typed = GetDlgItem(IDC_NEW_PASSWORD).GetWindowText();
    if (typed.size() < MinimumLength) {
        ShowMsgBox("msg_password_length", MsgBoxOk);
        return 0;
    }
    if (GetDlgItem(IDC_RETYPED_PASSWORD).GetWindowText() != typed) {
        ShowMsgBox("msg_wrong_retype", MsgBoxOk);
        return 0;
    }
    m_password = typed;
    EndDialog(IDOK);
    return 0;
}

LRESULT CSetPasDlg::OnCancel(WindowMessage&)
{
    EndDialog(IDCANCEL);
    return 0;
}
