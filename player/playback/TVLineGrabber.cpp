#include "player/playback/TVLineGrabber.h"

#include "player/playback/UrlGrabberSites.h"

CTVLineGrabber::CTVLineGrabber() : CUrlGrabber("tvl") {}

std::wstring CTVLineGrabber::Grab(const std::wstring& identifier)
{
    const CGrabberSites sites = GetGrabberSites();
    const std::wstring page =
        GetPage(MakeHttpBase(sites.tvLineHost, sites.tvLinePort) + L"/ru/tv/?channel=" + identifier);
    return StreamFromPage(page, sites.tvLineStreamServer);
}

std::wstring CTVLineGrabber::StreamFromPage(const std::wstring& page, const std::wstring& streamServer)
{
    const size_t start = page.find(L"key=");
    if (start == std::wstring::npos)
        return std::wstring();
    const size_t quote = page.find(L'"', start);
    if (quote == std::wstring::npos)
        return std::wstring();
    return L"http://" + streamServer + L"/TVLineStreams/TV_live.ashx?mswmext=.asx&" +
           page.substr(start, quote - start);
}
