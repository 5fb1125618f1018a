#include "player/ui/TypePasDlg.h"

#include "foundation/Lang.h"
#include "player/ui/DialogChrome.h"
#include "player/ui/MsgBox.h"

BOOL CTypePasDlg::PreTranslateMessage(MSG* msg)
{
    return ::IsDialogMessageW(m_hWnd, msg);
}

LRESULT CTypePasDlg::OnInitDialog(WindowMessage&)
{
    KV::Lang::TranslateWindow(m_hWnd);
    m_ok.SubclassWindow(GetDlgItem(IDOK));
    m_cancel.SubclassWindow(GetDlgItem(IDCANCEL));
    CenterWindow(GetParent());
    return TRUE;
}

LRESULT CTypePasDlg::OnColorDialog(WindowMessage&)
{
    return SkinnedDialogBrush();
}

LRESULT CTypePasDlg::OnColorStatic(WindowMessage& msg)
{
    return SkinnedStaticBrush(reinterpret_cast<HDC>(msg.wParam));
}

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

LRESULT CTypePasDlg::OnCancel(WindowMessage&)
{
    EndDialog(IDCANCEL);
    return 0;
}
