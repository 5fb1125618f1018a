// The error page.

#include "wizards/updater/ErrorPage.h"

#include "wizards/common/WizardLanguages.h"
#include "wizards/updater/UpdaterContext.h"
#include "wizards/updater/UpdaterResource.h"

CErrorPage::CErrorPage() : CBasePage(WizardVariant::Updater, IDD_UPDATER_ERROR_PAGE, "PEUP", true)
{
    SetButtons(PageButton{true, true, IDS_CAPTION_RETRY}, PageButton{false, false, IDS_CAPTION_NEXT},
               PageButton{true, true, IDS_CAPTION_CANCEL});
    SetFocusId(IDC_WIZARD_BACK);
}

LRESULT CErrorPage::OnInitDialog(WindowMessage&)
{
    return FALSE;
}

bool CErrorPage::OnSetActive()
{
    switch (GetUpdaterContext().updateError.load()) {
    case UpdateErrorCheck:
        SetDlgItemText(IDC_ERROR_TEXT, GetLanguageField("error", "version").c_str());
        break;
    case UpdateErrorDownload:
        SetDlgItemText(IDC_ERROR_TEXT, GetLanguageField("error", "download").c_str());
        break;
    default:
        break;
    }
    return false;
}
