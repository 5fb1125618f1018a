// Closing the main window, the exit command and the window's end.
#include "player/app/MainDlg.h"

#include "framework/AppModule.h"
#include "player/app/Settings.h"
#include "player/catalogue/ChannelList.h"
#include "player/playback/PlayerCtrl.h"
#include "player/playback/UrlGrabber.h"
#include "player/recording/RecordManager.h"
#include "player/recording/RecorderFactory.h"
#include "player/ui/MsgBox.h"

namespace {

// The exit waits for this many idle observations, this far apart.
constexpr int IdleObservations = 5;
constexpr DWORD IdlePause = 20;
// A back-end or a recorder that never reports itself idle must not keep the
// program from ending: after this many pauses the exit goes on (a recorder
// blocked in a read outlives the window and reports to nobody).
constexpr int MaxPauses = 500;

} // namespace

LRESULT CMainDlg::OnClose(WindowMessage&)
{
    if (m_exiting) {
        WINDOWPLACEMENT placement{};
        placement.length = sizeof(placement);
        ::GetWindowPlacement(m_hWnd, &placement);
        CSettings::SetPlacement(placement);
        CSettings::Save();
        DestroyWindow();
        return 0;
    }
    if (IsWindowVisible())
        HideToTray();
    return 0;
}

void CMainDlg::HideToTray()
{
    // Without the icon a hidden window could not be reached at all: it
    // stays on the taskbar, minimised.
    const bool trayShown = m_tray && m_tray->IsShown();
    if (IsWindowVisible() || !trayShown)
        ShowWindow(trayShown ? SW_MINIMIZE : SW_SHOWMINNOACTIVE);
    if (trayShown)
        ShowWindow(SW_HIDE);
}

bool CMainDlg::IsIdle()
{
    if (m_records && !m_records->IsIdle())
        return false;
    return m_currentPlayer == nullptr || m_currentPlayer->IsStopped();
}

bool CMainDlg::StopRecordingsForExit()
{
    if (!m_records)
        return true;
    // Only a Yes stops them: a box that failed to open is no consent.
    if (!m_records->IsIdle() && ShowMsgBox("msg_recording", MsgBoxYesNo) != MsgBoxYes)
        return false;
    // A recording that began while the question was open stops too.
    m_records->StopAll();
    return true;
}

void CMainDlg::WaitUntilIdle()
{
    int observations = 0;
    for (int pauses = 0; pauses < MaxPauses; ++pauses) {
        if (IsIdle() && ++observations >= IdleObservations)
            return;
        ::Sleep(IdlePause);
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                // For the loop that runs the program.
                ::PostQuitMessage(static_cast<int>(msg.wParam));
                return;
            }
            if (!PreTranslateMessage(&msg)) {
                ::TranslateMessage(&msg);
                ::DispatchMessageW(&msg);
            }
        }
    }
}

LRESULT CMainDlg::OnExit(WindowMessage&)
{
    if (m_exiting || m_exitRunning)
        return 0;
    m_exitRunning = true;
    if (!StopRecordingsForExit()) {
        m_exitRunning = false;
        return 0;
    }
    // The schedule's clock stops: a record due during the wait would start
    // only to be cut off when the window goes.
    CRecordListBox& recordList = m_channels.GetRecordListBox();
    if (recordList.IsWindow())
        recordList.KillTimer(CRecordListBox::TickTimer);
    if (m_currentPlayer != nullptr)
        m_currentPlayer->Stop();
    EnableWindow(FALSE);
    WaitUntilIdle();
    m_exiting = 1;
    SendMessage(WM_COMMAND, IDCANCEL);
    return 0;
}

LRESULT CMainDlg::OnDestroy(WindowMessage&)
{
    CUrlGrabber::DeleteAll();
    CPlayerCtrl::ExitAll();
    // The records point at their factories and channels: they go first.
    m_records.reset();
    RecorderFactory::DeleteAll();
    m_catalogue.reset();
    m_tray.reset();
    if (m_filterAdded) {
        if (CMessageLoop* loop = AppModule().GetMessageLoop()) {
            loop->RemoveMessageFilter(this);
            loop->RemoveIdleHandler(this);
        }
        m_filterAdded = false;
    }
    // The back-ends outlive the window: their late reports go nowhere.
    SetPlayerListener(nullptr);
    CSettings::SetMainWindow(nullptr);
    m_currentPlayer = nullptr;
    ::PostQuitMessage(0);
    return 0;
}

LRESULT CMainDlg::OnQueryEndSession(WindowMessage&)
{
    CSettings::Save();
    return TRUE;
}

LRESULT CMainDlg::OnEndSession(WindowMessage& msg)
{
    // The session ends the process without the exit command: the back-ends
    // put back what they changed for the user (the Media Player's overlay
    // preference) now. A cancelled end changes nothing.
    if (msg.wParam != FALSE)
        CPlayerCtrl::ExitAll();
    return 0;
}
