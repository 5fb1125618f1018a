// The double-buffered window base: what reaches the screen, and the hover
// and leave notices of a visit of the pointer.
#include "player/ui/DBufferedWnd.h"
#include "tests/ui/UiTestSupport.h"

#include <gtest/gtest.h>

namespace {

using UiTest::CaptureClient;

class CColourWnd : public CDBufferedWnd {
public:
    void DoPaint(HDC dc, const RECT& client) override
    {
        ++paints;
        HBRUSH brush = ::CreateSolidBrush(colour);
        ::FillRect(dc, &client, brush);
        ::DeleteObject(brush);
    }
    void OnMouseHover() override { ++hovers; }
    void OnMouseLeave() override { ++leaves; }
    using CDBufferedWnd::SetDirty;

    COLORREF colour = RGB(0, 0, 255);
    int paints = 0;
    int hovers = 0;
    int leaves = 0;
};

class BufferedWndTest : public testing::Test {
protected:
    void SetUp() override { ASSERT_NE(nullptr, m_main.CreateMain(300, 200)); }

    UiTest::CMainWindowStub m_main;
};

TEST_F(BufferedWndTest, BaseClassPaintsItsPlaceholderRed)
{
    CDBufferedWnd window;
    const RECT rect{10, 10, 60, 40};
    ASSERT_NE(nullptr, window.Create(m_main, &rect));
    const auto shown = CaptureClient(window);
    ASSERT_TRUE(shown);
    EXPECT_EQ(RGB(200, 0, 0), shown->GetPixel(0, 0));
    EXPECT_EQ(RGB(200, 0, 0), shown->GetPixel(49, 29));
}

TEST_F(BufferedWndTest, ExposureCopiesTheBufferAndOnlyTheInvalidRectangleReachesTheScreen)
{
    CColourWnd window;
    const RECT rect{10, 10, 110, 70};
    ASSERT_NE(nullptr, window.Create(m_main, &rect));
    auto shown = CaptureClient(window);
    ASSERT_TRUE(shown);
    EXPECT_EQ(1, window.paints);
    EXPECT_EQ(RGB(0, 0, 255), shown->GetPixel(50, 30));

    // Exposure alone: the old picture is copied, nothing is repainted.
    window.colour = RGB(0, 255, 0);
    window.InvalidateRect(nullptr, FALSE);
    shown = CaptureClient(window);
    EXPECT_EQ(1, window.paints);
    EXPECT_EQ(RGB(0, 0, 255), shown->GetPixel(50, 30));

    // A change repaints the whole buffer, but only the invalid part is copied.
    window.SetDirty();
    const RECT part{20, 10, 40, 30};
    window.InvalidateRect(&part, FALSE);
    shown = CaptureClient(window);
    EXPECT_EQ(2, window.paints);
    for (int y = 0; y < 60; y += 3) {
        for (int x = 0; x < 100; x += 3) {
            const POINT at{x, y};
            const COLORREF expected = ::PtInRect(&part, at) ? RGB(0, 255, 0) : RGB(0, 0, 255);
            ASSERT_EQ(expected, shown->GetPixel(x, y)) << x << "," << y;
        }
    }

    // Resizing makes a new buffer and repaints it whole.
    window.SetWindowPos(nullptr, 0, 0, 80, 50, SWP_NOMOVE | SWP_NOZORDER);
    shown = CaptureClient(window);
    EXPECT_EQ(3, window.paints);
    EXPECT_EQ(80, shown->GetWidth());
    EXPECT_EQ(RGB(0, 255, 0), shown->GetPixel(70, 45));
}

TEST_F(BufferedWndTest, AVisitOfThePointerBringsOneHoverAndOneLeave)
{
    CColourWnd window;
    const RECT rect{10, 10, 110, 70};
    ASSERT_NE(nullptr, window.Create(m_main, &rect));
    UiTest::Pump();

    POINT inside{50, 30};
    window.ClientToScreen(&inside);
    ::SetCursorPos(inside.x, inside.y);
    window.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(50, 30));
    EXPECT_TRUE(UiTest::PumpUntil([&] { return window.hovers > 0; }));
    window.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(51, 30));  // the same visit
    UiTest::Pump();
    EXPECT_EQ(1, window.hovers);
    EXPECT_EQ(0, window.leaves);

    ::SetCursorPos(250, 180);
    EXPECT_TRUE(UiTest::PumpUntil([&] { return window.leaves > 0; }));
    EXPECT_EQ(1, window.leaves);
}

}  // namespace
