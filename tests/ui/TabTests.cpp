// The tab strip: layout, pages, selection by mouse and keys, the stored
// selection, the count line and what each change repaints.
#include "foundation/Skin.h"
#include "framework/GdiHelpers.h"
#include "player/app/Settings.h"
#include "player/ui/Tab.h"
#include "tests/ui/UiTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <vector>

namespace {

using UiTest::Pixel;

constexpr int TabHeight = 40;
constexpr COLORREF TabFace = RGB(60, 60, 60);
constexpr COLORREF SelectedFace = RGB(90, 90, 90);
constexpr COLORREF StripBackground = RGB(10, 200, 30);

class TabTest : public testing::Test {
protected:
    void SetUp() override
    {
        // Plain faces, so that what a tab shows can be told apart by colour.
        UiTest::PutSkinImage("tab00", 24, 36, [](int, int) { return Pixel{60, 60, 60, 255}; });
        UiTest::PutSkinImage("tab01", 24, 36, [](int, int) { return Pixel{90, 90, 90, 255}; });
        UiTest::PutSkinImage("tab0bg", 8, 36, [](int, int) { return Pixel{10, 200, 30, 255}; });
        ASSERT_NE(nullptr, m_main.CreateMain(400, 200));
        ::SetCursorPos(1270, 1010);
    }
    void TearDown() override
    {
        DestroyStrip();
        UiTest::LoadShippedSkin();
    }
    void DestroyStrip()
    {
        if (m_tab && m_tab->m_hWnd != nullptr)
            m_tab->DestroyWindow();
        m_tab.reset();
        for (CWindow& page : m_pages)
            page.DestroyWindow();
        m_pages.clear();
    }

    // Three tabs of 83 pixels, each with a page window.
    CTab& MakeStrip(int width, bool plain)
    {
        DestroyStrip();
        m_tab = std::make_unique<CTab>(plain);
        const RECT rect{0, 0, width, TabHeight};
        EXPECT_NE(nullptr, m_tab->Create(m_main, &rect));
        for (int i = 0; i < 3; ++i) {
            m_pages.emplace_back(::CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, 0, 50 + 20 * i, 50, 10,
                                                   m_main, nullptr, nullptr, nullptr));
            m_tab->AddTab(L"Tab " + std::to_wstring(i), 83, m_pages.back());
        }
        UiTest::Pump();
        return *m_tab;
    }
    void MoveMouse(CTab& tab, int x, int y)
    {
        POINT at{x, y};
        tab.ClientToScreen(&at);
        ::SetCursorPos(at.x, at.y);
        tab.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(x, y));
    }

    UiTest::CMainWindowStub m_main;
    std::unique_ptr<CTab> m_tab;
    std::vector<CWindow> m_pages;
};

struct LayoutCase {
    int width;
    RECT tabs[3];
};

TEST_F(TabTest, TabsShrinkProportionallyButNeverGrow)
{
    const LayoutCase cases[] = {
        {200, {{0, 0, 66, TabHeight}, {66, 0, 133, TabHeight}, {133, 0, 200, TabHeight}}},
        {300, {{0, 0, 83, TabHeight}, {83, 0, 166, TabHeight}, {166, 0, 249, TabHeight}}},
    };
    for (const LayoutCase& c : cases) {
        CTab& tab = MakeStrip(c.width, true);
        for (int i = 0; i < 3; ++i) {
            const RECT r = tab.GetTabRect(i);
            EXPECT_TRUE(::EqualRect(&r, &c.tabs[i])) << "width " << c.width << " tab " << i << ": " << r.left << ".."
                                                     << r.right;
        }
    }
}

TEST_F(TabTest, BackgroundFillsTheStripRightOfTheLastTab)
{
    CTab& tab = MakeStrip(300, true);
    const auto shown = UiTest::CaptureClient(tab);
    ASSERT_TRUE(shown);
    const int y = TabHeight - 1;  // below the captions
    EXPECT_EQ(TabFace, shown->GetPixel(248, y));
    for (int x = 249; x < 300; ++x)
        ASSERT_EQ(StripBackground, shown->GetPixel(x, y)) << "column " << x;
}

