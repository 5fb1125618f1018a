#include "player/app/MainDlg.h"

#include "foundation/Lang.h"
#include "foundation/Skin.h"
#include "foundation/Utilities.h"
#include "framework/AppModule.h"
#include "framework/GdiHelpers.h"
#include "player/app/MainDlgSeams.h"
#include "player/app/Settings.h"
#include "player/catalogue/ChannelList.h"
#include "player/playback/EFPlayerCtrl.h"
#include "player/playback/MPlayerCtrl.h"
#include "player/playback/PlayerCtrl.h"
#include "player/playback/UrlGrabber.h"
#include "player/recording/RecordManager.h"
#include "player/recording/RecorderFactory.h"
#include "player/ui/BannerDlg.h"

#include <shellapi.h>

#include <cwchar>

namespace MainDlgSeams {

CMainDlg::BackEndMaker& BackEndMaker()
{
    static CMainDlg::BackEndMaker maker;
    return maker;
}

CMainDlg::ShellRunner& ShellRunner()
{
    static CMainDlg::ShellRunner runner;
    return runner;
}

std::wstring& CatalogueFile()
{
    static std::wstring file = L"Channels.brsc";
    return file;
}

std::wstring& RecordsFolder()
{
    static std::wstring folder;
    return folder;
}

// Registered by name and never deleted: they live until the process ends.
void MakeLiveMediaBackEnd(HWND playerArea, const RECT& rect)
{
    new CMPlayerCtrl(playerArea, rect);
}

void MakeLiveWebBackEnd(HWND playerArea, const RECT& rect)
{
    new CEFPlayerCtrl(playerArea, rect);
}

} // namespace MainDlgSeams

namespace {

constexpr int HeaderHeight = 48;
constexpr int AreaTop = 52;
constexpr int PanelWidth = 258;
// Where the back-ends are made; the player area moves them into place.
constexpr RECT BackEndRect{10, 10, 600, 400};

HICON LoadProgramIcon(int widthMetric, int heightMetric)
{
    return static_cast<HICON>(::LoadImageW(FrameworkResourceInstance(), MAKEINTRESOURCEW(IDR_MAINFRAME), IMAGE_ICON,
                                           ::GetSystemMetrics(widthMetric), ::GetSystemMetrics(heightMetric),
                                           LR_DEFAULTCOLOR));
}

} // namespace

void CMainDlg::SetBackEndMaker(BackEndMaker maker)
{
    MainDlgSeams::BackEndMaker() = std::move(maker);
}

void CMainDlg::SetShellRunner(ShellRunner runner)
{
    MainDlgSeams::ShellRunner() = std::move(runner);
}

void CMainDlg::SetCatalogueFile(const std::wstring& fileName)
{
    MainDlgSeams::CatalogueFile() = fileName.empty() ? std::wstring(L"Channels.brsc") : fileName;
}

void CMainDlg::SetRecordsFolder(const std::wstring& folder)
{
    MainDlgSeams::RecordsFolder() = folder;
}

CMainDlg::CMainDlg() = default;

CMainDlg::~CMainDlg()
{
    // A window destroyed without WM_DESTROY (never created) still lets go
    // of the records before the catalogue they point into.
    m_records.reset();
    if (m_bigIcon != nullptr)
        ::DestroyIcon(m_bigIcon);
    if (m_smallIcon != nullptr)
        ::DestroyIcon(m_smallIcon);
}

