// The splash: shown from its own thread with the version line, and ended by
// CloseBanner however early that comes.

#include "foundation/DataKey.h"
#include "foundation/Lang.h"
#include "foundation/Utilities.h"
#include "player/catalogue/ChannelList.h"
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

// What a thread timer sees of the "No url!" box while the catalogue loads
// under the splash: whether it stands above the splash, then it closes it.
struct NoUrlWatch {
    static NoUrlWatch*& Current()
    {
        static NoUrlWatch* current = nullptr;
        return current;
    }
    static BOOL CALLBACK FindBox(HWND window, LPARAM param)
    {
        wchar_t className[16] = {};
        ::GetClassNameW(window, className, 15);
        if (std::wstring(className) == L"#32770" && ::IsWindowVisible(window) && window != GetBannerWindow()) {
            *reinterpret_cast<HWND*>(param) = window;
            return FALSE;
        }
        return TRUE;
    }
    static void CALLBACK OnTimer(HWND, UINT, UINT_PTR, DWORD)
    {
        NoUrlWatch* watch = Current();
        HWND box = nullptr;
        ::EnumThreadWindows(::GetCurrentThreadId(), &FindBox, reinterpret_cast<LPARAM>(&box));
        if (watch == nullptr || box == nullptr || watch->seen)
            return;
        watch->seen = true;
        // Top-level windows from the top: the box must come before the splash.
        for (HWND window = ::GetTopWindow(nullptr); window != nullptr; window = ::GetWindow(window, GW_HWNDNEXT)) {
            if (window == box) {
                watch->aboveSplash = true;
                break;
            }
            if (window == GetBannerWindow())
                break;
        }
        ::PostMessageW(box, WM_COMMAND, IDOK, 0);
    }
    bool seen = false;
    bool aboveSplash = false;
};

TEST(Banner, TheNoUrlBoxOfTheCatalogueShowsAboveIt)
{
    ChannelSpec silent;
    silent.country = "fr";
    silent.key = "silent";
    silent.name = L"Silent";
    silent.category = "mu";
    silent.player = "m";
    const std::wstring file = WriteCatalogue(L"no_url.brsc", {silent});
    ShowBanner();
    ASSERT_TRUE(PumpUntil([] { return GetBannerWindow() != nullptr && ::IsWindowVisible(GetBannerWindow()); }));
    NoUrlWatch watch;
    NoUrlWatch::Current() = &watch;
    const UINT_PTR timer = ::SetTimer(nullptr, 0, 200, &NoUrlWatch::OnTimer);
    { CChannelList catalogue(file); }
    ::KillTimer(nullptr, timer);
    NoUrlWatch::Current() = nullptr;
    CloseBanner();
    EXPECT_TRUE(PumpUntil([] { return !IsBannerThreadRunning(); }));
    ASSERT_TRUE(watch.seen);
    EXPECT_TRUE(watch.aboveSplash);
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

// The shipped pack again when the test ends, whatever it loaded.
struct ShippedLanguageAgain {
    ~ShippedLanguageAgain() { KV::Lang::Load(L"..\\bin\\Languages.lngp"); }
};

// The version line of a splash shown over a pack whose "str_version" is
// format; the pack lies beside the tests while it is read.
std::wstring VersionLineWith(const std::wstring& format)
{
    KV::DataKey pack(KV::Lang::PackRootName);
    KV::DataKey* english = pack.AddKey("lang_0");
    english->SetStringW("language", L"English");
    english->SetStringW("ext", L"en");
    english->AddKey("str_version")->SetStringW("text", format);
    const std::wstring file = L"banner_version.lngp";
    if (!pack.Save(KV::GetProgramFile(file)))
        return L"<pack not written>";
    KV::Lang::Load(file);
    ::DeleteFileW(KV::GetProgramFile(file).c_str());

    ShowBanner();
    std::wstring line = L"<no splash>";
    if (PumpUntil([] { return GetBannerWindow() != nullptr; })) {
        wchar_t text[256] = {};
        ::GetDlgItemTextW(GetBannerWindow(), IDC_VERSION, text, 255);
        line = text;
    }
    CloseBanner();
    PumpUntil([] { return !IsBannerThreadRunning(); });
    return line;
}

TEST(Banner, TheVersionLineTakesTheLanguageTextAsTextNotAsAFormat)
{
    ShippedLanguageAgain shipped;
    const struct {
        const wchar_t* format;
        const wchar_t* line;
    } cases[] = {
        {L"Version %s", L"Version 2.3.2"},
        {L"%n Version %s %s %s", L"%n Version 2.3.2 %s %s"},
        {L"%S %d%% v%s", L"%S %d%% v2.3.2"},
        {L"No placeholder %x", L"No placeholder %x"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(VersionLineWith(c.format), c.line) << "case " << (&c - cases);
}

TEST(Banner, CloseBannerWithoutASplashDoesNothing)
{
    CloseBanner();
    EXPECT_FALSE(IsBannerThreadRunning());
}

}  // namespace
}  // namespace PlayerTest
