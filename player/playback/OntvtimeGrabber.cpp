#include "player/playback/OntvtimeGrabber.h"

#include "player/playback/UrlGrabberSites.h"

#include <shlwapi.h>

namespace {

// The unescaping works in a buffer of this many characters.
const size_t kCookieChars = 1024;

} // namespace

COntvtimeGrabber::COntvtimeGrabber() : CUrlGrabber("otvt") {}

std::wstring COntvtimeGrabber::Grab(const std::wstring& identifier)
{
    const CGrabberSites sites = GetGrabberSites();
    const std::wstring cookie = GetCookie(sites.ontvtimeHost, identifier + L".html", L"tv", sites.ontvtimePort);
    if (cookie.empty())
        return std::wstring();
    const std::wstring playlist =
        PlaylistAddress(cookie, MakeHttpBase(sites.ontvtimeHost, sites.ontvtimePort));
    return StreamFromPlaylist(GetPage(playlist));
}

std::wstring COntvtimeGrabber::PlaylistAddress(const std::wstring& cookie, const std::wstring& base)
{
    // Attributes such as "; path=/" follow the value; they are no part of
    // an address.
    std::wstring value = cookie.substr(0, cookie.find(L';'));
    if (value.size() >= kCookieChars)
        value.resize(kCookieChars - 1);
    wchar_t buffer[kCookieChars] = {};
    value.copy(buffer, value.size());
    UrlUnescapeW(buffer, nullptr, nullptr, URL_UNESCAPE_INPLACE);
    value = buffer;
    if (value.find(L"://") != std::wstring::npos)
        return value;
    return base + L"/stream/" + value;
}

std::wstring COntvtimeGrabber::StreamFromPlaylist(const std::wstring& playlist)
{
    static const wchar_t kOpen[] = L"<ref href = \"";
    const size_t open = playlist.find(kOpen);
    if (open == std::wstring::npos)
        return std::wstring();
    const size_t start = open + (sizeof(kOpen) / sizeof(wchar_t) - 1);
    const size_t end = playlist.find(L"\"/>", start);
    if (end == std::wstring::npos)
        return std::wstring();
    return playlist.substr(start, end - start);
}
