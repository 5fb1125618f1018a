#include "player/playback/UrlGrabberSites.h"

#include <mutex>

namespace {

CGrabberSites MakeProgramSites()
{
    CGrabberSites sites;
    // The TV sites' real addresses are filled in here for a release; the
    // reserved .example names never resolve, so the grabbers fail cleanly.
    sites.tvLineHost = L"www.tvline.example";
    sites.tvLinePort = INTERNET_DEFAULT_HTTP_PORT;
    // No stream server address is known to us yet: 192.0.2.1 is a
    // documentation address that never answers, so "tvl" addresses fail
    // cleanly in the player until the real one is filled in here.
    sites.tvLineStreamServer = L"192.0.2.1:8080";
    sites.ontvtimeHost = L"www.ontvtime.example";
    sites.ontvtimePort = INTERNET_DEFAULT_HTTP_PORT;
    return sites;
}

std::mutex g_sitesLock;

CGrabberSites& Sites()
{
    static CGrabberSites sites = MakeProgramSites();
    return sites;
}

} // namespace

CGrabberSites GetGrabberSites()
{
    std::lock_guard<std::mutex> lock(g_sitesLock);
    return Sites();
}

CGrabberSites SetGrabberSites(const CGrabberSites& sites)
{
    std::lock_guard<std::mutex> lock(g_sitesLock);
    CGrabberSites previous = Sites();
    Sites() = sites;
    return previous;
}

std::wstring MakeHttpBase(const std::wstring& host, INTERNET_PORT port)
{
    std::wstring base = L"http://" + host;
    if (port != INTERNET_DEFAULT_HTTP_PORT)
        base += L":" + std::to_wstring(port);
    return base;
}