TEST_F(TabTest, SelectingATabShowsItsPagesAndHidesThePreviousOnes)
{
    CTab& tab = MakeStrip(300, true);
    EXPECT_EQ(-1, tab.GetSelectedIndex());
    for (CWindow& page : m_pages) {
        EXPECT_FALSE(page.IsWindowVisible());
        EXPECT_FALSE(page.IsWindowEnabled());
    }
    CWindow extra(::CreateWindowExW(0, L"STATIC", L"", WS_CHILD, 0, 150, 50, 10, m_main, nullptr, nullptr, nullptr));
    m_pages.push_back(extra);
    tab.AddPage(1, extra);
    tab.AddPage(7, extra);      // no such tab: ignored
    tab.AddPage(0, nullptr);    // ignored
    EXPECT_FALSE(extra.IsWindowVisible());

    tab.SelectTab(1);
    EXPECT_TRUE(m_pages[1].IsWindowVisible() && m_pages[1].IsWindowEnabled());
    EXPECT_TRUE(extra.IsWindowVisible() && extra.IsWindowEnabled());
    tab.SelectTab(2);
    EXPECT_FALSE(m_pages[1].IsWindowVisible() || m_pages[1].IsWindowEnabled());
    EXPECT_FALSE(extra.IsWindowVisible() || extra.IsWindowEnabled());
    EXPECT_TRUE(m_pages[2].IsWindowVisible());

    tab.SelectTab(5);  // past the end: the first tab
    EXPECT_EQ(0, tab.GetSelectedIndex());
    EXPECT_TRUE(m_pages[0].IsWindowVisible());
    EXPECT_FALSE(m_pages[2].IsWindowVisible());
}

TEST_F(TabTest, SelectionIsStoredOncePerChangeAndNeverByAPlainStrip)
{
    CTab& tab = MakeStrip(300, false);
    tab.SelectTab(2);
    EXPECT_EQ(2, CSettings::GetInt("channels_tab", -5));
    CSettings::SetInt("channels_tab", 99);
    tab.SelectTab(2);  // the same tab: nothing happens
    EXPECT_EQ(99, CSettings::GetInt("channels_tab", -5));

    CTab& plain = MakeStrip(300, true);
    plain.SelectTab(1);
    EXPECT_EQ(1, plain.GetSelectedIndex());
    EXPECT_EQ(99, CSettings::GetInt("channels_tab", -5));
}

TEST_F(TabTest, PointerMakesTabsHotAndAClickSelectsAndTakesTheFocus)
{
    CTab& tab = MakeStrip(300, true);
    MoveMouse(tab, 100, 10);
    EXPECT_EQ(1, tab.GetHotIndex());
    tab.SendMessage(WM_SETCURSOR, reinterpret_cast<WPARAM>(tab.m_hWnd), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(::LoadCursorW(nullptr, IDC_HAND), ::GetCursor());
    tab.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(100, 10));
    EXPECT_EQ(1, tab.GetSelectedIndex());
    EXPECT_EQ(tab.m_hWnd, ::GetFocus());
    EXPECT_EQ(SelectedFace, UiTest::CaptureClient(tab)->GetPixel(100, TabHeight - 1));

    MoveMouse(tab, 280, 10);  // over the background, off every tab
    EXPECT_EQ(-1, tab.GetHotIndex());
    tab.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(280, 10));
    EXPECT_EQ(1, tab.GetSelectedIndex());

    MoveMouse(tab, 20, 10);
    EXPECT_EQ(0, tab.GetHotIndex());
    ::SetCursorPos(1270, 1010);  // out of the window
    EXPECT_TRUE(UiTest::PumpUntil([&] { return tab.GetHotIndex() == -1; }));
}

struct KeyStep {
    UINT key;
    int selectedAfter;
};

