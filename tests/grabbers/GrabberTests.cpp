// The grabbers against a local HTTP server: real WinINet requests to
// 127.0.0.1, canned pages and cookies.

#include "foundation/DataKey.h"
#include "player/playback/EmbedGrabber.h"
#include "player/playback/OntvtimeGrabber.h"
#include "player/playback/TVLineGrabber.h"
#include "player/playback/UrlGrabber.h"
#include "player/playback/UrlGrabberSites.h"
#include "tests/catalogue/MessageBoxRecorder.h"
#include "tests/grabbers/LocalHttpServer.h"

#include "tests/support/LocalTcpServer.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

namespace {

std::wstring Wide(const std::string& text)
{
    return std::wstring(text.begin(), text.end());
}

class GrabberTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_server.IsRunning());
        CGrabberSites sites;
        sites.tvLineHost = L"127.0.0.1";
        sites.tvLinePort = m_server.GetPort();
        sites.tvLineStreamServer = L"10.1.2.3:8080";
        sites.ontvtimeHost = L"127.0.0.1";
        sites.ontvtimePort = m_server.GetPort();
        m_programSites = SetGrabberSites(sites);
        CUrlGrabber::DeleteAll();
    }
    void TearDown() override
    {
        CUrlGrabber::DeleteAll();
        SetGrabberSites(m_programSites);
    }

    std::wstring Base() const { return L"http://127.0.0.1:" + std::to_wstring(m_server.GetPort()); }

    LocalHttpServer m_server;
    MessageBoxRecorder m_boxes;
    CGrabberSites m_programSites;
};

TEST_F(GrabberTest, UnknownKeyResolvesToNothing)
{
    CUrlGrabber::CreateBuiltIn();
    EXPECT_FALSE(CUrlGrabber::Find("nope"));
    EXPECT_EQ(CUrlGrabber::Resolve(L"x", "nope"), L"");
    EXPECT_EQ(CUrlGrabber::Resolve(L"x", ""), L"");
}

TEST_F(GrabberTest, GetPageReturnsTheBodyAndSendsTheBrowserIdentity)
{
    m_server.SetPage("page", "hello \xE9t\xE9");
    EXPECT_EQ(CUrlGrabber::GetPage(Base() + L"/page"), L"hello \u00E9t\u00E9");
    const auto requests = m_server.GetRequests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_NE(requests[0].headers.find("Firefox/3.5.9 GTB7.0"), std::string::npos);
    // WinINet puts its own blank after each header name.
    EXPECT_NE(requests[0].headers.find("Content-Type: application/x-www-form-urlencoded"), std::string::npos);
}

TEST_F(GrabberTest, GetPageOfNothingIsEmpty)
{
    EXPECT_EQ(CUrlGrabber::GetPage(Base() + L"/missing"), L"");
    EXPECT_EQ(CUrlGrabber::GetPage(L"http://127.0.0.1:1/"), L"");
    EXPECT_TRUE(m_boxes.Get().empty());
}

// A page far larger than any the grabbers read is cut, not held whole.
TEST_F(GrabberTest, GetPageReadsNoMoreThanItsLimit)
{
    m_server.SetPage("huge", std::string(6 * 1024 * 1024, 'x'));
    EXPECT_EQ(CUrlGrabber::GetPage(Base() + L"/huge").size(), 4u * 1024 * 1024);
}

TEST_F(GrabberTest, TVLineTakesTheQuotedKeyOfTheChannelPage)
{
    struct Case {
        const char* channel;
        const char* page;
        const wchar_t* expected;
    };
    const Case cases[] = {
        {"one", "<a href=\"/x?key=AB12&t=7\">watch</a>",
         L"http://10.1.2.3:8080/TVLineStreams/TV_live.ashx?mswmext=.asx&key=AB12&t=7"},
        {"two", "var s = 'key=AB12 and no quote after it';", L""},
        {"three", "<p>no token here</p>", L""},
    };
    CUrlGrabber::CreateBuiltIn();
    for (const Case& c : cases) {
        m_server.SetPage(std::string("ru/tv/?channel=") + c.channel, c.page);
        EXPECT_EQ(CUrlGrabber::Resolve(Wide(c.channel), "tvl"), c.expected) << c.channel;
    }
    const auto requests = m_server.GetRequests();
    ASSERT_EQ(requests.size(), 3u);
    EXPECT_EQ(requests[0].target, "/ru/tv/?channel=one");
}

