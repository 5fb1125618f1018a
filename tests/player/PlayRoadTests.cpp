// The play road: from a double-click, Enter, the control bar or a favourite
// step to the back-end named by the channel, with the parental lock, the
// grabbers and the status reports coming back.

#include "foundation/Lang.h"
#include "player/app/Settings.h"
#include "player/catalogue/SystemMessageBox.h"
#include "player/playback/UrlGrabber.h"
#include "player/playback/UrlGrabberSites.h"
#include "player/resources/Resource.h"
#include "player/ui/MsgBox.h"
#include "tests/player/MainWindowFixture.h"

namespace PlayerTest {
namespace {

class PlayRoad : public MainWindowTest {
protected:
    std::wstring Address(const wchar_t* path) const
    {
        return L"http://127.0.0.1:" + std::to_wstring(m_server.GetPort()) + L"/" + path;
    }
    void ClickBarButton(int id)
    {
        ::PostMessageW(Controls().GetDlgItem(id), BM_CLICK, 0, 0);
        Pump();
    }
    // Makes the channels favourites through the channel menu's command.
    void MakeFavorites(std::initializer_list<const char*> ids)
    {
        CChannelListBox& list = Panel().GetChannelList();
        for (const char* id : ids) {
            list.SetCurSel(list.FindChannel(Channel(id)));
            Panel().SendMessage(WM_COMMAND, ID_CHANNEL_FAVORITE);
        }
    }
    const CStandInPlayer::PlayCall* LastPlay(const CStandInPlayer& player) const
    {
        return player.plays.empty() ? nullptr : &player.plays.back();
    }
};

TEST_F(PlayRoad, DoubleClickPlaysTheChannelsAddressOnTheBackEndItNames)
{
    Open();
    DoubleClick(Panel().GetChannelList(), Channel(Ids::One));
    ASSERT_EQ(Media().plays.size(), 1u);
    EXPECT_EQ(Media().plays[0].url, Address(L"one-512.asf"));
    EXPECT_EQ(Media().plays[0].title, L"Erstes Test");
    EXPECT_EQ(Main().GetCurrentPlayer(), &Media());
    EXPECT_TRUE(::IsWindowVisible(Media().GetWindow()));
    EXPECT_EQ(Main().GetCatalogue()->GetCurrentChannel(), Channel(Ids::One));
    EXPECT_EQ(CSettings::GetString("cur_channel", L""), L"de_tst_one");
    EXPECT_EQ(Main().GetWindowText(), L"Brisvane Recorder - Erstes Test");
    EXPECT_TRUE(Controls().IsPlaying());
    EXPECT_TRUE(::IsWindowEnabled(Controls().GetDlgItem(IDC_RECORD)));
    EXPECT_TRUE(::IsWindowEnabled(Controls().GetDlgItem(IDC_FULL_SCREEN)));

    // Another back-end: the first stops and hides, the second shows and
    // takes the bar's full-screen button and volume with it.
    DoubleClick(Panel().GetChannelList(), Channel(Ids::Web));
    EXPECT_EQ(Media().stops, 1);
    EXPECT_FALSE(::IsWindowVisible(Media().GetWindow()));
    EXPECT_TRUE(::IsWindowVisible(Web().GetWindow()));
    ASSERT_EQ(Web().plays.size(), 1u);
    EXPECT_EQ(Web().plays[0].url, Address(L"sport.html"));
    EXPECT_FALSE(::IsWindowEnabled(Controls().GetDlgItem(IDC_FULL_SCREEN)));
    EXPECT_FALSE(::IsWindowEnabled(Controls().GetDlgItem(IDC_VOLUME)));
    EXPECT_FALSE(::IsWindowEnabled(Controls().GetDlgItem(IDC_RECORD)));
}

TEST_F(PlayRoad, PlaysTheStreamTheUserChose)
{
    Open();
    Channel(Ids::One)->SetCurrentSource(1);
    Play(Channel(Ids::One));
    ASSERT_NE(LastPlay(Media()), nullptr);
    EXPECT_EQ(LastPlay(Media())->url, Address(L"one-256.asf"));
}

TEST_F(PlayRoad, EnterInTheChannelListPlaysTheSelectedChannel)
{
    Open();
    CChannelListBox& list = Panel().GetChannelList();
    list.SetFocus();
    list.SetCurSel(list.FindChannel(Channel(Ids::Info)));
    PostKey(list, VK_RETURN);
    Pump();
    ASSERT_NE(LastPlay(Media()), nullptr);
    EXPECT_EQ(LastPlay(Media())->title, L"Info Matin");
}

TEST_F(PlayRoad, ControlBarPlaysTheCurrentChannelStopsAndGoesFullScreen)
{
    Open();
    Main().SendMessage(WM_PLAY_CHANNEL, 0, 0);
    EXPECT_TRUE(Media().plays.empty());

    Play(Channel(Ids::Radio));
    ClickBarButton(IDC_PLAY_STOP);  // playing: stop
    EXPECT_EQ(Media().stops, 1);
    EXPECT_FALSE(Controls().IsPlaying());
    ClickBarButton(IDC_PLAY_STOP);  // stopped: the current channel again
    ASSERT_EQ(Media().plays.size(), 2u);
    EXPECT_EQ(Media().plays[1].title, L"Bayern Welle");
    ClickBarButton(IDC_FULL_SCREEN);
    EXPECT_EQ(Media().fullScreenToggles, 1);
    // Playing stops the back-end first, also when it stays the same one.
    EXPECT_EQ(Media().stops, 2);
    Main().SendMessage(WM_STOP_CHANNEL);
    EXPECT_EQ(Media().stops, 3);
}

TEST_F(PlayRoad, ChannelWithoutItsBackEndBecomesCurrentAndPlaysNothing)
{
    Open();
    Play(Channel(Ids::One));
    Play(Channel(Ids::NoBackEnd));
    EXPECT_EQ(Media().stops, 1);
    EXPECT_FALSE(::IsWindowVisible(Media().GetWindow()));
    EXPECT_EQ(Main().GetCurrentPlayer(), nullptr);
    EXPECT_EQ(Main().GetCatalogue()->GetCurrentChannel(), Channel(Ids::NoBackEnd));
    EXPECT_EQ(Media().plays.size(), 1u);
    EXPECT_EQ(Main().GetWindowText(), L"Brisvane Recorder - Erstes Test");
    EXPECT_FALSE(Controls().IsPlaying());
}

TEST_F(PlayRoad, PointersThatAreNoChannelOfTheCatalogueAreIgnored)
{
    Open();
    int notAChannel = 0;
    Main().SendMessage(WM_PLAY_CHANNEL, 0, reinterpret_cast<LPARAM>(&notAChannel));
    Main().SendMessage(WM_RECORD_CHANNEL, 0, reinterpret_cast<LPARAM>(&notAChannel));
    EXPECT_TRUE(Media().plays.empty());
    EXPECT_EQ(Main().GetCatalogue()->GetCurrentChannel(), nullptr);
}

TEST_F(PlayRoad, StatusReportsOfTheCurrentBackEndReachTheControlBar)
{
    Open();
    Play(Channel(Ids::One));
    struct Case {
        int code;
        const wchar_t* text;
        std::wstring shown;
        bool playingAfter;
    };
    const std::wstring error = KV::Lang::GetText("str_error");
    const Case cases[] = {
        {0, L"Buffering 40%", L"Buffering 40%", true},
        {2, L"ignored", L"Buffering 40%", true},
        {-3, L"ignored", L"Buffering 40%", true},
        {1, L"Stopped", L"Stopped", false},
        {-1, L"Engine failure", error, false},
    };
    for (const Case& c : cases) {
        Controls().SetPlaying(true);
        Media().Report(c.text, c.code);
        EXPECT_EQ(Controls().GetStatus(), c.shown) << c.code;
        EXPECT_EQ(Controls().IsPlaying(), c.playingAfter) << c.code;
    }
    // Another back-end's reports are not the current one's.
    Web().Report(L"from the browser", 0);
    EXPECT_EQ(Controls().GetStatus(), error);
}

TEST_F(PlayRoad, BusyServerShowsTheErrorAndTellsTheUser)
{
    Open();
    Play(Channel(Ids::One));
    ModalDriver driver({Press(IDOK)});
    Media().Report(L"busy", -2);
    EXPECT_EQ(Controls().GetStatus(), KV::Lang::GetText("str_error"));
    EXPECT_TRUE(Controls().IsPlaying());
    ASSERT_EQ(driver.Dialogs().size(), 1u);
    EXPECT_NE(driver.Dialogs()[0].caption.find(L"Brisvane"), std::wstring::npos);
}

TEST_F(PlayRoad, BusyServerMessageIsTheSkinnedBoxWithTheTextAsItStands)
{
    Open();
    Play(Channel(Ids::One));
    std::wstring text;
    LONG textLeft = 0;
    ModalDriver driver({[&](HWND dialog) {
        if (const CMsgBox* box = dynamic_cast<const CMsgBox*>(CWindowImplRoot::FromHandle(dialog))) {
            text = box->GetText();
            textLeft = box->GetTextRect().left;
        }
        Press(IDOK)(dialog);
    }});
    Media().Report(L"busy", -2);
    ASSERT_EQ(driver.Dialogs().size(), 1u);
    EXPECT_EQ(text, KV::Lang::GetText("msg_server_busy"));
    // ShowMsgBoxText: a text as it stands starts at 70, one by key at 60.
    EXPECT_EQ(textLeft, 70);
}

class GrabberRoad : public PlayRoad {
protected:
    void SetUp() override
    {
        PlayRoad::SetUp();
        CGrabberSites sites = GetGrabberSites();
        sites.tvLineHost = L"127.0.0.1";
        sites.tvLinePort = m_server.GetPort();
        sites.tvLineStreamServer = L"127.0.0.1:8765";
        m_previousSites = SetGrabberSites(sites);
    }
    void TearDown() override
    {
        SetGrabberSites(m_previousSites);
        PlayRoad::TearDown();
    }
    CGrabberSites m_previousSites;
};

TEST_F(GrabberRoad, PlaysTheAddressTheGrabberResolvedFromTheChannelsPage)
{
    m_server.SetPage("ru/tv/?channel=channel-7", "<html><a href=\"/watch?key=abc123\">live</a></html>");
    Open();
    Play(Channel(Ids::Grabbed));
    ASSERT_NE(LastPlay(Media()), nullptr);
    EXPECT_EQ(LastPlay(Media())->url, L"http://127.0.0.1:8765/TVLineStreams/TV_live.ashx?mswmext=.asx&key=abc123");
    EXPECT_EQ(LastPlay(Media())->title, L"Gegriffen TV");
    ASSERT_FALSE(m_server.GetRequests().empty());
    EXPECT_EQ(m_server.GetRequests().back().target, "/ru/tv/?channel=channel-7");
}

TEST_F(GrabberRoad, NoAddressFromTheGrabberShowsTheError)
{
    m_server.SetPage("ru/tv/?channel=channel-7", "<html>no key here</html>");
    Open();
    Play(Channel(Ids::Grabbed));
    EXPECT_TRUE(Media().plays.empty());
    EXPECT_EQ(Controls().GetStatus(), KV::Lang::GetText("str_error"));
    EXPECT_FALSE(Controls().IsPlaying());
    EXPECT_EQ(Main().GetCatalogue()->GetCurrentChannel(), Channel(Ids::Grabbed));
}

// A grabber that takes its time: it tells the user something in a box of
// its own (as the cookie grabber does when a fetch fails) and only then
// answers, with an address or none.
class CSlowGrabber : public CUrlGrabber {
public:
    CSlowGrabber(const std::string& key, std::wstring answer) : CUrlGrabber(key), m_answer(std::move(answer)) {}
    std::wstring Grab(const std::wstring&) override
    {
        ShowSystemMessageBox(nullptr, L"1", L"", MB_OK);
        return m_answer;
    }

private:
    std::wstring m_answer;
};

// While the grabber's box is open the user starts another channel; the
// slow request's answer comes after and must change nothing.
TEST_F(PlayRoad, ALateAnswerOfAReplacedRequestLeavesTheNewPlaybackAlone)
{
    struct Case {
        const char* what;
        std::wstring answer;
    };
    const Case cases[] = {
        {"the grabber fails", L""},
        {"the grabber finds an address", L"http://127.0.0.1:9/late.asf"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Open();
        new CSlowGrabber("tvl", c.answer);  // the registry owns it
        ModalDriver driver({[&](HWND box) {
            Play(Channel(Ids::One));
            Media().Report(L"Playing", 0);
            ::PostMessageW(box, WM_COMMAND, IDOK, 0);
        }});
        Play(Channel(Ids::Grabbed));
        ASSERT_EQ(driver.Dialogs().size(), 1u);
        ASSERT_NE(LastPlay(Media()), nullptr);
        EXPECT_EQ(LastPlay(Media())->url, Address(L"one-512.asf"));
        EXPECT_EQ(Media().plays.size(), 1u);
        EXPECT_EQ(Main().GetCatalogue()->GetCurrentChannel(), Channel(Ids::One));
        EXPECT_EQ(Main().GetWindowText(), L"Brisvane Recorder - Erstes Test");
        EXPECT_TRUE(Controls().IsPlaying());
        EXPECT_EQ(Controls().GetStatus(), L"Playing");
        Close();
        m_main.reset();
        TheStandIns().Clear();
    }
}

// A back-end report that comes while the latest request still waits for
// its address answers the playback that was stopped for it.
TEST_F(PlayRoad, AReportWhileTheAddressIsResolvedDoesNotReachTheBar)
{
    Open();
    Play(Channel(Ids::Radio));
    new CSlowGrabber("tvl", L"http://127.0.0.1:9/grabbed.asf");
    ModalDriver driver({[&](HWND box) {
        Media().Report(L"old stream failed", -1);
        ::PostMessageW(box, WM_COMMAND, IDOK, 0);
    }});
    Play(Channel(Ids::Grabbed));
    ASSERT_EQ(driver.Dialogs().size(), 1u);
    ASSERT_NE(LastPlay(Media()), nullptr);
    EXPECT_EQ(LastPlay(Media())->url, L"http://127.0.0.1:9/grabbed.asf");
    EXPECT_TRUE(Controls().IsPlaying());
    EXPECT_NE(Controls().GetStatus(), KV::Lang::GetText("str_error"));
    // Once it plays, the back-end's reports count again.
    Media().Report(L"now", -1);
    EXPECT_EQ(Controls().GetStatus(), KV::Lang::GetText("str_error"));
}

class ParentalLock : public PlayRoad {
protected:
    void SetUp() override
    {
        PlayRoad::SetUp();
        CSettings::SetBool("use_password", true);
        CSettings::SetString("pass", L"Pa55");
    }
};

TEST_F(ParentalLock, AsksOncePerRunUntilThePasswordIsRight)
{
    Open();
    ModalDriver driver({TypeAndOk(IDC_TYPED_PASSWORD, L"pa55"), Press(IDOK), TypeAndOk(IDC_TYPED_PASSWORD, L"Pa55")});
    Play(Channel(Ids::Night));
    ASSERT_EQ(driver.Dialogs().size(), 3u);
    EXPECT_EQ(driver.Dialogs()[0].caption, KV::Lang::GetText("dlg_type_pas"));
    EXPECT_NE(driver.Dialogs()[0].text.find(KV::Lang::GetText("static_type_pas")), std::wstring::npos);
    EXPECT_EQ(driver.Dialogs()[2].caption, KV::Lang::GetText("dlg_type_pas"));
    ASSERT_NE(LastPlay(Media()), nullptr);
    EXPECT_EQ(LastPlay(Media())->title, L"Nacht Kino");
    EXPECT_TRUE(Main().IsPasswordProved());

    Play(Channel(Ids::Late));
    EXPECT_EQ(driver.Dialogs().size(), 3u);
    EXPECT_EQ(LastPlay(Media())->title, L"Sp\u00e4t Kino");
}

TEST_F(ParentalLock, CancelLeavesThePlaybackAloneAndShowsTheBarStopped)
{
    Open();
    Play(Channel(Ids::One));
    ModalDriver driver({Press(IDCANCEL)});
    Play(Channel(Ids::Night));
    EXPECT_EQ(driver.Dialogs().size(), 1u);
    EXPECT_EQ(Media().plays.size(), 1u);
    EXPECT_EQ(Media().stops, 0);
    EXPECT_EQ(Main().GetCatalogue()->GetCurrentChannel(), Channel(Ids::One));
    EXPECT_FALSE(Controls().IsPlaying());
    EXPECT_FALSE(Main().IsPasswordProved());
}

TEST_F(ParentalLock, AppliesToTheLockedCategoryOnlyAndNotWhenSwitchedOff)
{
    Open();
    ModalDriver driver({});
    Play(Channel(Ids::One));
    CSettings::SetBool("use_password", false);
    Play(Channel(Ids::Night));
    EXPECT_TRUE(driver.Dialogs().empty());
    EXPECT_EQ(Media().plays.size(), 2u);
}

TEST_F(ParentalLock, RecordingALockedChannelAsksToo)
{
    Open();
    ModalDriver driver({Press(IDCANCEL)});
    Main().SendMessage(WM_RECORD_CHANNEL, 0, reinterpret_cast<LPARAM>(Channel(Ids::Night)));
    EXPECT_EQ(driver.Dialogs().size(), 1u);
    EXPECT_TRUE(Media().plays.empty());
}

TEST_F(PlayRoad, NextAndPreviousStepThroughTheFavouritesAndWrapAround)
{
    Open();
    // In display order: A "Info Matin" (France), B "Bayern Welle", C
    // "Erstes Test" (Germany).
    MakeFavorites({Ids::One, Ids::Info, Ids::Radio});
    ASSERT_EQ(Panel().GetFavoriteList().GetCount(), 3);
    auto current = [&] { return Main().GetCatalogue()->GetCurrentChannel(); };

    Play(Channel(Ids::Radio));
    ClickBarButton(IDC_NEXT);
    EXPECT_EQ(current(), Channel(Ids::One));
    ClickBarButton(IDC_NEXT);
    EXPECT_EQ(current(), Channel(Ids::Info));
    ClickBarButton(IDC_PREVIOUS);
    EXPECT_EQ(current(), Channel(Ids::One));
    ClickBarButton(IDC_PREVIOUS);
    EXPECT_EQ(current(), Channel(Ids::Radio));

    // From a channel that is no favourite: the first, or the last.
    Play(Channel(Ids::Cine));
    ClickBarButton(IDC_NEXT);
    EXPECT_EQ(current(), Channel(Ids::Info));
    Play(Channel(Ids::Cine));
    ClickBarButton(IDC_PREVIOUS);
    EXPECT_EQ(current(), Channel(Ids::One));
    EXPECT_EQ(LastPlay(Media())->title, L"Erstes Test");
}

TEST_F(PlayRoad, OneFavouriteThatIsCurrentHasNoNextOrPrevious)
{
    Open();
    MakeFavorites({Ids::Radio});
    Play(Channel(Ids::Radio));
    const size_t plays = Media().plays.size();
    ClickBarButton(IDC_NEXT);
    ClickBarButton(IDC_PREVIOUS);
    EXPECT_EQ(Media().plays.size(), plays);
}

}  // namespace
}  // namespace PlayerTest
