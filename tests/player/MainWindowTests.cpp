// The main window as a whole: layout, closing to the tray and back, exit
// with its save, restart with its restore, topmost, the updaters and the
// keyboard.

#include "foundation/DataKey.h"
#include "foundation/Lang.h"
#include "foundation/Utilities.h"
#include "foundation/MemoryStream.h"
#include "player/app/Settings.h"
#include "player/recording/RecorderFactory.h"
#include "tests/player/MainWindowFixture.h"

#include <cstring>
#include <functional>

namespace PlayerTest {
namespace {

RECT RectInParent(HWND window)
{
    RECT rect{};
    ::GetWindowRect(window, &rect);
    ::MapWindowPoints(nullptr, ::GetParent(window), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

void ExpectRect(HWND window, int x, int y, int width, int height)
{
    const RECT rect = RectInParent(window);
    EXPECT_EQ(rect.left, x);
    EXPECT_EQ(rect.top, y);
    EXPECT_EQ(rect.right - rect.left, width);
    EXPECT_EQ(rect.bottom - rect.top, height);
}

using MainWindow = MainWindowTest;

TEST_F(MainWindow, LaysOutHeaderPlayerAreaAndPanelForA790x480ClientArea)
{
    Open();
    const RECT client = Main().GetClientRect();
    ASSERT_EQ(client.right, 790);
    ASSERT_EQ(client.bottom, 480);
    ExpectRect(Main().GetHeader(), 0, 0, 790, 48);
    ExpectRect(Main().GetPlayers(), 4, 52, 520, 424);
    ExpectRect(Panel(), 528, 52, 258, 424);

    MINMAXINFO info{};
    Main().SendMessage(WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(info.ptMinTrackSize.x, 790);
    EXPECT_EQ(info.ptMinTrackSize.y, 480);

    EXPECT_EQ(Main().GetWindowText(), L"Brisvane Recorder");
    EXPECT_EQ(CSettings::GetMainWindow(), static_cast<HWND>(Main()));
    ASSERT_NE(Main().GetTrayIcon(), nullptr);
    EXPECT_EQ(Main().GetTrayIcon()->GetData().uID, 128u);
    EXPECT_STREQ(Main().GetTrayIcon()->GetData().szTip, L"Brisvane Recorder");
    EXPECT_EQ(Main().GetTrayIcon()->GetMenuId(), 209u);
    EXPECT_NE(Main().SendMessage(WM_GETICON, ICON_BIG), 0);
    EXPECT_NE(Main().SendMessage(WM_GETICON, ICON_SMALL), 0);
}

TEST_F(MainWindow, CloseHidesToTheTrayAndTheIconsDoubleClickShowsAndHidesIt)
{
    Open();
    Main().SendMessage(WM_COMMAND, IDCANCEL);
    EXPECT_FALSE(Main().IsWindowVisible());
    EXPECT_TRUE(Main().IsWindow());

    Main().SendMessage(WM_TRAY_NOTIFY, 128, WM_LBUTTONDBLCLK);
    EXPECT_TRUE(Main().IsWindowVisible());
    EXPECT_FALSE(Main().IsIconic());

    Main().SendMessage(WM_TRAY_NOTIFY, 128, WM_LBUTTONDBLCLK);
    EXPECT_FALSE(Main().IsWindowVisible());

    Main().SendMessage(WM_TRAY_NOTIFY, 128, WM_LBUTTONDBLCLK);
    ASSERT_TRUE(Main().IsWindowVisible());
    // Button releases bring it to the front and change nothing else.
    Main().SendMessage(WM_TRAY_NOTIFY, 128, WM_LBUTTONUP);
    EXPECT_TRUE(Main().IsWindowVisible());

    // The close box goes the same way.
    Main().SendMessage(WM_SYSCOMMAND, SC_CLOSE);
    Pump();
    EXPECT_FALSE(Main().IsWindowVisible());
}

TEST_F(MainWindow, StartsInTheNotificationAreaWhenItWasLeftThere)
{
    WINDOWPLACEMENT placement{};
    placement.length = sizeof(placement);
    placement.showCmd = SW_SHOWNORMAL;
    placement.rcNormalPosition = RECT{50, 60, 900, 660};
    CSettings::SetPlacement(placement);
    CSettings::SetBool("main_visible", false);
    m_main = std::make_unique<CMainDlg>();
    ASSERT_NE(m_main->Create(nullptr), nullptr);
    Pump();
    EXPECT_FALSE(Main().IsWindowVisible());
    ASSERT_NE(Main().GetTrayIcon(), nullptr);
    Main().SendMessage(WM_TRAY_NOTIFY, 128, WM_LBUTTONDBLCLK);
    EXPECT_TRUE(Main().IsWindowVisible());
    const RECT rect = Main().GetWindowRect();
    EXPECT_EQ(rect.left, 50);
    EXPECT_EQ(rect.top, 60);
}

TEST_F(MainWindow, EscapeNeverClosesIt)
{
    Open();
    Panel().GetChannelList().SetFocus();
    PostKey(Panel().GetChannelList(), VK_ESCAPE);
    PostKey(Main(), VK_ESCAPE);
    Pump();
    EXPECT_TRUE(Main().IsWindowVisible());
}

// A box the main window does not own (opened while another program was in
// front) leaves it enabled, and modal loops offer their keys to its filter:
// Esc and the shortcuts stay the box's own, as on the main window they stay
// the main window's.
TEST_F(MainWindow, ItsKeyFilterLeavesTheKeysOfOtherDialogsAlone)
{
    Open();
    HWND box = ::CreateWindowExW(0, L"#32770", L"unowned box", WS_POPUP | WS_VISIBLE, 0, 0, 100, 80, nullptr,
                                 nullptr, ::GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(box, nullptr);
    HWND button = ::CreateWindowExW(0, L"BUTTON", L"OK", WS_CHILD | WS_VISIBLE, 0, 0, 40, 20, box, nullptr,
                                    ::GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(button, nullptr);
    ASSERT_TRUE(Main().IsWindowEnabled());
    for (HWND target : {box, button}) {
        MSG escape = {target, WM_KEYDOWN, VK_ESCAPE, 0, 0, {0, 0}};
        EXPECT_FALSE(Main().PreTranslateMessage(&escape));
        MSG altEnter = {target, WM_SYSKEYDOWN, VK_RETURN, 1 << 29, 0, {0, 0}};
        EXPECT_FALSE(Main().PreTranslateMessage(&altEnter));
    }
    MSG ownEscape = {Panel().GetChannelList().m_hWnd, WM_KEYDOWN, VK_ESCAPE, 0, 0, {0, 0}};
    EXPECT_TRUE(Main().PreTranslateMessage(&ownEscape));
    ::DestroyWindow(box);
}

TEST_F(MainWindow, QueryEndSessionSavesAndAllowsTheEnd)
{
    Open();
    ::DeleteFileW(SettingsFilePath().c_str());
    EXPECT_EQ(Main().SendMessage(WM_QUERYENDSESSION, 0, 0), TRUE);
    EXPECT_NE(::GetFileAttributesW(SettingsFilePath().c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(MainWindow, AnEndingSessionGivesTheBackEndsTheirExitCall)
{
    Open();
    // A cancelled end: the program goes on as it was.
    Main().SendMessage(WM_ENDSESSION, FALSE, 0);
    EXPECT_EQ(Media().exits, 0);
    EXPECT_EQ(Web().exits, 0);
    Main().SendMessage(WM_QUERYENDSESSION, 0, 0);
    Main().SendMessage(WM_ENDSESSION, TRUE, 0);
    EXPECT_EQ(Media().exits, 1);
    EXPECT_EQ(Web().exits, 1);
}

TEST_F(MainWindow, TopmostCommandTogglesTheWindowTheMenuCheckAndTheOption)
{
    Open();
    HMENU tools = Main().GetHeader().GetButton(CHeader::ToolsButton).menu;
    for (bool expected : {true, false}) {
        Main().SendMessage(WM_COMMAND, ID_TOOLS_TOPMOST);
        EXPECT_EQ((Main().GetExStyle() & WS_EX_TOPMOST) != 0, expected);
        EXPECT_EQ((::GetMenuState(tools, ID_TOOLS_TOPMOST, MF_BYCOMMAND) & MF_CHECKED) != 0, expected);
        EXPECT_EQ(CSettings::GetBool("topmost", !expected), expected);
    }
}

TEST_F(MainWindow, StartsTopmostWhenTheOptionIsOn)
{
    CSettings::SetBool("topmost", true);
    Open();
    ASSERT_TRUE(PumpUntil([&] { return (Main().GetExStyle() & WS_EX_TOPMOST) != 0; }));
    HMENU tools = Main().GetHeader().GetButton(CHeader::ToolsButton).menu;
    EXPECT_NE(::GetMenuState(tools, ID_TOOLS_TOPMOST, MF_BYCOMMAND) & MF_CHECKED, 0u);
}

TEST_F(MainWindow, StartsTheCatalogueUpdaterAtOnceAndTheProgramUpdaterOnItsTimer)
{
    CSettings::SetBool("automatic_update", true);
    CSettings::SetBool("automatic_cupdate", true);
    Open();
    ASSERT_EQ(ShellCalls().size(), 1u);
    EXPECT_EQ(ShellCalls()[0].verb, L"open");
    EXPECT_EQ(ShellCalls()[0].file, KV::GetProgramFile(L"Chanfresh.exe"));
    EXPECT_EQ(ShellCalls()[0].parameters, L"-h");
    EXPECT_EQ(ShellCalls()[0].show, SW_HIDE);

    Main().SendMessage(WM_TIMER, CMainDlg::UpdaterTimer);
    ASSERT_EQ(ShellCalls().size(), 2u);
    EXPECT_EQ(ShellCalls()[1].file, KV::GetProgramFile(L"Updater.exe"));
    EXPECT_EQ(ShellCalls()[1].parameters, L"-h");
    EXPECT_EQ(ShellCalls()[1].show, SW_HIDE);
    // The timer was set once and is gone.
    EXPECT_FALSE(::KillTimer(Main(), CMainDlg::UpdaterTimer));
}

TEST_F(MainWindow, UpdaterMenuCommandsShowTheWizardsAndTheHomePageOpensTheSite)
{
    Open();
    EXPECT_TRUE(ShellCalls().empty());
    Main().SendMessage(WM_COMMAND, ID_UPDATE);
    Main().SendMessage(WM_COMMAND, ID_CHANNEL_UPDATE);
    Main().SendMessage(WM_COMMAND, ID_HOME_PAGE);
    ASSERT_EQ(ShellCalls().size(), 3u);
    EXPECT_EQ(ShellCalls()[0].verb, L"");
    EXPECT_EQ(ShellCalls()[0].file, KV::GetProgramFile(L"Updater.exe"));
    EXPECT_EQ(ShellCalls()[0].parameters, L"");
    EXPECT_EQ(ShellCalls()[0].show, SW_SHOWNORMAL);
    EXPECT_EQ(ShellCalls()[1].file, KV::GetProgramFile(L"Chanfresh.exe"));
    EXPECT_EQ(ShellCalls()[2].verb, L"open");
    EXPECT_EQ(ShellCalls()[2].file.rfind(L"http", 0), 0u);
    EXPECT_NE(ShellCalls()[2].file.find(L"/en/?app=brsv&ver=2.3.2"), std::wstring::npos);
}

TEST_F(MainWindow, SettingsAndAboutCommandsOpenTheirDialogs)
{
    Open();
    ModalDriver driver({Press(IDCANCEL), Press(IDOK)});
    Main().SendMessage(WM_COMMAND, ID_TOOLS_SETTINGS);
    Main().SendMessage(WM_COMMAND, ID_APP_ABOUT);
    ASSERT_EQ(driver.Dialogs().size(), 2u);
    EXPECT_EQ(driver.Dialogs()[0].caption, KV::Lang::GetText("dlg_settings"));
    EXPECT_NE(driver.Dialogs()[1].caption.find(KV::Lang::GetText("dlg_about")), std::wstring::npos);
    EXPECT_TRUE(Main().IsWindowEnabled());
}

TEST_F(MainWindow, RestoresTheCurrentChannelsBackEndWithoutPlaying)
{
    CSettings::SetString("cur_channel", L"fr_tst_cine");
    Open();
    EXPECT_EQ(Main().GetCurrentPlayer(), &Media());
    EXPECT_TRUE(::IsWindowVisible(Media().GetWindow()));
    EXPECT_FALSE(::IsWindowVisible(Web().GetWindow()));
    EXPECT_TRUE(Media().plays.empty());
    EXPECT_TRUE(::IsWindowEnabled(Controls().GetDlgItem(IDC_RECORD)));
    EXPECT_TRUE(::IsWindowEnabled(Controls().GetDlgItem(IDC_PLAY_STOP)));
    EXPECT_EQ(Main().GetWindowText(), L"Brisvane Recorder - Cine Soir");
}

TEST_F(MainWindow, ForgetsARestoredChannelWhoseBackEndDoesNotExist)
{
    CSettings::SetString("cur_channel", L"fr_tst_none");
    Open();
    EXPECT_EQ(Main().GetCatalogue()->GetCurrentChannel(), nullptr);
    EXPECT_EQ(Main().GetCurrentPlayer(), nullptr);
    EXPECT_EQ(CSettings::GetString("cur_channel", L"?"), L"");
    EXPECT_EQ(Main().GetWindowText(), L"Brisvane Recorder");
}

TEST_F(MainWindow, GivesDefaultRecorderKeysOfTheChannelsBackEnd)
{
    Open();
    EXPECT_EQ(Channel(Ids::One)->GetRecorderKey(), "mms");
    EXPECT_EQ(Channel(Ids::Cine)->GetRecorderKey(), "mms");
    EXPECT_EQ(Channel(Ids::Radio)->GetRecorderKey(), "mp3");
    EXPECT_EQ(Media().volumes, std::vector<int>{50});
    EXPECT_NE(RecorderFactory::Find("mms"), nullptr);
    EXPECT_NE(RecorderFactory::Find("mp3"), nullptr);
    Close();
    EXPECT_EQ(RecorderFactory::Find("mms"), nullptr);
    EXPECT_EQ(Media().exits, 1);
}

TEST_F(MainWindow, PutsTheTrayIconBackWhenExplorerRestarts)
{
    Open();
    CTrayIcon* tray = Main().GetTrayIcon();
    ASSERT_NE(tray, nullptr);
    ASSERT_TRUE(tray->IsShown());
    NOTIFYICONDATAW gone = tray->GetData();
    ASSERT_TRUE(::Shell_NotifyIconW(NIM_DELETE, &gone));
    // Explorer tells every top-level window.
    ::PostMessageW(Main(), GetTaskbarCreatedMessage(), 0, 0);
    Pump();
    EXPECT_TRUE(tray->IsShown());
    EXPECT_STREQ(tray->GetData().szTip, L"Brisvane Recorder");
}

// The notification area as it is at a start at logon or while Explorer
// restarts: it refuses icons until it is told to take them.
class RefusingNotificationArea {
public:
    RefusingNotificationArea() { CTrayIcon::SetNotifyCall(&Notify); Refusing() = true; }
    ~RefusingNotificationArea() { CTrayIcon::SetNotifyCall(nullptr); Refusing() = false; }
    RefusingNotificationArea(const RefusingNotificationArea&) = delete;
    RefusingNotificationArea& operator=(const RefusingNotificationArea&) = delete;
    void Appear() { Refusing() = false; }

private:
    static bool& Refusing()
    {
        static bool refusing = false;
        return refusing;
    }
    static BOOL WINAPI Notify(DWORD operation, PNOTIFYICONDATAW data)
    {
        if (Refusing() && (operation == NIM_ADD || operation == NIM_MODIFY))
            return FALSE;
        return ::Shell_NotifyIconW(operation, data);
    }
};

TEST_F(MainWindow, WithoutItsTrayIconCloseMinimisesAndTheIconComesWhenTheAreaAppears)
{
    struct Case {
        const char* how;
        std::function<void(HWND)> announce;
    };
    const Case cases[] = {
        {"sent", [](HWND window) { ::SendMessageW(window, GetTaskbarCreatedMessage(), 0, 0); }},
        {"sent without waiting",
         [](HWND window) { ::SendNotifyMessageW(window, GetTaskbarCreatedMessage(), 0, 0); }},
        {"posted", [](HWND window) { ::PostMessageW(window, GetTaskbarCreatedMessage(), 0, 0); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.how);
        RefusingNotificationArea area;
        Open();
        CTrayIcon* tray = Main().GetTrayIcon();
        ASSERT_NE(tray, nullptr);
        EXPECT_FALSE(tray->IsShown());

        // Hidden, it could not be reached: it stays on the taskbar.
        Main().SendMessage(WM_COMMAND, IDCANCEL);
        EXPECT_TRUE(Main().IsWindowVisible());
        EXPECT_TRUE(Main().IsIconic());

        area.Appear();
        c.announce(Main());
        Pump();
        EXPECT_TRUE(tray->IsShown());
        EXPECT_STREQ(tray->GetData().szTip, L"Brisvane Recorder");
        // With the icon there, closing goes to the notification area again.
        Main().SendMessage(WM_TRAY_NOTIFY, 128, WM_LBUTTONDBLCLK);
        ASSERT_TRUE(Main().IsWindowVisible());
        Main().SendMessage(WM_COMMAND, IDCANCEL);
        EXPECT_FALSE(Main().IsWindowVisible());
        Close();
        m_main.reset();
    }
}

TEST_F(MainWindow, AStartIntoTheNotificationAreaWithoutItsIconStaysOnTheTaskbar)
{
    RefusingNotificationArea area;
    CSettings::SetBool("main_visible", false);
    m_main = std::make_unique<CMainDlg>();
    ASSERT_NE(m_main->Create(nullptr), nullptr);
    Pump();
    EXPECT_TRUE(Main().IsWindowVisible());
    EXPECT_TRUE(Main().IsIconic());
}

TEST_F(MainWindow, AltEnterTogglesFullScreenAndTheOtherShortcutsDoNothingHarmful)
{
    Open();
    Play(Channel(Ids::One));
    PostAltKey(Main(), VK_RETURN);
    EXPECT_EQ(Media().fullScreenToggles, 1);
    Main().SendMessage(WM_COMMAND, ID_PRINT_KEY);
    Main().SendMessage(WM_COMMAND, ID_INFO_KEY);
    EXPECT_TRUE(Main().IsWindowVisible());
}

TEST_F(MainWindow, AltKeysOpenTheHeaderMenus)
{
    Open();
    MenuWatcher watcher;
    PostAltKey(Main(), 'H');
    PostAltKey(Main(), 'T');
    ASSERT_TRUE(PumpUntil([&] { return watcher.Menus().size() >= 2; }));
    // Help: home page, separator, the two updates, separator, about.
    const MenuWatcher::Menu& help = watcher.Menus()[0];
    ASSERT_EQ(help.size(), 6u);
    EXPECT_EQ(help[0].id, static_cast<UINT>(ID_HOME_PAGE));
    EXPECT_EQ(help[5].id, static_cast<UINT>(ID_APP_ABOUT));
    EXPECT_EQ(help[5].text, KV::Lang::GetText("menu_about"));
    const MenuWatcher::Menu& tools = watcher.Menus()[1];
    ASSERT_EQ(tools.size(), 5u);
    EXPECT_EQ(tools[0].text, KV::Lang::GetText("menu_tools_topmost"));
    EXPECT_EQ(tools[4].id, static_cast<UINT>(ID_APP_EXIT));
}

// Exit, then a new window over the saved file: what the user set comes back.
TEST_F(MainWindow, ExitSavesTheSettingsAndANewStartRestoresThem)
{
    Open();
    CComboBox country(Panel().GetDlgItem(IDC_COUNTRY_FILTER));
    CComboBox tvRadio(Panel().GetDlgItem(IDC_TVRADIO_FILTER));
    country.SetCurSel(2);
    Panel().SendMessage(WM_COMMAND, MAKEWPARAM(IDC_COUNTRY_FILTER, CBN_SELCHANGE), reinterpret_cast<LPARAM>(HWND(country)));
    tvRadio.SetCurSel(1);
    Panel().SendMessage(WM_COMMAND, MAKEWPARAM(IDC_TVRADIO_FILTER, CBN_SELCHANGE), reinterpret_cast<LPARAM>(HWND(tvRadio)));
    CChannel* one = Channel(Ids::One);
    one->SetFavourite(true);
    one->SetCurrentSource(1);
    Play(one);
    ClickTab(CChannelsCtrl::FavoritesTab);
    Main().SetWindowPos(nullptr, 33, 44, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    const RECT placed = Main().GetWindowRect();

    Main().SendMessage(WM_COMMAND, ID_APP_EXIT);
    ASSERT_FALSE(Main().IsWindow());
    EXPECT_GE(Media().stops, 1);
    EXPECT_EQ(Media().exits, 1);

    KV::DataKey saved;
    ASSERT_TRUE(saved.Load(SettingsFilePath()));
    EXPECT_EQ(saved.GetName(), "set");
    const KV::DataKey* options = saved.GetKey("options");
    ASSERT_NE(options, nullptr);
    EXPECT_EQ(options->GetInt("cur_country", -1), 2);
    EXPECT_EQ(options->GetInt("cur_tvr", -1), 1);
    EXPECT_EQ(options->GetInt("channels_tab", -1), 1);
    EXPECT_EQ(options->GetStringW("cur_channel", L""), L"de_tst_one");
    EXPECT_TRUE(options->GetBool("main_visible", false));
    const KV::DataKey* state = saved.GetKey("channels") ? saved.GetKey("channels")->GetKey("de_tst_one") : nullptr;
    ASSERT_NE(state, nullptr);
    EXPECT_TRUE(state->GetBool("f", false));
    EXPECT_EQ(state->GetInt("cu", -1), 1);
    KV::MemoryStream* placementBytes = saved.GetBuffer("maindlg_placement");
    ASSERT_NE(placementBytes, nullptr);
    ASSERT_EQ(placementBytes->GetSize(), 44u);
    WINDOWPLACEMENT placement{};
    std::memcpy(&placement, placementBytes->GetBuffer(), 44);
    EXPECT_EQ(placement.rcNormalPosition.left, placed.left);
    EXPECT_EQ(placement.rcNormalPosition.top, placed.top);

    // The next start.
    m_main.reset();
    TheStandIns().Clear();
    CSettings::Load(SettingsFileName());
    m_main = std::make_unique<CMainDlg>();
    ASSERT_NE(m_main->Create(nullptr), nullptr);
    m_main->ShowWindow(SW_SHOW);
    Pump();
    EXPECT_EQ(CComboBox(Panel().GetDlgItem(IDC_COUNTRY_FILTER)).GetCurSel(), 2);
    EXPECT_EQ(CComboBox(Panel().GetDlgItem(IDC_TVRADIO_FILTER)).GetCurSel(), 1);
    EXPECT_EQ(Panel().GetTab().GetSelectedIndex(), 1);
    EXPECT_TRUE(Panel().GetFavoriteList().IsWindowVisible());
    EXPECT_FALSE(Panel().GetChannelList().IsWindowVisible());
    EXPECT_FALSE(::IsWindowVisible(Panel().GetDlgItem(IDC_SEARCH)));
    one = Channel(Ids::One);
    EXPECT_EQ(Main().GetCatalogue()->GetCurrentChannel(), one);
    EXPECT_TRUE(one->IsFavourite());
    EXPECT_EQ(one->GetCurrentSourceIndex(), 1);
    EXPECT_EQ(Panel().GetFavoriteList().GetCount(), 1);
    EXPECT_EQ(Main().GetWindowText(), L"Brisvane Recorder - Erstes Test");
    EXPECT_EQ(Main().GetCurrentPlayer(), &Media());
    EXPECT_TRUE(Media().plays.empty());
    const RECT restored = Main().GetWindowRect();
    EXPECT_EQ(restored.left, placed.left);
    EXPECT_EQ(restored.top, placed.top);
    EXPECT_EQ(restored.right - restored.left, placed.right - placed.left);
}

TEST_F(MainWindow, ExitGoesOnWhenTheBackEndNeverReportsItselfStopped)
{
    Open();
    Play(Channel(Ids::One));
    Media().stopsOnRequest = false;
    Main().SendMessage(WM_COMMAND, ID_APP_EXIT);
    EXPECT_FALSE(Main().IsWindow());
}

}  // namespace
}  // namespace PlayerTest
