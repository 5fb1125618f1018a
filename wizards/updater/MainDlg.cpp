// The updaters' frame.

#include "wizards/updater/MainDlg.h"

#include "framework/AppModule.h"
#include "wizards/common/WizardLanguages.h"
#include "wizards/updater/DownloadPage.h"
#include "wizards/updater/ErrorPage.h"
#include "wizards/updater/FinishPage.h"
#include "wizards/updater/StartPage.h"
#include "wizards/updater/TrayIcon.h"
#include "wizards/updater/UpdatePage.h"
#include "wizards/updater/UpdaterContext.h"
#include "wizards/updater/UpdaterVariant.h"

namespace {

constexpr int DownloadPageIndex = 2;
constexpr size_t FormatCapacity = 1024;

CMainDlg*& Instance()
{
    static CMainDlg* instance = nullptr;
    return instance;
}

} // namespace

CMainDlg::CMainDlg() : CWizardFrame(WizardVariant::Updater) {}

CMainDlg::~CMainDlg()
{
    if (Instance() == this)
        Instance() = nullptr;
}

CMainDlg* CMainDlg::GetInstance()
{
    return Instance();
}

std::wstring CMainDlg::GetCaption()
{
    return GetLanguageText(GetVariantTraits().captionKey);
}

BOOL CMainDlg::OnInitDialog()
{
    Instance() = this;
    CenterOnOwner();
    SetFrameIcons();
    RegisterMessageFilter();
    CMessageLoop* loop = AppModule().GetMessageLoop();
    if (loop && loop->AddIdleHandler(this))
        m_idleLoop = loop;

    SetWindowText(GetCaption().c_str());
    // The finish page is always count - 2 and the error page count - 1.
    AddPage(new CStartPage());
    AddPage(new CUpdatePage());
    AddPage(new CDownloadPage());
    AddPage(new CFinishPage());
    AddPage(new CErrorPage());
    CreateHeaderAndLines();
    ShowFirstPage();

    GetTrayIcon().Bind(m_hWnd, WM_APPLY_LANGUAGE);
    return TRUE;
}

void CMainDlg::Next()
{
    const int index = GetCurrentIndex();
    if (index >= 0 && index + 1 < GetPageCount())
        SetActivePage(index + 1);
}

void CMainDlg::OnNext()
{
    if (IsFinishPage())
        Close(1);
    else
        Next();
}

void CMainDlg::OnBack()
{
    const int index = GetCurrentIndex();
    if (index <= 0)
        return;
    if (index == GetPageCount() - 1) {
        // Retry: the check again, or the download again.
        SetActivePage(GetUpdaterContext().updateError == UpdateErrorCheck ? 0 : DownloadPageIndex);
        return;
    }
    SetActivePage(index - 1);
}

void CMainDlg::OnCancel()
{
    Close(2);
}

void CMainDlg::OnDestroy()
{
    // A transfer still running sees this at its next report and stops
    // without touching the frame.
    GetCancelFlag() = true;
    if (m_idleLoop)
        m_idleLoop->RemoveIdleHandler(this);
    m_idleLoop = nullptr;
    CWizardFrame::OnDestroy();
    GetTrayIcon().Remove();
    if (Instance() == this)
        Instance() = nullptr;
}

LRESULT CMainDlg::OnTimer(WindowMessage& msg)
{
    if (msg.wParam != CloseTimerId) {
        msg.handled = false;
        return 0;
    }
    KillTimer(CloseTimerId);
    if (IsWindowHidden()) {
        DestroyWindow();
        ::PostQuitMessage(0);
    }
    return 0;
}

LRESULT CMainDlg::OnTaskbarCreated(WindowMessage&)
{
    // Posted or sent as a broadcast: either way it arrives here, not
    // through the message loop's filters.
    GetTrayIcon().OnTaskbarCreated();
    return 0;
}

bool CMainDlg::IsWindowHidden() const
{
    return !IsWindowVisible();
}

void CMainDlg::CloseMainDialog()
{
    SendMessage(WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
}

void CMainDlg::ShowUpdatedBalloon()
{
    const VariantTraits& traits = GetVariantTraits();
    const std::wstring title = GetLanguageText(traits.balloonTitleKey);
    std::wstring message = GetLanguageText(traits.balloonTextKey);
    if (!IsChannelListUpdater()) {
        wchar_t formatted[FormatCapacity + 1] = L"";
        ::wsprintfW(formatted, message.c_str(), GetUpdateDisplayName().c_str());
        message = formatted;
    }
    CTrayIcon& tray = GetTrayIcon();
    tray.Update(GetSmallIcon(), nullptr);
    tray.Balloon(message.c_str(), title.c_str(), BalloonTimeout, NIIF_INFO);
    SetTimer(CloseTimerId, CloseTimerDelay);
}
