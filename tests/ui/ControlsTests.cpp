// The player area and its control bar inside a stand-in main window, with a
// recording back-end registered: layout, the messages of the buttons, the
// play state and its images, the volume, and the bar's painting.
#include "foundation/Skin.h"
#include "player/app/Messages.h"
#include "player/app/Settings.h"
#include "player/ui/PlayersDlg.h"
#include "tests/ui/UiTestSupport.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

using UiTest::Pixel;

class ControlsTest : public testing::Test {
protected:
    void SetUp() override
    {
        ::SetCursorPos(1270, 1010);
        CSettings::SetInt("sound_volume", 40);
    }
    void TearDown() override
    {
        if (m_area && m_area->m_hWnd != nullptr)
            m_area->DestroyWindow();
        m_area.reset();
        m_player.reset();
        UiTest::LoadShippedSkin();
    }
    // The area fills the main window; the bar gets the area's width - 2.
    CControlsDlg& Open(int barWidth)
    {
        m_player = std::make_unique<UiTest::CRecordingPlayer>("test");
        const int width = barWidth + 2;
        const int height = 392;
        EXPECT_NE(nullptr, m_main.CreateMain(width, height));
        m_area = std::make_unique<CPlayersDlg>();
        EXPECT_NE(nullptr, m_area->Create(m_main));
        m_area->SetWindowPos(nullptr, 0, 0, width, height, SWP_NOZORDER);
        UiTest::Pump();
        return m_area->GetControls();
    }
    CWindow Control(int id) { return m_area->GetControls().GetDlgItem(id); }
    RECT PlaceOf(int id)
    {
        CWindow control = Control(id);
        RECT rect = control.GetWindowRect();
        ::MapWindowPoints(nullptr, m_area->GetControls(), reinterpret_cast<POINT*>(&rect), 2);
        return rect;
    }
    void Click(int id)
    {
        UiTest::PostClickCentre(Control(id));
        UiTest::Pump();
    }
    // Whether the play/stop button shows one of the three images of that
    // family ("bplay" or "bstop"), as the 24-bit image list holds them.
    bool ShowsImagesOf(const char* family)
    {
        const auto shown = UiTest::CaptureClient(Control(IDC_PLAY_STOP));
        for (int state = 0; state < 3; ++state) {
            const CImage* image = KV::Skin::GetImage(family + std::to_string(state));
            if (image == nullptr || shown->GetWidth() != image->GetWidth())
                return false;
            bool same = true;
            for (int y = 0; y < image->GetHeight() && same; y += 2)
                for (int x = 0; x < image->GetWidth() && same; x += 2)
                    same = shown->GetPixel(x, y) == image->GetPixel(x, y);
            if (same)
                return true;
        }
        return false;
    }

    UiTest::CMainWindowStub m_main;
    std::unique_ptr<UiTest::CRecordingPlayer> m_player;
    std::unique_ptr<CPlayersDlg> m_area;
};

struct Place {
    int id;
    RECT rect;
};

TEST_F(ControlsTest, AreaPlacesBackEndsAndBarAndTheBarPlacesItsControlsAroundItsMiddle)
{
    CControlsDlg& bar = Open(300);
    ASSERT_FALSE(m_player->moves.empty());
    const RECT move = m_player->moves.back();
    EXPECT_EQ(1, move.left);
    EXPECT_EQ(1, move.top);
    EXPECT_EQ(300, move.right);   // width
    EXPECT_EQ(300, move.bottom);  // height: 392 - 92

    RECT barRect = bar.GetWindowRect();
    ::MapWindowPoints(nullptr, *m_area, reinterpret_cast<POINT*>(&barRect), 2);
    const RECT expectedBar{1, 300, 301, 390};
    EXPECT_TRUE(::EqualRect(&expectedBar, &barRect));

    const Place places[] = {
        {IDC_PLAY_STOP, {125, 31, 175, 81}}, {IDC_NEXT, {175, 42, 230, 71}},   {IDC_PREVIOUS, {70, 42, 125, 71}},
        {IDC_VOLUME, {230, 48, 308, 64}},    {IDC_RECORD, {38, 43, 65, 70}},   {IDC_FULL_SCREEN, {5, 43, 32, 70}},
    };
    for (const Place& place : places) {
        const RECT rect = PlaceOf(place.id);
        EXPECT_TRUE(::EqualRect(&place.rect, &rect))
            << "control " << place.id << " at " << rect.left << "," << rect.top << " " << rect.right - rect.left << "x"
            << rect.bottom - rect.top;
    }

    // The room of the back-ends is black inside the skin's frame.
    const auto area = UiTest::CaptureClient(*m_area);
    EXPECT_EQ(KV::Skin::DefaultFramePenColor, area->GetPixel(0, 0));
    EXPECT_EQ(KV::Skin::DefaultFramePenColor, area->GetPixel(301, 150));
    EXPECT_EQ(RGB(0, 0, 0), area->GetPixel(150, 150));
}

