#include "player/playback/UrlGrabber.h"

#include "foundation/DataKey.h"
#include "foundation/Utilities.h"
#include "player/catalogue/SystemMessageBox.h"
#include "player/playback/EmbedGrabber.h"
#include "player/playback/OntvtimeGrabber.h"
#include "player/playback/TVLineGrabber.h"
#include "player/playback/UrlGrabberSites.h"
#include "framework/HttpGet.h"

#include <algorithm>
#include <map>
#include <mutex>

namespace {

// Both fetches present themselves as the browser the sites were built for.
const wchar_t kAgent[] =
    L"Mozilla/5.0 (Windows; U; Windows NT 5.1; en-US; rv:1.9.1.9) Gecko/20100315 Firefox/3.5.9 GTB7.0";
const wchar_t kRequestHeaders[] =
    L"Content-Type:application/x-www-form-urlencoded\n"
    L"User-Agent:Mozilla/5.0 (Windows; U; Windows NT 5.1; en-US; rv:1.9.1.9) Gecko/20100315 Firefox/3.5.9 GTB7.0";
const DWORD kRequestHeadersLength = static_cast<DWORD>(sizeof(kRequestHeaders) / sizeof(wchar_t) - 1);

// Reads are split so that a huge announced count never becomes one
// allocation.
const DWORD kMaxChunk = 64 * 1024;

struct GrabberRegistry {
    std::mutex lock;
    std::map<std::string, std::shared_ptr<CUrlGrabber>> grabbers;
};

GrabberRegistry& Registry()
{
    static GrabberRegistry registry;
    return registry;
}

// The pages the grabbers read are small; a server that sends more (or
// never stops) gets no more than this much read.
const size_t kMaxPageBytes = 4 * 1024 * 1024;

// A page's whole body comes within this many of the fetch's waits: a site
// that sends a byte now and then, each within the wait for a piece, must not
// hold the caller (the play road's, on the user-interface thread) for ever.
const DWORD kBodyWaits = 3;

void ReadBody(HINTERNET request, std::string& body, DWORD timeoutMs)
{
    const ULONGLONG start = GetTickCount64();
    const ULONGLONG allowedMs = static_cast<ULONGLONG>(timeoutMs) * kBodyWaits;
    std::string chunk(kMaxChunk, '\0');
    while (body.size() < kMaxPageBytes && GetTickCount64() - start < allowedMs) {
        const DWORD room = static_cast<DWORD>(std::min<size_t>(kMaxPageBytes - body.size(), kMaxChunk));
        DWORD read = 0;
        if (!ReadArrivedBody(request, &chunk[0], room, read) || read == 0)
            break;
        body.append(chunk.data(), read);
    }
}

void TellCookieFailure(const wchar_t* text)
{
    ShowSystemMessageBox(nullptr, text, L"", MB_OK);
}

} // namespace

CUrlGrabber::CUrlGrabber(const std::string& key) : m_key(key)
{
    std::shared_ptr<CUrlGrabber> self(this);
    std::shared_ptr<CUrlGrabber> replaced;
    {
        GrabberRegistry& registry = Registry();
        std::lock_guard<std::mutex> lock(registry.lock);
        std::shared_ptr<CUrlGrabber>& slot = registry.grabbers[key];
        replaced = std::move(slot);
        slot = std::move(self);
    }
    // The replaced grabber goes once nobody is inside its Grab any more.
}

CUrlGrabber::~CUrlGrabber() = default;

std::wstring CUrlGrabber::Grab(const std::wstring&)
{
    return std::wstring();
}

void CUrlGrabber::CreateBuiltIn()
{
    new COntvtimeGrabber();
    new CTVLineGrabber();
}

void CUrlGrabber::CreateEmbedGrabbers(const KV::DataKey* root)
{
    if (!root)
        return;
    for (const auto& entry : root->GetValues()) {
        if (entry.second->GetType() == KV::ValueType::StringW)
            new CEmbedGrabber(entry.first, std::wstring(entry.second->GetStringWView()));
    }
}

std::shared_ptr<CUrlGrabber> CUrlGrabber::Find(const std::string& key)
{
    GrabberRegistry& registry = Registry();
    std::lock_guard<std::mutex> lock(registry.lock);
    auto found = registry.grabbers.find(key);
    return found == registry.grabbers.end() ? nullptr : found->second;
}

std::wstring CUrlGrabber::Resolve(const std::wstring& identifier, const std::string& key)
{
    std::shared_ptr<CUrlGrabber> grabber = Find(key);
    return grabber ? grabber->Grab(identifier) : std::wstring();
}

void CUrlGrabber::DeleteAll()
{
    std::map<std::string, std::shared_ptr<CUrlGrabber>> dropped;
    {
        GrabberRegistry& registry = Registry();
        std::lock_guard<std::mutex> lock(registry.lock);
        dropped.swap(registry.grabbers);
    }
}

std::wstring CUrlGrabber::GetPage(const std::wstring& url)
{
    CInternetHandle session(InternetOpenW(kAgent, INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr,
                                          INTERNET_FLAG_NO_CACHE_WRITE));
    if (!session)
        return std::wstring();
    const DWORD timeoutMs = GetGrabberSites().fetchTimeoutMs;
    LimitInternetWaits(session.Get(), timeoutMs);
    CHttpGet get;
    if (!get.Open(session.Get(), url, INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE, timeoutMs))
        return std::wstring();
    HINTERNET request = get.Request();
    std::string body;
    if (HttpSendRequestW(request, kRequestHeaders, kRequestHeadersLength, nullptr, 0))
        ReadBody(request, body, timeoutMs);
    return KV::AnsiToWide(body);
}

std::wstring CUrlGrabber::GetCookie(const std::wstring& server, const std::wstring& object,
                                    const std::wstring& name, INTERNET_PORT port)
{
    CInternetHandle session(InternetOpenW(kAgent, INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
    if (!session)
        return std::wstring();
    const DWORD timeoutMs = GetGrabberSites().fetchTimeoutMs;
    LimitInternetWaits(session.Get(), timeoutMs);
    // The placeholder credentials are never asked for by the sites.
    CInternetHandle connection(InternetConnectW(session.Get(), server.c_str(), port, L"-", L"-",
                                                INTERNET_SERVICE_HTTP, 0, 0));
    if (!connection) {
        TellCookieFailure(L"1");
        return std::wstring();
    }
    LimitInternetWaits(connection.Get(), timeoutMs);
    CInternetHandle request(HttpOpenRequestW(connection.Get(), L"GET", object.c_str(), L"HTTP/1.0",
                                             nullptr, nullptr,
                                             INTERNET_FLAG_RELOAD | INTERNET_FLAG_KEEP_CONNECTION, 0));
    if (!request) {
        TellCookieFailure(L"2");
        return std::wstring();
    }
    LimitInternetWaits(request.Get(), timeoutMs);
    if (!HttpSendRequestW(request.Get(), kRequestHeaders, kRequestHeadersLength, nullptr, 0)) {
        TellCookieFailure(L"4");
        return std::wstring();
    }
    wchar_t header[1024] = {};
    DWORD size = sizeof(header);
    DWORD index = 0;
    if (!HttpQueryInfoW(request.Get(), HTTP_QUERY_SET_COOKIE, header, &size, &index)) {
        TellCookieFailure(L"Error QueryInfo");
        return std::wstring();
    }
    std::wstring cookie(header, std::min<size_t>(size / sizeof(wchar_t), 1023));
    const std::wstring prefix = name + L"=";
    if (cookie.compare(0, prefix.size(), prefix) == 0)
        cookie.erase(0, prefix.size());
    return cookie;
}
