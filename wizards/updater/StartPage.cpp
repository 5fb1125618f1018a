// The checking page.

#include "wizards/updater/StartPage.h"

#include "wizards/updater/MainDlg.h"
#include "wizards/updater/UpdaterContext.h"
#include "wizards/updater/UpdateCheck.h"
#include "wizards/updater/UpdaterResource.h"
#include "wizards/updater/UpdaterVariant.h"

#include <commctrl.h>

CStartPage::CStartPage()
    : CBasePage(WizardVariant::Updater, IDD_UPDATER_START_PAGE, GetVariantTraits().startPageKey, true)
{
    SetButtons(PageButton{false, false, 0}, PageButton{false, false, IDS_CAPTION_NEXT},
               PageButton{true, true, IDS_CAPTION_CANCEL});
    SetFocusId(IDCANCEL);
}

LRESULT CStartPage::OnInitDialog(WindowMessage&)
{
    CWindow bar = GetDlgItem(IDC_START_PROGRESS);
    bar.ModifyStyle(0, PBS_MARQUEE);
    bar.SendMessage(PBM_SETMARQUEE, TRUE, 0);
    // The frame decides the focus when the page is shown.
    return FALSE;
}

bool CStartPage::OnSetActive()
{
    // A check that cannot start ends as a failed one. It is posted, so that
    // it ends once the page is shown, as a worker's report would: ending it
    // here, inside the page switch, could close the frame under it.
    if (!StartCheck(m_hWnd, m_watch.Start(m_hWnd)))
        PostMessage(WM_UPDATER_CHECK_DONE, static_cast<WPARAM>(CheckOutcome::Failed), 0);
    return false;
}

LRESULT CStartPage::OnTimer(WindowMessage& msg)
{
    return m_watch.OnTimer(msg, WM_UPDATER_CHECK_DONE, static_cast<WPARAM>(CheckOutcome::Failed));
}

LRESULT CStartPage::OnCheckDone(WindowMessage& msg)
{
    // A report that was on its way while the frame began to close, or one
    // that came after the step's time was up.
    CMainDlg* frame = CMainDlg::GetInstance();
    if (!frame || GetCancelFlag() || !m_watch.TakeReport(m_hWnd))
        return 0;
    // Without a result (a check that never started) only the outcome counts.
    CheckResult none;
    none.outcome = static_cast<CheckOutcome>(msg.wParam);
    auto* result = reinterpret_cast<CheckResult*>(msg.lParam);
    ApplyCheckResult(result ? *result : none);
    switch (static_cast<CheckOutcome>(msg.wParam)) {
    case CheckOutcome::Failed:
        frame->ShowErrorPage();
        if (frame->IsWindowHidden())
            frame->CloseMainDialog();
        break;
    case CheckOutcome::NoUpdate:
        frame->ShowFinishPage();
        if (frame->IsWindowHidden())
            frame->CloseMainDialog();
        break;
    case CheckOutcome::Offered:
        frame->Next();
        if (IsChannelListUpdater()) {
            // A hidden Chanfresh downloads by itself: the download page
            // starts the transfer when it is shown.
            if (frame->IsWindowHidden())
                frame->Next();
        } else {
            // The user decides, also after a hidden start.
            frame->ShowWindow(SW_SHOW);
        }
        break;
    case CheckOutcome::Cancelled:
        break;
    }
    return 0;
}