TEST_F(ControlsTest, TemplateStartsWithPlayFullScreenAndRecordDisabled)
{
    CControlsDlg& bar = Open(300);
    EXPECT_FALSE(Control(IDC_PLAY_STOP).IsWindowEnabled());
    EXPECT_FALSE(Control(IDC_FULL_SCREEN).IsWindowEnabled());
    EXPECT_FALSE(Control(IDC_RECORD).IsWindowEnabled());
    EXPECT_TRUE(Control(IDC_NEXT).IsWindowEnabled());
    EXPECT_TRUE(Control(IDC_PREVIOUS).IsWindowEnabled());
    EXPECT_TRUE(Control(IDC_VOLUME).IsWindowEnabled());
    EXPECT_FALSE(bar.IsPlaying());
    EXPECT_TRUE(ShowsImagesOf("bplay"));

    m_area->EnableControls(false);  // a back-end without controls
    EXPECT_TRUE(Control(IDC_PLAY_STOP).IsWindowEnabled());
    EXPECT_FALSE(Control(IDC_FULL_SCREEN).IsWindowEnabled());
    EXPECT_FALSE(Control(IDC_VOLUME).IsWindowEnabled());
    m_area->EnableControls(true);
    EXPECT_TRUE(Control(IDC_FULL_SCREEN).IsWindowEnabled());
    EXPECT_TRUE(Control(IDC_VOLUME).IsWindowEnabled());
    bar.EnableRecord(true);
    EXPECT_TRUE(Control(IDC_RECORD).IsWindowEnabled());
    bar.EnableRecord(false);
    EXPECT_FALSE(Control(IDC_RECORD).IsWindowEnabled());
}

TEST_F(ControlsTest, PlayStopButtonSwitchesImagesBeforeItTellsTheMainWindow)
{
    CControlsDlg& bar = Open(300);
    m_area->EnableControls(true);
    std::vector<bool> playingWhenSent;
    m_main.onReceive = [&](const UiTest::CMainWindowStub::Received&) { playingWhenSent.push_back(bar.IsPlaying()); };

    Click(IDC_PLAY_STOP);
    ASSERT_EQ(1u, m_main.received.size());
    EXPECT_EQ(WM_PLAY_CHANNEL, m_main.received[0].message);
    EXPECT_EQ(0u, m_main.received[0].wParam);
    EXPECT_EQ(0, m_main.received[0].lParam);
    EXPECT_TRUE(bar.IsPlaying());
    EXPECT_TRUE(ShowsImagesOf("bstop"));

    Click(IDC_PLAY_STOP);
    ASSERT_EQ(2u, m_main.received.size());
    EXPECT_EQ(WM_STOP_CHANNEL, m_main.received[1].message);
    EXPECT_EQ(0u, m_main.received[1].wParam);
    EXPECT_EQ(0, m_main.received[1].lParam);
    EXPECT_FALSE(bar.IsPlaying());
    EXPECT_TRUE(ShowsImagesOf("bplay"));

    EXPECT_EQ((std::vector<bool>{true, false}), playingWhenSent);
}

struct CommandCase {
    int id;
    UINT message;
    WPARAM wParam;
};

TEST_F(ControlsTest, OtherButtonsSendTheirMessagesToTheMainWindow)
{
    CControlsDlg& bar = Open(300);
    m_area->EnableControls(true);
    bar.EnableRecord(true);
    const CommandCase cases[] = {
        {IDC_FULL_SCREEN, WM_FULL_SCREEN, 0},
        {IDC_RECORD, WM_RECORD_CHANNEL, 0},
        {IDC_NEXT, WM_NEXT_CHANNEL, 0},
        {IDC_PREVIOUS, WM_NEXT_CHANNEL, 1},
    };
    for (const CommandCase& c : cases) {
        m_main.received.clear();
        Click(c.id);
        ASSERT_EQ(1u, m_main.received.size()) << "button " << c.id;
        EXPECT_EQ(c.message, m_main.received[0].message) << "button " << c.id;
        EXPECT_EQ(c.wParam, m_main.received[0].wParam) << "button " << c.id;
        EXPECT_EQ(0, m_main.received[0].lParam) << "button " << c.id;
    }
    EXPECT_FALSE(bar.IsPlaying());
}

TEST_F(ControlsTest, SetPlayingTwiceChangesThePictureOnce)
{
    CControlsDlg& bar = Open(300);
    CWindow play = Control(IDC_PLAY_STOP);
    play.UpdateWindow();
    bar.SetPlaying(true);
    EXPECT_TRUE(::GetUpdateRect(play, nullptr, FALSE));
    EXPECT_TRUE(ShowsImagesOf("bstop"));
    bar.SetPlaying(true);
    EXPECT_FALSE(::GetUpdateRect(play, nullptr, FALSE));
    EXPECT_TRUE(ShowsImagesOf("bstop"));
}

struct StatusCase {
    int code;
    bool playingAfter;
};

