#pragma once
// "otvt": the second TV site hands out the playlist of a channel in the
// cookie "tv" of the channel's page; the playlist names the stream.

#include "player/playback/UrlGrabber.h"

class COntvtimeGrabber : public CUrlGrabber {
public:
    COntvtimeGrabber();
    // identifier: the channel page's path without ".html".
    std::wstring Grab(const std::wstring& identifier) override;

    // Where the playlist lies for a cookie as GetCookie returns it: the
    // value without its attributes, unescaped; an absolute address is taken
    // as it is, anything else lies under base + "/stream/".
    static std::wstring PlaylistAddress(const std::wstring& cookie, const std::wstring& base);
    // The text between '<ref href = "' and the next '"/>', or empty.
    static std::wstring StreamFromPlaylist(const std::wstring& playlist);
};
