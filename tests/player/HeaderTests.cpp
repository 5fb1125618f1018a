// The header bar: its buttons' places and widths, hot tracking, the menus
// it drops down and its three-piece picture.

#include "foundation/Lang.h"
#include "foundation/Skin.h"
#include "framework/Image.h"

#include <cstdlib>
#include "tests/player/MainWindowFixture.h"

namespace PlayerTest {
namespace {

TEST(HeaderLayout, ButtonsStandRightAlignedTenPixelsApart)
{
    std::vector<std::unique_ptr<HeaderButton>> buttons;
    for (int width : {60, 50}) {
        buttons.push_back(std::make_unique<HeaderButton>());
        buttons.back()->width = width;
    }
    CHeader::LayOutButtons(buttons, 800);
    const RECT tools = buttons[0]->rect;
    const RECT help = buttons[1]->rect;
    EXPECT_EQ(help.left, 734);
    EXPECT_EQ(help.right, 784);
    EXPECT_EQ(help.top, 32);
    EXPECT_EQ(help.bottom, 48);
    EXPECT_EQ(tools.left, 664);
    EXPECT_EQ(tools.right, 724);
}

TEST(HeaderLayout, AnAmpersandMakesTheButtonSixPixelsNarrower)
{
    EXPECT_EQ(CHeader::ButtonWidth(L"Tools", 40), 54);
    EXPECT_EQ(CHeader::ButtonWidth(L"&Tools", 40), 48);
}

using Header = MainWindowTest;

TEST_F(Header, CarriesTheToolsAndHelpButtonsWithTheirTranslatedMenus)
{
    Open();
    CHeader& header = Main().GetHeader();
    ASSERT_EQ(header.GetButtonCount(), 2);
    EXPECT_EQ(header.GetButton(0).caption, KV::Lang::GetText("menu_tools"));
    EXPECT_EQ(header.GetButton(1).caption, KV::Lang::GetText("menu_help"));
    EXPECT_EQ(header.GetButton(1).rect.right, 790 - 16);
    EXPECT_EQ(header.GetButton(0).rect.right, header.GetButton(1).rect.left - 10);
    const MenuWatcher::Menu help = ReadMenu(header.GetButton(1).menu);
    ASSERT_EQ(help.size(), 6u);
    EXPECT_EQ(help[0].text, KV::Lang::GetText("menu_home_page"));
    EXPECT_EQ(help[2].text, KV::Lang::GetText("menu_update"));
    EXPECT_EQ(help[3].text, KV::Lang::GetText("menu_channel_update"));
    EXPECT_TRUE(help[4].separator);
    EXPECT_EQ(help[5].text, KV::Lang::GetText("menu_about"));
}

TEST_F(Header, TracksTheButtonUnderThePointerAndForgetsItOnLeaving)
{
    Open();
    CHeader& header = Main().GetHeader();
    auto centre = [&](int index) {
        const RECT& r = header.GetButton(index).rect;
        return MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    };
    header.SendMessage(WM_MOUSEMOVE, 0, centre(0));
    EXPECT_EQ(header.GetHotIndex(), 0);
    header.SendMessage(WM_SETCURSOR, reinterpret_cast<WPARAM>(HWND(header)), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(::GetCursor(), ::LoadCursorW(nullptr, IDC_HAND));
    header.SendMessage(WM_MOUSEMOVE, 0, centre(1));
    EXPECT_EQ(header.GetHotIndex(), 1);
    header.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(header.GetHotIndex(), -1);
    header.SendMessage(WM_SETCURSOR, reinterpret_cast<WPARAM>(HWND(header)), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(::GetCursor(), ::LoadCursorW(nullptr, IDC_ARROW));
    header.SendMessage(WM_MOUSEMOVE, 0, centre(1));
    header.SendMessage(WM_MOUSELEAVE);
    EXPECT_EQ(header.GetHotIndex(), -1);
}

TEST_F(Header, AClickOnAButtonDropsItsMenuAndTheCommandReachesTheMainWindow)
{
    Open();
    CHeader& header = Main().GetHeader();
    const RECT& tools = header.GetButton(CHeader::ToolsButton).rect;
    {
        MenuWatcher watcher(ID_TOOLS_TOPMOST, Main());
        ::PostMessageW(header, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(tools.left + 3, tools.top + 3));
        ASSERT_TRUE(PumpUntil([&] { return (Main().GetExStyle() & WS_EX_TOPMOST) != 0; }));
        ASSERT_EQ(watcher.Menus().size(), 1u);
        EXPECT_EQ(watcher.Menus()[0].size(), 5u);
    }
    MenuWatcher watcher;
    ::PostMessageW(header, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
    PumpFor(200);
    EXPECT_TRUE(watcher.Menus().empty());
    EXPECT_EQ(header.GetHotIndex(), -1);
}

// Compares a painted column with a column of the header picture.
bool SameColumn(const CImage& painted, int x, const CImage& picture, int pictureX)
{
    for (int y = 0; y < picture.GetHeight(); ++y) {
        const uint8_t* a = painted.GetPixelAddress(x, y);
        const uint8_t* b = picture.GetPixelAddress(pictureX, y);
        for (int c = 0; c < 3; ++c)
            if (std::abs(int(a[c]) - int(b[c])) > 2)
                return false;
    }
    return true;
}

TEST_F(Header, PaintsItsPictureWithTheLeftPartKeptAndTheRightEndAtTheEdge)
{
    Open();
    const CImage* picture = KV::Skin::GetImage("header_bg");
    ASSERT_NE(picture, nullptr);
    const int w = picture->GetWidth();
    ASSERT_GT(w, 200);
    for (int width : {200, 1000}) {
        CImage painted;
        ASSERT_TRUE(painted.Create(width, CHeader::Height, 24));
        {
            CImageDC dc(painted);
            Main().GetHeader().DoPaint(dc, RECT{0, 0, width, CHeader::Height});
        }
        EXPECT_TRUE(SameColumn(painted, 5, *picture, 5)) << width;
        EXPECT_TRUE(SameColumn(painted, width - 8, *picture, w - 8)) << width;
        EXPECT_TRUE(SameColumn(painted, width - 1, *picture, w - 1)) << width;
        // Past the picture (and the emblem on it) the stretched column.
        if (width > w + 200)
            EXPECT_TRUE(SameColumn(painted, w + 200, *picture, w - 8)) << width;
        else
            EXPECT_TRUE(SameColumn(painted, 150, *picture, 150)) << width;
    }
}

}  // namespace
}  // namespace PlayerTest
