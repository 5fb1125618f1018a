// The web browser back-end against the stand-in browser control.

#include "player/playback/EFPlayerCtrl.h"
#include "tests/backends/FakeControlFixture.h"
#include "tests/backends/FakeWebBrowser.h"
#include "tests/backends/TestSupport.h"

#include <gtest/gtest.h>

#include <memory>
#include <optional>

namespace {

const std::wstring BlackPage = L"<body style=\"margin-left:0; margin-top:0; margin-right:0; margin-bottom:0\" "
                               L"bgcolor=\"#000000\">  </body>";

class WebBackend : public FakeControlFixture<FakeWebBrowser, CEFPlayerCtrl> {
protected:
    void Create(bool hasDocument = true)
    {
        fake = new FakeWebBrowser(&log, hasDocument);
        registration.emplace(CLSID_WebBrowser, static_cast<IWebBrowser2*>(fake));
        ASSERT_TRUE(registration->IsRegistered());
        player = std::make_unique<CEFPlayerCtrl>(parent.Get(), TestParentWindow::PlayerRect());
        log.clear();
    }

    TestParentWindow parent;
    EventLog log;
    RecordingListener listener{&log};
};

DWORD VisibleStyle(HWND window)
{
    return static_cast<DWORD>(::GetWindowLongW(window, GWL_STYLE)) &
           (WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_POPUP);
}

}  // namespace

TEST_F(WebBackend, CreatesTheBrowserOnABlackPageWithItsOwnClientSite)
{
    fake = new FakeWebBrowser(&log);
    registration.emplace(CLSID_WebBrowser, static_cast<IWebBrowser2*>(fake));
    player = std::make_unique<CEFPlayerCtrl>(parent.Get(), TestParentWindow::PlayerRect());
    ASSERT_TRUE(player->IsCreated());
    EXPECT_EQ(CPlayerCtrl::FindByName("e"), player.get());
    EXPECT_FALSE(player->HasControls());
    EXPECT_EQ(player->GetRecorderKey(), "");
    EXPECT_EQ(player->FindScheme(L"rtmp"), 0);
    EXPECT_EQ(CPlayerCtrl::FindByType(L"asf"), nullptr);

    HWND window = player->GetWindow();
    EXPECT_EQ(::GetParent(window), parent.Get());
    EXPECT_EQ(::GetDlgCtrlID(window), 105);
    EXPECT_EQ(VisibleStyle(window), static_cast<DWORD>(WS_CHILD));
    HWND browser = player->Browser();
    EXPECT_EQ(::GetParent(browser), window);
    EXPECT_EQ(::GetDlgCtrlID(browser), 0);
    EXPECT_EQ(VisibleStyle(browser), 0x56000000u);
    EXPECT_EQ(player->Browser().GetWindowText(), L"about:blank");

    EXPECT_EQ(fake->registerAsDropTarget, VARIANT_FALSE);
    EXPECT_EQ(fake->resizable, VARIANT_FALSE);
    EXPECT_EQ(fake->menuBar, VARIANT_FALSE);
    EXPECT_EQ(fake->silent, 1);
    EXPECT_EQ(log, (EventLog{L"navigate about:blank", L"write " + BlackPage, L"close", L"Stop", L"Quit"}));

    // The host's site first, then ours, which forwards to the host's.
    ASSERT_EQ(fake->sitesGiven.size(), 2u);
    CWebCtrlInterFace* ours = player->Browser().GetSite();
    ASSERT_NE(ours, nullptr);
    EXPECT_EQ(fake->site, static_cast<IOleClientSite*>(ours));
    EXPECT_NE(fake->sitesGiven[0], fake->site);
    EXPECT_EQ(ours->SaveObject(), fake->sitesGiven[0]->SaveObject());
    EXPECT_NE(ours->SaveObject(), E_FAIL);  // what it answers without a default site
}

TEST_F(WebBackend, PlayWritesHtmlSnippetsAndNavigatesToAddresses)
{
    Create();
    struct Case {
        const wchar_t* url;
        bool written;
    };
    const Case cases[] = {
        {L"<embed src=\"rtmp://host/live\" width=\"100%\">", true},
        {L"http://host/player.php?object=7", true},  // "object" anywhere is HTML
        {L"<OBJECT data=\"x\"><EMBED src=\"y\"></OBJECT>", false},  // capitals are not
        {L"http://host/EMBED/live", false},
        {L"rtmp://host/live", false},
    };
    for (const Case& c : cases) {
        log.clear();
        player->Play(c.url, L"Title");
        const EventLog expected = c.written ? EventLog{L"status 0 ''", L"write " + std::wstring(c.url), L"close"}
                                            : EventLog{L"status 0 ''", L"navigate " + std::wstring(c.url)};
        EXPECT_EQ(log, expected) << c.url;
    }
}

TEST_F(WebBackend, StopWritesTheBlackPageThenReportsStopped)
{
    Create();
    player->Play(L"http://host/live", L"");
    log.clear();
    player->Stop();
    EXPECT_EQ(log, (EventLog{L"write " + BlackPage, L"close", L"Stop", L"Quit", L"status 1 ''"}));
    EXPECT_TRUE(player->IsStopped());
}

TEST_F(WebBackend, WithoutADocumentNothingIsWritten)
{
    Create(false);
    ASSERT_TRUE(player->IsCreated());
    player->Play(L"<embed src=\"x\">", L"");
    player->Stop();
    EXPECT_EQ(log, (EventLog{L"status 0 ''", L"Stop", L"Quit", L"status 1 ''"}));
}

TEST_F(WebBackend, MovePlacesTheWindowAndFillsItWithTheBrowser)
{
    Create();
    player->Move(1, 1, 300, 200);
    RECT window = CWindow(player->GetWindow()).GetWindowRect();
    POINT origin{0, 0};
    ::ClientToScreen(parent.Get(), &origin);
    EXPECT_EQ(window.left - origin.x, 1);
    EXPECT_EQ(window.top - origin.y, 1);
    EXPECT_EQ(window.right - window.left, 300);
    EXPECT_EQ(window.bottom - window.top, 200);
    RECT browser = player->Browser().GetWindowRect();
    EXPECT_EQ(browser.left, window.left);
    EXPECT_EQ(browser.top, window.top);
    EXPECT_EQ(browser.right - browser.left, 300);
    EXPECT_EQ(browser.bottom - browser.top, 200);
}

TEST_F(WebBackend, ABackendWithoutItsBrowserStaysRegisteredAndDoesNothing)
{
    registration.emplace(CLSID_WebBrowser, nullptr);
    player = std::make_unique<CEFPlayerCtrl>(parent.Get(), TestParentWindow::PlayerRect());
    EXPECT_FALSE(player->IsCreated());
    EXPECT_EQ(CPlayerCtrl::FindByName("e"), player.get());
    player->Play(L"http://host/live", L"");
    player->Stop();
    EXPECT_TRUE(player->IsStopped());
    EXPECT_TRUE(listener.reports.empty());
}