LRESULT CMainDlg::OnInitDialog(WindowMessage&)
{
    const bool visible = CSettings::GetBool("main_visible", true);
    if (visible)
        SetForegroundWindow();
    else
        ShowWindow(SW_HIDE);

    m_currentPlayer = nullptr;
    m_records.reset();
    m_tray.reset();
    m_startUpComplete = false;
    m_exiting = 0;
    m_passwordProved = 0;
    CSettings::SetMainWindow(m_hWnd);
    SetPlayerListener(this);

    m_accelerators = ::LoadAcceleratorsW(FrameworkResourceInstance(), MAKEINTRESOURCEW(IDR_MAINFRAME));
    m_bigIcon = LoadProgramIcon(SM_CXICON, SM_CYICON);
    m_smallIcon = LoadProgramIcon(SM_CXSMICON, SM_CYSMICON);
    SetIcon(m_bigIcon, TRUE);
    SetIcon(m_smallIcon, FALSE);

    if (CMessageLoop* loop = AppModule().GetMessageLoop()) {
        loop->AddMessageFilter(this);
        loop->AddIdleHandler(this);
        m_filterAdded = true;
    }

    m_catalogue = std::make_unique<CChannelList>(MainDlgSeams::CatalogueFile());
    m_channels.SetChannelList(m_catalogue.get());
    m_channels.Create(m_hWnd);

    RECT headerRect{0, 0, 0, HeaderHeight};
    m_header.Create(m_hWnd, &headerRect, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN);
    m_players.Create(m_hWnd);

    CUrlGrabber::CreateBuiltIn();
    m_webBackEndPending = !MainDlgSeams::BackEndMaker();
    if (m_webBackEndPending) {
        // The web browser back-end takes longer to make than all else the
        // first paint needs: it is made once the window is on the screen.
        MainDlgSeams::MakeLiveMediaBackEnd(m_players, BackEndRect);
    } else {
        MainDlgSeams::BackEndMaker()(m_players, BackEndRect);
    }
    CPlayerCtrl::SetVolumeAll(CSettings::GetInt("sound_volume", 50));
    GiveDefaultRecorderKeys();
    RecorderFactory::RegisterAll();
    // A restored record looks its recorder factory up when it is made: the
    // channels have their recorder keys and the factories exist by now. A
    // channel of the web back-end has none before that back-end exists,
    // which finds the same (no) factory as the key it then gets.
    const std::wstring& recordsFolder = MainDlgSeams::RecordsFolder();
    m_records = recordsFolder.empty()
                    ? std::make_unique<CRecordManager>(m_channels.GetRecordListBox())
                    : std::make_unique<CRecordManager>(m_channels.GetRecordListBox(), recordsFolder,
                                                       CSettings::GetRecordsNode());

    const RECT client = GetClientRect();
    Layout(client.right, client.bottom);

    WINDOWPLACEMENT placement{};
    const bool placed = CSettings::GetPlacement(placement);
    if (placed) {
        // A start into the notification area takes the place without
        // showing the window for a moment.
        if (!visible)
            placement.showCmd = SW_HIDE;
        ::SetWindowPlacement(m_hWnd, &placement);
    }

    if (CSettings::GetBool("topmost", false)) {
        ApplyTopmost(true);
        m_header.CheckMenuItem(CHeader::ToolsButton, ID_TOOLS_TOPMOST, true);
        // A window system may not take the place in the z-order before the
        // dialog exists: it is taken once more when the set-up is over.
        PostMessage(WM_REAPPLY_TOPMOST);
    }
    UpdateTitle();
    CreateTrayIcon();
    CloseBanner();

    if (!visible)
        HideToTray();
    else if (!placed)
        CenterWindow();
    // First in the queue: ahead of anything posted once the window shows.
    PostMessage(WM_COMPLETE_START_UP);
    return TRUE;
}