TEST_F(ControlsTest, StatusCodesOfAStopOrAnErrorShowTheBarStoppedAndBusyDoesNot)
{
    CControlsDlg& bar = Open(300);
    const StatusCase cases[] = {{0, true}, {-2, true}, {1, false}, {-1, false}};
    for (const StatusCase& c : cases) {
        bar.SetPlaying(true);
        bar.UpdateWindow();
        const std::wstring text = L"status " + std::to_wstring(c.code);
        bar.SetStatus(text, c.code);
        EXPECT_EQ(text, bar.GetStatus());
        RECT dirty{};
        EXPECT_TRUE(::GetUpdateRect(bar, &dirty, FALSE));
        const RECT strip = bar.GetStatusRect();
        EXPECT_TRUE(::EqualRect(&strip, &dirty)) << "code " << c.code;
        EXPECT_EQ(c.playingAfter, bar.IsPlaying()) << "code " << c.code;
        EXPECT_TRUE(ShowsImagesOf(c.playingAfter ? "bstop" : "bplay")) << "code " << c.code;
    }
    const RECT strip = bar.GetStatusRect();
    const RECT expected{14, 7, 286, 19};
    EXPECT_TRUE(::EqualRect(&expected, &strip));
}

TEST_F(ControlsTest, SliderStartsAtTheStoredVolumeAndEveryKeyboardStepSetsTheVolume)
{
    Open(300);
    CWindow slider = Control(IDC_VOLUME);
    EXPECT_EQ(40, slider.SendMessage(TBM_GETPOS));
    EXPECT_EQ(0, slider.SendMessage(TBM_GETRANGEMIN));
    EXPECT_EQ(100, slider.SendMessage(TBM_GETRANGEMAX));
    EXPECT_EQ(5, slider.SendMessage(TBM_GETPAGESIZE));
    EXPECT_EQ(28, slider.SendMessage(TBM_GETTHUMBLENGTH));

    slider.SetFocus();
    for (int step = 0; step < 2; ++step) {
        UiTest::PostKey(slider, VK_NEXT);
        UiTest::Pump();
    }
    std::vector<int> steps;
    for (int volume : m_player->volumes) {
        if (steps.empty() || steps.back() != volume)
            steps.push_back(volume);
    }
    EXPECT_EQ((std::vector<int>{45, 50}), steps);
    EXPECT_EQ(50, CSettings::GetInt("sound_volume", -1));
}

TEST_F(ControlsTest, SliderShowsTheSkinTrackWithTheKnobOverTheThumb)
{
    UiTest::PutSkinImage("volume_bg", 10, 4, [](int, int) { return Pixel{0, 0, 120, 255}; });
    UiTest::PutSkinImage("volume_thumb", 12, 16, [](int, int) { return Pixel{250, 120, 0, 255}; });
    Open(400);  // wide enough for the whole slider
    CWindow slider = Control(IDC_VOLUME);
    RECT thumb{};
    slider.SendMessage(TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumb));
    const int knobLeft = (thumb.left + thumb.right) / 2 - 6;
    const int knobTop = thumb.top - 1;
    const auto shown = UiTest::CaptureClient(slider);
    ASSERT_EQ(78, shown->GetWidth());
    ASSERT_EQ(16, shown->GetHeight());
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 78; ++x) {
            const bool knob = x >= knobLeft && x < knobLeft + 12 && y >= knobTop && y < knobTop + 16;
            ASSERT_EQ(knob ? RGB(250, 120, 0) : RGB(0, 0, 120), shown->GetPixel(x, y)) << x << "," << y;
        }
    }
}

TEST_F(ControlsTest, BackgroundIsDrawnInSevenPiecesAroundTheMiddle)
{
    // Every column of the picture has a colour of its own.
    UiTest::PutSkinImage("controls_bg", 280, 90, [](int x, int) {
        return Pixel{static_cast<BYTE>(x % 256), static_cast<BYTE>(50 + 100 * (x / 256)), 200, 255};
    });
    auto column = [](int x) { return RGB(x % 256, 50 + 100 * (x / 256), 200); };
    CControlsDlg& bar = Open(600);
    const auto shown = UiTest::CaptureClient(bar);
    ASSERT_EQ(600, shown->GetWidth());
    // W = 600: centre 163..437, shoulders 45..163 and 437..555, fillers
    // 18..45 and 555..582, edges 0..18 and 582..600.
    for (int x = 0; x < 600; ++x) {
        int source;
        if (x < 18)
            source = x;
        else if (x < 45)
            source = 22;
        else if (x < 163)
            source = 22 + (x - 45);
        else if (x < 437)
            source = 140;
        else if (x < 555)
            source = 140 + (x - 437);
        else if (x < 582)
            source = 258;
        else
            source = 262 + (x - 582);
        ASSERT_EQ(column(source), shown->GetPixel(x, 1)) << "column " << x;
    }
}

}  // namespace
