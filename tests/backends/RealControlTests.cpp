// The back-ends with the platform's real controls, as Wine provides them:
// what is created and hosted, and what the Media Player control really does
// with a short WAV file. The test session gives ALSA a null default device.

#include "framework/AxHost.h"
#include "framework/ComPtr.h"
#include "player/playback/EFPlayerCtrl.h"
#include "player/playback/MPlayerCtrl.h"
#include "tests/backends/TestSupport.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

HWND ControlWindow(const CAxWindow& host)
{
    CInterfacePtr<IOleInPlaceObject> inPlace;
    HWND window = nullptr;
    if (SUCCEEDED(host.QueryControl(inPlace.Receive())) && inPlace)
        inPlace->GetWindow(&window);
    return window;
}

class RealMediaPlayer : public testing::Test {
protected:
    void SetUp() override
    {
        player = std::make_unique<CMPlayerCtrl>(parent.Get(), TestParentWindow::PlayerRect());
        ASSERT_TRUE(player->IsCreated());
        host = player->GetWindow();
    }
    void TearDown() override { player.reset(); }

    TestParentWindow parent;
    RecordingListener listener;
    std::unique_ptr<CMPlayerCtrl> player;
    CAxWindow host;
};

}  // namespace

TEST_F(RealMediaPlayer, IsCreatedRegisteredAndHostedInPlace)
{
    EXPECT_EQ(CPlayerCtrl::FindByName("m"), player.get());
    EXPECT_EQ(::GetParent(host), parent.Get());
    EXPECT_EQ(::GetDlgCtrlID(host), 501);
    HWND control = ControlWindow(host);
    ASSERT_NE(control, nullptr);
    EXPECT_EQ(::GetParent(control), static_cast<HWND>(host));

    player->Move(1, 1, 320, 240);
    RECT rc{};
    ::GetWindowRect(control, &rc);
    EXPECT_EQ(rc.right - rc.left, 320);
    EXPECT_EQ(rc.bottom - rc.top, 240);
}

TEST_F(RealMediaPlayer, PlaysAWavFileToItsEndAndStops)
{
    TempFolder folder;
    const std::wstring tone = folder.File(L"tone.wav");
    ASSERT_TRUE(WriteToneWav(tone, 1500));

    player->Play(tone, L"Tone");
    // Wine's control reports no play state, which counts as stopped.
    EXPECT_TRUE(player->IsStopped());
    ASSERT_TRUE(PumpUntil([&] { return listener.CountCode(PlayerStatus::Stopped) >= 1; }));
    EXPECT_EQ(listener.CountCode(PlayerStatus::Error), 0u);
    EXPECT_EQ(listener.reports.back().player, player.get());

    // Volume reaches the control once it has a media.
    player->SetVolume(30);
    CInterfacePtr<IWMPSettings> settings;
    ASSERT_TRUE(SUCCEEDED(host.QueryControl(settings.Receive())));
    long volume = -1;
    ASSERT_EQ(settings->get_volume(&volume), S_OK);
    EXPECT_EQ(volume, 30);

    // Played again and stopped on request: stopped again.
    const size_t stopsBefore = listener.CountCode(PlayerStatus::Stopped);
    player->Play(tone, L"Tone");
    player->Stop();
    ASSERT_TRUE(PumpUntil([&] { return listener.CountCode(PlayerStatus::Stopped) > stopsBefore; }));
}

TEST_F(RealMediaPlayer, FullScreenAndExitCallsAreHarmless)
{
    player->ToggleFullScreen();  // Wine's control does not implement it
    player->ToggleFullScreen();
    CPlayerCtrl::ExitAll();
    EXPECT_TRUE(player->IsCreated());
}

TEST(RealWebBrowser, IsCreatedWithOurClientSiteAndReportsPlayAndStop)
{
    TestParentWindow parent;
    RecordingListener listener;
    CEFPlayerCtrl player(parent.Get(), TestParentWindow::PlayerRect());
    ASSERT_TRUE(player.IsCreated());
    EXPECT_EQ(CPlayerCtrl::FindByName("e"), &player);
    EXPECT_EQ(::GetParent(player.GetWindow()), parent.Get());
    EXPECT_EQ(::GetParent(player.Browser()), player.GetWindow());
    EXPECT_NE(ControlWindow(player.Browser()), nullptr);

    CInterfacePtr<IOleObject> object;
    ASSERT_TRUE(SUCCEEDED(player.Browser().QueryControl(object.Receive())));
    CInterfacePtr<IOleClientSite> site;
    ASSERT_TRUE(SUCCEEDED(object->GetClientSite(site.Receive())));
    EXPECT_EQ(site.Get(), static_cast<IOleClientSite*>(player.Browser().GetSite()));

    // Without wine-gecko there is no document: the HTML road writes nothing,
    // and both reports still come.
    player.Play(L"<embed src=\"rtmp://127.0.0.1/live\">", L"");
    player.Play(L"about:blank", L"");
    PumpMessages(100);
    player.Stop();
    ASSERT_EQ(listener.reports.size(), 3u);
    EXPECT_EQ(listener.reports[0].code, PlayerStatus::Text);
    EXPECT_EQ(listener.reports[1].code, PlayerStatus::Text);
    EXPECT_EQ(listener.reports[2].code, PlayerStatus::Stopped);
    EXPECT_EQ(listener.reports[2].text, L"");
}

TEST_F(RealMediaPlayer, AnAddressWineCannotOpenIsAnErrorNotACrash)
{
    // Wine's control would crash in play() after failing to open these.
    for (const wchar_t* url : {L"http://127.0.0.1:9/none.mp3", L"C:\\no such folder\\none.wav"}) {
        const size_t errorsBefore = listener.CountCode(PlayerStatus::Error);
        player->Play(url, L"Radio");
        EXPECT_EQ(listener.CountCode(PlayerStatus::Error), errorsBefore + 1) << url;
    }
    EXPECT_TRUE(player->IsStopped());
}