LRESULT CMainDlg::OnCompleteStartUp(WindowMessage&)
{
    // The window and its parts are on the screen before the rest is made.
    if (IsWindowVisible())
        ::RedrawWindow(m_hWnd, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    CompleteStartUp();
    return 0;
}

void CMainDlg::CompleteStartUp()
{
    if (m_startUpComplete || m_exiting || m_exitRunning)
        return;
    m_startUpComplete = true;
    if (m_webBackEndPending) {
        m_webBackEndPending = false;
        MainDlgSeams::MakeLiveWebBackEnd(m_players, BackEndRect);
        CPlayerCtrl::SetVolumeAll(CPlayerCtrl::GetCurrentVolume());
        // Its channels take its recorder key as the others took theirs.
        GiveDefaultRecorderKeys();
        const RECT area = m_players.GetClientRect();
        m_players.SendMessage(WM_SIZE, SIZE_RESTORED, MAKELPARAM(area.right, area.bottom));
    }

    if (CSettings::GetBool("automatic_cupdate", true))
        RunShell(L"open", KV::GetProgramFile(L"Chanfresh.exe"), L"-h", SW_HIDE);
    if (CSettings::GetBool("automatic_update", true))
        SetTimer(UpdaterTimer, UpdaterDelay);

    RestoreCurrentChannel();
    UpdateTitle();
}

void CMainDlg::GiveDefaultRecorderKeys()
{
    for (CChannel* channel : GetAllChannels()) {
        if (!channel->IsRecordable() || channel->GetRecorderKey() != "D")
            continue;
        // A channel whose back-end does not exist keeps "D", which no
        // recorder answers to: it cannot be recorded.
        if (CPlayerCtrl* backEnd = CPlayerCtrl::FindByName(channel->GetPlayerKey()))
            channel->SetRecorderKey(backEnd->GetRecorderKey());
    }
}

void CMainDlg::RestoreCurrentChannel()
{
    CChannel* channel = m_catalogue->GetCurrentChannel();
    if (channel == nullptr)
        return;
    CPlayerCtrl* backEnd = CPlayerCtrl::FindByName(channel->GetPlayerKey());
    if (backEnd == nullptr) {
        m_catalogue->SetCurrentChannel(nullptr);
        return;
    }
    m_currentPlayer = backEnd;
    m_players.EnableControls(backEnd->HasControls());
    m_players.GetControls().EnableRecord(channel->IsRecordable());
    ::ShowWindow(backEnd->GetWindow(), SW_SHOW);
    ::UpdateWindow(backEnd->GetWindow());
}

void CMainDlg::CreateTrayIcon()
{
    m_tray = std::make_unique<CTrayIcon>(IDI_TRAY);
    m_tray->SetOwner(m_hWnd, WM_TRAY_NOTIFY);
    m_tray->SetIcon(IDI_TRAY, CSettings::GetProductName());
    m_tray->SetMenu(IDR_TRAY_MENU);
}

void CMainDlg::ApplyTopmost(bool topmost)
{
    if (topmost)
        ModifyStyleEx(0, WS_EX_TOPMOST);
    else
        ModifyStyleEx(WS_EX_TOPMOST, 0);
    SetWindowPos(topmost ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
}

LRESULT CMainDlg::OnReapplyTopmost(WindowMessage&)
{
    if (CSettings::GetBool("topmost", false))
        ApplyTopmost(true);
    return 0;
}

void CMainDlg::UpdateTitle()
{
    std::wstring title = CSettings::GetProductName();
    const CChannel* channel = m_catalogue ? m_catalogue->GetCurrentChannel() : nullptr;
    const CRecord* record = m_records ? m_records->GetCurrentRecord() : nullptr;
    if (channel != nullptr)
        title += L" - " + channel->GetName();
    else if (record != nullptr)
        title += L" - " + record->GetName() + L" " + KV::Lang::GetText("str_record");
    SetWindowText(title.c_str());
}

bool CMainDlg::IsOtherDialog(HWND window) const
{
    HWND root = window != nullptr ? ::GetAncestor(window, GA_ROOT) : nullptr;
    if (root == nullptr || root == m_hWnd)
        return false;
    wchar_t className[16] = {};
    return ::GetClassNameW(root, className, 16) > 0 && std::wcscmp(className, L"#32770") == 0;
}

BOOL CMainDlg::PreTranslateMessage(MSG* msg)
{
    // The filters also see the messages of the modal dialogs it opens: while
    // one runs (the window is disabled) its keys are the dialog's own.
    if (!IsWindowEnabled())
        return FALSE;
    // A box or dialog it does not own (opened while the player was not in
    // front, or over the full-screen window) leaves it enabled: its keys are
    // its own too.
    if (IsOtherDialog(msg->hwnd))
        return FALSE;
    if (m_accelerators != nullptr && ::TranslateAcceleratorW(m_hWnd, m_accelerators, msg))
        return TRUE;
    if (msg->message == WM_KEYDOWN && msg->wParam == VK_ESCAPE)
        return TRUE;
    // Enter reaches the focused control (a channel list plays its channel).
    if (msg->message == WM_KEYDOWN && msg->wParam == VK_RETURN)
        return FALSE;
    return ::IsDialogMessageW(m_hWnd, msg);
}

void CMainDlg::Layout(int width, int height)
{
    if (m_players.IsWindow())
        m_players.SetWindowPos(nullptr, 4, AreaTop, width - PanelWidth - 12, height - AreaTop - 4, SWP_NOZORDER);
    if (m_channels.IsWindow())
        m_channels.SetWindowPos(nullptr, width - PanelWidth - 4, AreaTop, PanelWidth, height - AreaTop - 4,
                                SWP_NOZORDER);
    if (m_header.IsWindow())
        m_header.SetWindowPos(nullptr, 0, 0, width, HeaderHeight, SWP_NOZORDER);
}

LRESULT CMainDlg::OnSize(WindowMessage& msg)
{
    // A minimised window keeps its parts' sizes.
    if (msg.wParam == SIZE_MINIMIZED)
        return 0;
    Layout(msg.Width(), msg.Height());
    if (msg.wParam == SIZE_MAXIMIZED) {
        m_players.Invalidate(TRUE);
        if (m_currentPlayer != nullptr)
            ::InvalidateRect(m_currentPlayer->GetWindow(), nullptr, TRUE);
        if (m_channels.IsWindow())
            m_channels.Relayout();
    }
    return 0;
}

LRESULT CMainDlg::OnGetMinMaxInfo(WindowMessage& msg)
{
    MINMAXINFO* info = reinterpret_cast<MINMAXINFO*>(msg.lParam);
    info->ptMinTrackSize.x = MinTrackWidth;
    info->ptMinTrackSize.y = MinTrackHeight;
    return 0;
}

LRESULT CMainDlg::OnPaint(WindowMessage&)
{
    CPaintDC paint(m_hWnd);
    const RECT client = GetClientRect();
    ::FillRect(paint, &client, KV::Skin::GetBkBrush());
    return 0;
}

LRESULT CMainDlg::OnEraseBackground(WindowMessage&)
{
    return TRUE;
}

LRESULT CMainDlg::OnColorDialog(WindowMessage&)
{
    return 0;
}
