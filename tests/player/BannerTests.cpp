// The splash: shown from its own thread with the version line, and ended by
// CloseBanner however early that comes.

#include "foundation/Lang.h"
#include "player/resources/Resource.h"
#include "player/ui/BannerDlg.h"
#include "tests/player/PlayerTestSupport.h"

#include <gtest/gtest.h>

namespace PlayerTest {
namespace {

TEST(Banner, ShowsItselfOnItsOwnThreadAndEndsOnCloseBanner)
{
    ShowBanner();
    ASSERT_TRUE(PumpUntil([] { return GetBannerWindow() != nullptr && ::IsWindowVisible(GetBannerWindow()); }));
    HWND banner = GetBannerWindow();
    EXPECT_NE(::GetWindowThreadProcessId(banner, nullptr), ::GetCurrentThreadId());
    const LONG_PTR exStyle = ::GetWindowLongPtrW(banner, GWL_EXSTYLE);
    EXPECT_NE(exStyle & WS_EX_TOPMOST, 0);
    EXPECT_NE(exStyle & WS_EX_TOOLWINDOW, 0);
    EXPECT_EQ(::GetWindowLongPtrW(banner, GWL_STYLE) & WS_CAPTION, 0);
    wchar_t version[64] = {};
    ::GetDlgItemTextW(banner, IDC_VERSION, version, 63);
    EXPECT_EQ(std::wstring(version), L"Version 2.3.2");
    wchar_t copyright[256] = {};
    ::GetDlgItemTextW(banner, IDC_COPYRIGHT, copyright, 255);
    EXPECT_EQ(std::wstring(copyright), KV::Lang::GetText("static_copyright"));

    CloseBanner();
    EXPECT_TRUE(PumpUntil([] { return !IsBannerThreadRunning(); }));
    EXPECT_FALSE(::IsWindow(banner));
    EXPECT_EQ(GetBannerWindow(), nullptr);
}

TEST(Banner, EndsAlsoWhenCloseBannerComesBeforeItShowedItself)
{
    for (int round = 0; round < 10; ++round) {
        ShowBanner();
        CloseBanner();
        ASSERT_TRUE(PumpUntil([] { return !IsBannerThreadRunning(); })) << round;
    }
    EXPECT_EQ(GetBannerWindow(), nullptr);
}

TEST(Banner, CloseBannerWithoutASplashDoesNothing)
{
    CloseBanner();
    EXPECT_FALSE(IsBannerThreadRunning());
}

}  // namespace
}  // namespace PlayerTest
