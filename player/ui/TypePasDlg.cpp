#include "player/ui/TypePasDlg.h"

#include "player/ui/MsgBox.h"

LRESULT CTypePasDlg::OnOk(WindowMessage&)
{
    // A short pause makes guessing by repeated tries slower.
    ::Sleep(100);
    const std::wstring typed = GetDlgItem(IDC_TYPED_PASSWORD).GetWindowText();
    if (typed != m_expected) {
        ShowMsgBox("msg_wrong_password", MsgBoxOk);
        return 0;
    }
    EndDialog(IDOK);
    return 0;
}
