#include "player/ui/SetPasDlg.h"

#include "player/ui/MsgBox.h"

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
