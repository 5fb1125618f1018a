// The finish page.

#include "wizards/updater/FinishPage.h"

#include "wizards/common/HeaderDlg.h"
#include "wizards/updater/MainDlg.h"
#include "wizards/updater/UpdaterContext.h"
#include "wizards/updater/UpdaterResource.h"
#include "wizards/updater/UpdaterVariant.h"

CFinishPage::CFinishPage()
    : CBasePage(WizardVariant::Updater, IDD_UPDATER_FINISH_PAGE, GetVariantTraits().finishUpdatedKey, true)
{
    SetButtons(PageButton{false, false, 0}, PageButton{false, true, IDS_CAPTION_NEXT},
               PageButton{true, true, IDS_CAPTION_FINISH});
    SetFocusId(IDCANCEL);
}

LRESULT CFinishPage::OnInitDialog(WindowMessage&)
{
    return FALSE;
}

bool CFinishPage::OnSetActive()
{
    SetKey(GetUpdaterContext().updated ? GetVariantTraits().finishUpdatedKey : FinishNoUpdateKey);
    ApplyTexts();
    // The frame put the header up before the page chose its texts.
    CMainDlg* frame = CMainDlg::GetInstance();
    if (frame && frame->GetHeader() && frame->GetHeader()->m_hWnd)
        frame->GetHeader()->SetTexts(GetTitle(), GetDescription());
    return false;
}
