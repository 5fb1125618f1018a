#include "player/playback/EFPlayerCtrl.h"

#include "framework/ComVariant.h"

const wchar_t CEFPlayerCtrl::BlackPage[] =
    L"<body style=\"margin-left:0; margin-top:0; margin-right:0; margin-bottom:0\" bgcolor=\"#000000\">  </body>";

CEFPlayerCtrl::CEFPlayerCtrl(HWND parent, const RECT& rect) : CPlayerCtrl("e")
{
    m_schemes[L"rtmp"] = 0;
    m_hasControls = false;

    if (m_window.Create(parent, &rect, L"", WS_CHILD, 0, WindowId) == nullptr)
        return;
    if (m_browser.Create(m_window, &rect, L"about:blank", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN,
                         0, 0) == nullptr ||
        m_browser.GetControl() == nullptr)
        return;
    m_browser.WriteHTML(BlackPage);
    m_browser.GetControl()->Stop();
    m_browser.GetControl()->Quit();
    m_created = true;
}

CEFPlayerCtrl::~CEFPlayerCtrl()
{
    if (m_window.IsWindow())
        m_window.DestroyWindow();
}

void CEFPlayerCtrl::Play(const std::wstring& url, const std::wstring&)
{
    if (!m_created)
        return;
    NotifyStatus(L"", PlayerStatus::Text);
    if (url.find(L"embed") != std::wstring::npos || url.find(L"object") != std::wstring::npos) {
        m_browser.WriteHTML(url);
        return;
    }
    CVariant address(url.c_str());
    CVariant none;
    m_browser.GetControl()->Navigate2(&address, &none, &none, &none, &none);
}

void CEFPlayerCtrl::Stop()
{
    if (!m_created)
        return;
    m_browser.WriteHTML(BlackPage);
    m_browser.GetControl()->Stop();
    m_browser.GetControl()->Quit();
    NotifyStatus(L"", PlayerStatus::Stopped);
}

void CEFPlayerCtrl::Move(int x, int y, int cx, int cy)
{
    CPlayerCtrl::Move(x, y, cx, cy);
    m_browser.SetWindowPos(nullptr, 0, 0, cx, cy, SWP_NOZORDER);
}
