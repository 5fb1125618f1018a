// The uninstall page.

#include "wizards/setup/UninstallPage.h"

#include "wizards/setup/SetupContext.h"

CUninstallPage::CUninstallPage() : CSetupPage(IDD_UNINSTALL_PAGE, "PU", true)
{
    SetButtons({true, true, IDS_CAPTION_BACK}, {true, true, IDS_CAPTION_UNINSTALL}, {true, true, IDS_CAPTION_CANCEL});
}

LRESULT CUninstallPage::OnInitDialog(WindowMessage&)
{
    SetDlgItemText(IDC_UNINSTALL_FOLDER, GetUninstallFolder().c_str());
    return FALSE;
}

bool CUninstallPage::OnKillActive()
{
    return CheckMainExeClosed(m_hWnd);
}
