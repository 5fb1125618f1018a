#pragma once
// "tvl": scrapes the first TV site's channel page for its stream key.

#include "player/playback/UrlGrabber.h"

class CTVLineGrabber : public CUrlGrabber {
public:
    CTVLineGrabber();
    // identifier: the site's channel name.
    std::wstring Grab(const std::wstring& identifier) override;

    // The stream address for the page text, or empty when the page holds no
    // quoted "key=..." token.
    static std::wstring StreamFromPage(const std::wstring& page, const std::wstring& streamServer);
};
