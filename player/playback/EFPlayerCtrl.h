#pragma once
// CEFPlayerCtrl: the back-end "e", for channels whose stream is a web page or
// an HTML snippet (an embedded player), shown in the web browser control.
// It starts and stops on a blank black page; it has no volume or full-screen
// control and reports nothing but the start and the end of a play.

#include "player/playback/EFBrowser.h"
#include "player/playback/PlayerCtrl.h"

class CEFPlayerCtrl : public CPlayerCtrl {
public:
    static constexpr UINT WindowId = 105;
    // The page shown while nothing plays.
    static const wchar_t BlackPage[];

    // A hidden child of parent at rect; IsCreated() tells whether the browser
    // came up.
    CEFPlayerCtrl(HWND parent, const RECT& rect);
    ~CEFPlayerCtrl() override;

    // A url holding "embed" or "object" (exact case) is HTML and is written
    // into the page; anything else is navigated to. The title is not used.
    void Play(const std::wstring& url, const std::wstring& title) override;
    void Stop() override;
    void Move(int x, int y, int cx, int cy) override;

    CEFBrowser& Browser() { return m_browser; }

private:
    CEFBrowser m_browser;
};
