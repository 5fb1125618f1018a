// The download page.

#include "wizards/updater/DownloadPage.h"

#include "foundation/WizardUtilities.h"
#include "wizards/common/WizardLanguages.h"
#include "wizards/updater/MainDlg.h"
#include "wizards/updater/UpdaterContext.h"
#include "wizards/updater/UpdateDownload.h"
#include "wizards/updater/UpdaterResource.h"

#include <commctrl.h>

namespace {

constexpr size_t FormatCapacity = 1024;

std::wstring SizeText(uint32_t bytes)
{
    return KV::Wizard::FormatSize(bytes, [](const char* unit) { return GetLanguageText(unit); });
}

} // namespace

CDownloadPage::CDownloadPage() : CBasePage(WizardVariant::Updater, IDD_UPDATER_DOWNLOAD_PAGE, "PDUP", true)
{
    SetButtons(PageButton{false, false, 0}, PageButton{false, false, IDS_CAPTION_NEXT},
               PageButton{true, true, IDS_CAPTION_CANCEL});
    SetFocusId(IDCANCEL);
}

LRESULT CDownloadPage::OnInitDialog(WindowMessage&)
{
    return FALSE;
}

bool CDownloadPage::OnSetActive()
{
    CWindow bar = GetDlgItem(IDC_DOWNLOAD_PROGRESS);
    bar.ModifyStyle(0, PBS_MARQUEE);
    bar.SendMessage(PBM_SETPOS, 0, 0);
    bar.SendMessage(PBM_SETMARQUEE, TRUE, 0);
    // A download that cannot start ends as a failed one, posted for the
    // same reason as the check's (StartPage.cpp).
    if (!StartDownload(m_hWnd, m_watch.Start(m_hWnd)))
        PostMessage(WM_UPDATER_DOWNLOAD_DONE, static_cast<WPARAM>(DownloadOutcome::Failed), 0);
    return false;
}

LRESULT CDownloadPage::OnTimer(WindowMessage& msg)
{
    return m_watch.OnTimer(msg, WM_UPDATER_DOWNLOAD_DONE, static_cast<WPARAM>(DownloadOutcome::Failed));
}

void CDownloadPage::SetProgress(uint32_t downloaded, uint32_t total)
{
    const std::wstring done = SizeText(downloaded);
    wchar_t text[FormatCapacity + 1] = L"";
    if (total != 0) {
        CWindow bar = GetDlgItem(IDC_DOWNLOAD_PROGRESS);
        bar.ModifyStyle(PBS_MARQUEE, 0);
        bar.SendMessage(PBM_SETMARQUEE, FALSE, 0);
        bar.SendMessage(PBM_SETPOS, static_cast<WPARAM>(static_cast<int>(downloaded * 100.0 / total)), 0);
        const std::wstring all = SizeText(total);
        ::wsprintfW(text, GetLanguageText("sDown").c_str(), done.c_str(), all.c_str());
    } else {
        ::wsprintfW(text, GetLanguageText("sDownU").c_str(), done.c_str());
    }
    SetDlgItemText(IDC_DOWNLOAD_STATUS, text);
}

LRESULT CDownloadPage::OnProgress(WindowMessage& msg)
{
    if (GetCancelFlag())
        return 0;
    SetProgress(static_cast<uint32_t>(msg.wParam), static_cast<uint32_t>(msg.lParam));
    return 0;
}

LRESULT CDownloadPage::OnDownloadDone(WindowMessage& msg)
{
    // A report that was on its way while the frame began to close, or one
    // that came after the step's time was up.
    CMainDlg* frame = CMainDlg::GetInstance();
    if (!frame || GetCancelFlag() || !m_watch.TakeReport(m_hWnd))
        return 0;
    const auto outcome = static_cast<DownloadOutcome>(msg.wParam);
    ApplyDownloadOutcome(outcome);
    switch (outcome) {
    case DownloadOutcome::Failed:
        frame->ShowErrorPage();
        if (frame->IsWindowHidden())
            frame->CloseMainDialog();
        break;
    case DownloadOutcome::Completed:
        frame->Next();
        if (frame->IsWindowHidden())
            frame->ShowUpdatedBalloon();
        break;
    case DownloadOutcome::Cancelled:
        break;
    }
    return 0;
}