TEST_F(GrabberTest, GetCookieCutsOnlyItsOwnName)
{
    m_server.SetPage("own.html", "", "Set-Cookie: tv=abc%2Fdef; path=/\r\n");
    m_server.SetPage("other.html", "", "Set-Cookie: sid=42; path=/\r\n");
    EXPECT_EQ(CUrlGrabber::GetCookie(L"127.0.0.1", L"own.html", L"tv", m_server.GetPort()), L"abc%2Fdef; path=/");
    EXPECT_EQ(CUrlGrabber::GetCookie(L"127.0.0.1", L"other.html", L"tv", m_server.GetPort()), L"sid=42; path=/");
    EXPECT_TRUE(m_boxes.Get().empty());
}

TEST_F(GrabberTest, GetCookieTellsTheUserWhatFailed)
{
    m_server.SetPage("plain.html", "no cookie");
    EXPECT_EQ(CUrlGrabber::GetCookie(L"127.0.0.1", L"plain.html", L"tv", m_server.GetPort()), L"");
    // Port 1 on the loopback refuses the connection: the request is not sent.
    EXPECT_EQ(CUrlGrabber::GetCookie(L"127.0.0.1", L"plain.html", L"tv", 1), L"");
    const auto boxes = m_boxes.Get();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].text, L"Error QueryInfo");
    EXPECT_EQ(boxes[1].text, L"4");
    for (const auto& box : boxes) {
        EXPECT_EQ(box.owner, nullptr);
        EXPECT_EQ(box.caption, L"");
        EXPECT_EQ(box.type, static_cast<UINT>(MB_OK));
    }
}

TEST_F(GrabberTest, OntvtimeFollowsTheCookieToThePlaylist)
{
    const std::string playlist = "<asx><entry><ref href = \"mms://10.0.0.9/live\"/></entry></asx>";
    // A bare value lies under /stream/; an escaped absolute address is
    // fetched as it is.
    m_server.SetPage("rel.html", "", "Set-Cookie: tv=list%2D1.asx; path=/\r\n");
    m_server.SetPage("stream/list-1.asx", playlist);
    const std::string absolute = "http%3A%2F%2F127.0.0.1%3A" + std::to_string(m_server.GetPort()) + "%2Fpl%2Fabs.asx";
    m_server.SetPage("abs.html", "", "Set-Cookie: tv=" + absolute + "\r\n");
    m_server.SetPage("pl/abs.asx", playlist);
    m_server.SetPage("broken.html", "", "Set-Cookie: tv=bad.asx\r\n");
    m_server.SetPage("stream/bad.asx", "<ref href = \"mms://10.0.0.9/live\">");

    CUrlGrabber::CreateBuiltIn();
    EXPECT_EQ(CUrlGrabber::Resolve(L"rel", "otvt"), L"mms://10.0.0.9/live");
    EXPECT_EQ(CUrlGrabber::Resolve(L"abs", "otvt"), L"mms://10.0.0.9/live");
    EXPECT_EQ(CUrlGrabber::Resolve(L"broken", "otvt"), L"");
    EXPECT_TRUE(m_boxes.Get().empty());
}

// A site that takes the request and then stalls: it sends the given head
// (nothing at all when empty) and holds the connection open until the
// test ends it or a long while has passed.
class StalledSite {
public:
    // dripEveryMs: after the head, a byte of body this often (0: none).
    explicit StalledSite(std::string head, DWORD dripEveryMs = 0)
        : m_head(std::move(head)), m_dripEveryMs(dripEveryMs),
          m_server([this](SOCKET client) { Stall(client); }, LocalTcpServer::Dispatch::ThreadPerConnection)
    {
    }
    unsigned short GetPort() const { return m_server.GetPort(); }