TEST_F(TabTest, LeftAndRightMoveTheSelectionWithinTheStripAndUpDownNeverReachIt)
{
    CTab& tab = MakeStrip(300, true);
    tab.SelectTab(0);
    tab.SetFocus();
    const KeyStep steps[] = {
        {VK_LEFT, 0}, {VK_RIGHT, 1}, {VK_RIGHT, 2}, {VK_RIGHT, 2}, {VK_UP, 2}, {VK_DOWN, 2}, {VK_LEFT, 1},
    };
    for (const KeyStep& step : steps) {
        MSG msg{tab.m_hWnd, WM_KEYDOWN, step.key, 1, 0, {}};
        EXPECT_TRUE(UiTest::Loop().PreTranslateMessage(&msg)) << "key " << step.key << " reached the strip";
        EXPECT_EQ(step.selectedAfter, tab.GetSelectedIndex()) << "key " << step.key;
    }
    // The same through the queue, as typed.
    UiTest::PostKey(tab, VK_RIGHT);
    UiTest::Pump();
    EXPECT_EQ(2, tab.GetSelectedIndex());

    // Other keys, and keys while the strip has no focus, pass.
    MSG tabKey{tab.m_hWnd, WM_KEYDOWN, VK_TAB, 1, 0, {}};
    EXPECT_FALSE(UiTest::Loop().PreTranslateMessage(&tabKey));
    m_main.SetFocus();
    MSG left{tab.m_hWnd, WM_KEYDOWN, VK_LEFT, 1, 0, {}};
    EXPECT_FALSE(UiTest::Loop().PreTranslateMessage(&left));
    EXPECT_EQ(2, tab.GetSelectedIndex());
}

TEST_F(TabTest, SetCountRepaintsOnlyItsTabAndShowsTheCountOnTheSecondLine)
{
    CTab& tab = MakeStrip(300, false);
    const auto before = UiTest::CaptureClient(tab);

    tab.SetCount(1, 57);
    HRGN region = ::CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(ERROR, ::GetUpdateRgn(tab, region, FALSE));
    RECT box{};
    ::GetRgnBox(region, &box);
    ::DeleteObject(region);
    const RECT tabRect = tab.GetTabRect(1);
    EXPECT_TRUE(::EqualRect(&box, &tabRect)) << box.left << "," << box.top << "," << box.right << "," << box.bottom;

    const auto after = UiTest::CaptureClient(tab);
    int changed = 0;
    int changedTop = TabHeight;
    for (int y = 0; y < TabHeight; ++y) {
        for (int x = 0; x < 300; ++x) {
            if (before->GetPixel(x, y) == after->GetPixel(x, y))
                continue;
            ++changed;
            changedTop = std::min(changedTop, y);
            ASSERT_TRUE(x >= tabRect.left && x < tabRect.right) << "changed outside tab 1 at " << x << "," << y;
        }
    }
    EXPECT_GT(changed, 0);
    EXPECT_GE(changedTop, TabHeight / 2 - 4);  // the count line, under the caption

    // The same count line drawn by hand.
    CImage expected;
    ASSERT_TRUE(expected.Create(83, TabHeight, 24));
    {
        CImageDC dc(expected);
        HBRUSH face = ::CreateSolidBrush(TabFace);
        const RECT all{0, 0, 83, TabHeight};
        ::FillRect(dc, &all, face);
        ::DeleteObject(face);
        ::SelectObject(dc, KV::Skin::GetFont("menu")->GetHandle());
        ::SetBkMode(dc, TRANSPARENT);
        ::SetTextColor(dc, KV::Skin::GetColor("tab_0"));
        RECT text{6, 4, 77, TabHeight - 4};
        ::DrawTextW(dc, L"Tab 1\n(57)", -1, &text, DT_CENTER | DT_VCENTER | DT_WORDBREAK);
    }
    for (int y = 0; y < TabHeight; ++y)
        for (int x = 0; x < 83; ++x)
            ASSERT_EQ(expected.GetPixel(x, y), after->GetPixel(83 + x, y)) << x << "," << y;
}

}  // namespace
