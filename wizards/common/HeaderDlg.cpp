// The frame's header strip.

#include "wizards/common/HeaderDlg.h"

#include "foundation/WizardSkin.h"

CHeaderDlg::~CHeaderDlg()
{
    if (IsWindow())
        DestroyWindow();
}

void CHeaderDlg::SetTexts(const std::wstring& title, const std::wstring& description)
{
    SetDlgItemText(IDC_HEADER_TITLE, title.c_str());
    if (m_variant == WizardVariant::Setup)
        SetDlgItemText(IDC_HEADER_DESCRIPTION, description.c_str());
}

LRESULT CHeaderDlg::OnInitDialog(WindowMessage&)
{
    if (KV::Font* font = KV::Skin::GetFont("header"))
        GetDlgItem(IDC_HEADER_TITLE).SetFont(*font);
    if (m_variant == WizardVariant::Setup)
        GetDlgItem(IDC_HEADER_BITMAP).ModifyStyle(SS_TYPEMASK, SS_BITMAP);
    // The strip never takes the focus from the page.
    return FALSE;
}

LRESULT CHeaderDlg::OnSize(WindowMessage& msg)
{
    if (m_variant == WizardVariant::Setup) {
        const int width = msg.Width();
        GetDlgItem(IDC_HEADER_BITMAP).MoveWindow(width - BitmapSlotWidth, 0, BitmapSlotWidth, msg.Height());
    }
    msg.handled = false;
    return 0;
}

LRESULT CHeaderDlg::OnCtlColorDlg(WindowMessage&)
{
    return reinterpret_cast<LRESULT>(KV::Skin::GetBkBrush());
}

LRESULT CHeaderDlg::OnCtlColorStatic(WindowMessage& msg)
{
    ::SetBkMode(reinterpret_cast<HDC>(msg.wParam), TRANSPARENT);
    return reinterpret_cast<LRESULT>(KV::Skin::GetBkBrush());
}