    static constexpr DWORD HoldMs = 30000;

private:
    void Stall(SOCKET client)
    {
        std::string request;
        if (!LocalTcpServer::ReadRequestHead(client, request))
            return;
        if (!m_head.empty())
            LocalTcpServer::SendAll(client, m_head);
        const DWORD start = GetTickCount();
        DWORD dripped = start;
        while (!m_server.IsStopping() && GetTickCount() - start < HoldMs) {
            Sleep(20);
            if (m_dripEveryMs != 0 && GetTickCount() - dripped >= m_dripEveryMs) {
                dripped = GetTickCount();
                if (!LocalTcpServer::SendAll(client, "d"))
                    return;
            }
        }
    }

    std::string m_head;
    DWORD m_dripEveryMs;
    LocalTcpServer m_server;
};

// Milliseconds that call took.
template <typename Call>
long long Took(Call&& call)
{
    const auto start = std::chrono::steady_clock::now();
    call();
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count();
}

TEST_F(GrabberTest, FetchesFromASiteThatStallsGiveUpAfterTheTimeOut)
{
    CGrabberSites sites = GetGrabberSites();
    sites.fetchTimeoutMs = 1000;
    SetGrabberSites(sites);
    // Far below the stall, far above the time-out with its few waits.
    const long long bound = 10000;
    static_assert(StalledSite::HoldMs > 2 * 10000, "the stall must outlast the bound");

    StalledSite silent("");
    StalledSite halfAnswered("HTTP/1.0 200 OK\r\nContent-Length: 1000\r\n\r\nfirst part");
    const std::wstring silentBase = L"http://127.0.0.1:" + std::to_wstring(silent.GetPort());
    const std::wstring halfBase = L"http://127.0.0.1:" + std::to_wstring(halfAnswered.GetPort());

    std::wstring page = L"?";
    EXPECT_LT(Took([&] { page = CUrlGrabber::GetPage(silentBase + L"/page"); }), bound);
    EXPECT_EQ(page, L"");
    EXPECT_LT(Took([&] { page = CUrlGrabber::GetPage(halfBase + L"/page"); }), bound);
    EXPECT_EQ(page, L"first part");
    // A byte now and then, each well within the wait for a piece: the page
    // ends with what came in its time.
    StalledSite dripping("HTTP/1.0 200 OK\r\n\r\nstart", 300);
    const std::wstring drippingBase = L"http://127.0.0.1:" + std::to_wstring(dripping.GetPort());
    EXPECT_LT(Took([&] { page = CUrlGrabber::GetPage(drippingBase + L"/page"); }), bound);
    EXPECT_EQ(page.compare(0, 5, L"start"), 0) << page.size();

    std::wstring cookie = L"?";
    EXPECT_LT(Took([&] { cookie = CUrlGrabber::GetCookie(L"127.0.0.1", L"c.html", L"tv", silent.GetPort()); }),
              bound);
    EXPECT_EQ(cookie, L"");
    // The user hears that the request was not answered.
    const auto boxes = m_boxes.Get();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, L"4");

    // The play road's grabber on the same site gives no address in time.
    sites.tvLinePort = silent.GetPort();
    SetGrabberSites(sites);
    CUrlGrabber::CreateBuiltIn();
    std::wstring address = L"?";
    EXPECT_LT(Took([&] { address = CUrlGrabber::Resolve(L"c1", "tvl"); }), bound);
    EXPECT_EQ(address, L"");
}

TEST(OntvtimeAddress, PlaylistAddressDropsCookieAttributes)
{
    EXPECT_EQ(COntvtimeGrabber::PlaylistAddress(L"a%20b; path=/; expires=x", L"http://h"), L"http://h/stream/a b");
    EXPECT_EQ(COntvtimeGrabber::PlaylistAddress(L"http%3A%2F%2Fs%2Fp.asx", L"http://h"), L"http://s/p.asx");
}

