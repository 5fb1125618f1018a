#pragma once
// CEmptyPage: a page with nothing on it but the skin's background and frame.
// The channel panel's records tab shows it while the player is built
// without its records page.

#include "foundation/Skin.h"
#include "framework/GdiHelpers.h"
#include "framework/WindowImpl.h"

class CEmptyPage : public CWindowImpl<CEmptyPage> {
public:
    WINDOW_CLASS_EX(L"BrisvaneEmptyPage", 0, nullptr)

    MESSAGE_MAP_BEGIN(CEmptyPage)
        ON_MESSAGE(WM_PAINT, OnPaint)
        ON_MESSAGE(WM_ERASEBKGND, OnEraseBackground)
    MESSAGE_MAP_END()

private:
    LRESULT OnPaint(WindowMessage&)
    {
        CPaintDC paint(m_hWnd);
        const RECT client = GetClientRect();
        CSelectObject brush(paint, KV::Skin::GetBkBrush());
        CSelectObject pen(paint, KV::Skin::GetFramePen());
        ::Rectangle(paint, client.left, client.top, client.right, client.bottom);
        return 0;
    }
    LRESULT OnEraseBackground(WindowMessage&) { return 1; }
};
