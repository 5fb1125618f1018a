// The tray icon: what it hands the notification area, its tip, its menu,
// and its return after Explorer restarts.

#include "foundation/Lang.h"
#include "player/resources/Resource.h"
#include "player/ui/TrayIcon.h"
#include "tests/player/PlayerTestSupport.h"

#include <gtest/gtest.h>

#include <cwchar>

namespace PlayerTest {
namespace {

constexpr UINT CallbackMessage = WM_USER + 120;

class TrayIcon : public testing::Test {
protected:
    void SetUp() override
    {
        m_owner = ::CreateWindowExW(0, L"STATIC", L"tray owner", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                    ::GetModuleHandleW(nullptr), nullptr);
        ASSERT_NE(m_owner, nullptr);
    }
    void TearDown() override { ::DestroyWindow(m_owner); }
    HWND m_owner = nullptr;
};

TEST_F(TrayIcon, ShowsTheIconWithTipAndCallbackAndRemovesIt)
{
    CTrayIcon icon(128);
    // The structure as far as its version-3 fields: 952 bytes in the 32-bit program.
    EXPECT_EQ(icon.GetData().cbSize, NOTIFYICONDATAW_V3_SIZE);
#ifndef _WIN64
    EXPECT_EQ(icon.GetData().cbSize, 952u);
#endif
    EXPECT_FALSE(icon.IsShown());
    icon.SetOwner(m_owner, CallbackMessage);
    EXPECT_TRUE(icon.SetIcon(IDI_TRAY, L"Brisvane Recorder"));
    EXPECT_TRUE(icon.IsShown());
    EXPECT_EQ(icon.GetData().uFlags, static_cast<UINT>(NIF_ICON | NIF_TIP | NIF_MESSAGE));
    EXPECT_EQ(icon.GetData().uCallbackMessage, CallbackMessage);
    EXPECT_EQ(icon.GetData().uVersion, static_cast<UINT>(NOTIFYICON_VERSION));

    // A second icon modifies the shown one.
    EXPECT_TRUE(icon.SetIcon(IDI_TRAY, nullptr));
    EXPECT_STREQ(icon.GetData().szTip, L"Brisvane Recorder");
    icon.Update(nullptr, nullptr);
    EXPECT_FALSE(icon.IsShown());
    EXPECT_TRUE(icon.Update(nullptr, nullptr));
}

TEST_F(TrayIcon, CutsALongTipTo127Characters)
{
    CTrayIcon icon(128);
    icon.SetOwner(m_owner, CallbackMessage);
    const std::wstring tip(200, L'x');
    icon.SetIcon(IDI_TRAY, tip.c_str());
    EXPECT_EQ(std::wcslen(icon.GetData().szTip), 127u);
}

TEST_F(TrayIcon, ComesBackWithItsTipWhenExplorerRestarts)
{
    CTrayIcon icon(128);
    icon.SetOwner(m_owner, CallbackMessage);
    icon.SetIcon(IDI_TRAY, L"Tip stays");
    const HICON shown = icon.GetData().hIcon;
    // Explorer restarted: the notification area no longer has the icon.
    NOTIFYICONDATAW gone = icon.GetData();
    ASSERT_TRUE(::Shell_NotifyIconW(NIM_DELETE, &gone));
    icon.OnTaskbarCreated();
    EXPECT_TRUE(icon.IsShown());
    EXPECT_EQ(icon.GetData().hIcon, shown);
    EXPECT_STREQ(icon.GetData().szTip, L"Tip stays");
    EXPECT_EQ(icon.GetData().uFlags & NIF_TIP, static_cast<UINT>(NIF_TIP));

    CTrayIcon hidden(129);
    hidden.OnTaskbarCreated();
    EXPECT_FALSE(hidden.IsShown());
    EXPECT_NE(GetTaskbarCreatedMessage(), 0u);
    EXPECT_EQ(GetTaskbarCreatedMessage(), ::RegisterWindowMessageW(L"TaskbarCreated"));
}

bool g_areaRefuses = false;
BOOL WINAPI NotificationArea(DWORD operation, PNOTIFYICONDATAW data)
{
    if (g_areaRefuses && operation != NIM_DELETE)
        return FALSE;
    return ::Shell_NotifyIconW(operation, data);
}

TEST_F(TrayIcon, ARefusedIconIsKeptForTheNotificationAreaThatAppearsLater)
{
    CTrayIcon::SetNotifyCall(&NotificationArea);
    g_areaRefuses = true;
    CTrayIcon icon(128);
    icon.SetOwner(m_owner, CallbackMessage);
    icon.SetIcon(IDI_TRAY, L"Kept");
    EXPECT_FALSE(icon.IsShown());
    EXPECT_TRUE(icon.HasIcon());
    // Still no notification area: nothing shown, nothing lost.
    icon.OnTaskbarCreated();
    EXPECT_FALSE(icon.IsShown());
    EXPECT_TRUE(icon.HasIcon());

    g_areaRefuses = false;
    icon.OnTaskbarCreated();
    EXPECT_TRUE(icon.IsShown());
    EXPECT_STREQ(icon.GetData().szTip, L"Kept");

    // An icon taken away while none is shown stays away.
    CTrayIcon removed(129);
    removed.SetOwner(m_owner, CallbackMessage);
    g_areaRefuses = true;
    removed.SetIcon(IDI_TRAY, L"Gone");
    removed.Update(nullptr, nullptr);
    g_areaRefuses = false;
    removed.OnTaskbarCreated();
    EXPECT_FALSE(removed.IsShown());
    EXPECT_FALSE(removed.HasIcon());
    CTrayIcon::SetNotifyCall(nullptr);
}

TEST_F(TrayIcon, OpensItsTranslatedMenuOnARightButtonReleaseOnly)
{
    CTrayIcon icon(128);
    icon.SetOwner(m_owner, CallbackMessage);
    icon.SetMenu(IDR_TRAY_MENU);
    MenuWatcher watcher;
    EXPECT_FALSE(icon.OnNotify(7, WM_RBUTTONUP));
    EXPECT_FALSE(icon.OnNotify(128, WM_MOUSEMOVE));
    EXPECT_FALSE(icon.OnNotify(128, WM_LBUTTONUP));
    EXPECT_TRUE(icon.OnNotify(128, WM_LBUTTONDBLCLK));
    PumpFor(150);
    EXPECT_TRUE(watcher.Menus().empty());

    EXPECT_TRUE(icon.OnNotify(128, WM_RBUTTONUP));
    ASSERT_EQ(watcher.Menus().size(), 1u);
    ASSERT_EQ(watcher.Menus()[0].size(), 1u);
    EXPECT_EQ(watcher.Menus()[0][0].id, static_cast<UINT>(ID_APP_EXIT));
    EXPECT_EQ(watcher.Menus()[0][0].text, KV::Lang::GetText("menu_exit"));

    CTrayIcon noMenu(128);
    noMenu.SetOwner(m_owner, CallbackMessage);
    noMenu.SetMenu(4711);
    EXPECT_FALSE(noMenu.OnNotify(128, WM_RBUTTONUP));
}

}  // namespace
}  // namespace PlayerTest