TEST(EmbedGrabberFill, TemplateTakesTheIdentifier)
{
    struct Case {
        const wchar_t* templateText;
        const wchar_t* expected;
    };
    const Case cases[] = {
        {L"http://site/live/%s.asx", L"http://site/live/ID.asx"},
        {L"<embed src=\"http://s/p?c=%s&a=%20\">", L"<embed src=\"http://s/p?c=ID&a=%20\">"},
        {L"100%% %s %d", L"100% ID %d"},
        {L"%s/%s", L"ID/ID"},
        {L"no slot", L"no slot"},
        {L"trailing %", L"trailing %"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CEmbedGrabber::Fill(c.templateText, L"ID"), c.expected) << c.templateText;
}

TEST_F(GrabberTest, TemplateGrabbersComeFromTheWideStringsOfTheRoot)
{
    KV::DataKey root("channels");
    root.SetStringW("web", L"http://tv.example/%s");
    root.SetStringA("narrow", "http://x/%s");
    root.SetInt("number", 7);
    root.AddKey("de");
    CUrlGrabber::CreateEmbedGrabbers(&root);
    CUrlGrabber::CreateEmbedGrabbers(nullptr);
    EXPECT_EQ(CUrlGrabber::Resolve(L"chan", "web"), L"http://tv.example/chan");
    EXPECT_FALSE(CUrlGrabber::Find("narrow"));
    EXPECT_FALSE(CUrlGrabber::Find("number"));
    EXPECT_FALSE(CUrlGrabber::Find("de"));
}

TEST_F(GrabberTest, TheLastCreatedGrabberHoldsTheKey)
{
    KV::DataKey root;
    root.SetStringW("tvl", L"t/%s");
    root.SetStringW("otvt", L"o/%s");

    CUrlGrabber::CreateEmbedGrabbers(&root);
    CUrlGrabber::CreateBuiltIn();
    EXPECT_TRUE(std::dynamic_pointer_cast<CTVLineGrabber>(CUrlGrabber::Find("tvl")));
    EXPECT_TRUE(std::dynamic_pointer_cast<COntvtimeGrabber>(CUrlGrabber::Find("otvt")));

    CUrlGrabber::CreateEmbedGrabbers(&root);
    EXPECT_EQ(CUrlGrabber::Resolve(L"x", "tvl"), L"t/x");
    EXPECT_EQ(CUrlGrabber::Resolve(L"x", "otvt"), L"o/x");

    CUrlGrabber::DeleteAll();
    EXPECT_FALSE(CUrlGrabber::Find("tvl"));
    EXPECT_EQ(CUrlGrabber::Resolve(L"x", "tvl"), L"");
}

TEST_F(GrabberTest, ConcurrentResolvesKeepTheirOwnResults)
{
    // The player resolves on its interface thread while recordings resolve
    // on their own: no result may leak into another caller's.
    for (int i = 0; i < 4; ++i)
        m_server.SetPage("ru/tv/?channel=c" + std::to_string(i), "x key=K" + std::to_string(i) + "\" y");
    KV::DataKey root;
    root.SetStringW("tpl", L"tpl:%s");
    CUrlGrabber::CreateEmbedGrabbers(&root);
    CUrlGrabber::CreateBuiltIn();

    std::vector<std::thread> threads;
    std::vector<int> wrong(4, 0);
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([t, &wrong] {
            const std::wstring id = L"c" + std::to_wstring(t);
            const std::wstring stream =
                L"http://10.1.2.3:8080/TVLineStreams/TV_live.ashx?mswmext=.asx&key=K" + std::to_wstring(t);
            for (int round = 0; round < 5; ++round) {
                if (CUrlGrabber::Resolve(id, "tvl") != stream)
                    ++wrong[t];
                for (int i = 0; i < 200; ++i)
                    if (CUrlGrabber::Resolve(id, "tpl") != L"tpl:" + id)
                        ++wrong[t];
            }
        });
    }
    for (auto& thread : threads)
        thread.join();
    EXPECT_EQ(wrong, std::vector<int>(4, 0));
}

} // namespace
