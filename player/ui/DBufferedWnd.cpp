#include "player/ui/DBufferedWnd.h"

#include "framework/GdiHelpers.h"

int TrackHoverAndLeave(HWND window)
{
    TRACKMOUSEEVENT track{};
    track.cbSize = sizeof(track);
    track.dwFlags = TME_HOVER | TME_LEAVE;
    track.hwndTrack = window;
    track.dwHoverTime = 1;
    return ::TrackMouseEvent(&track) ? 1 : 0;
}

void CDBufferedWnd::Redraw()
{
    SetDirty();
    InvalidateRect(nullptr, FALSE);
}

void CDBufferedWnd::DoPaint(HDC dc, const RECT& client)
{
    CBrushHandle brush(::CreateSolidBrush(RGB(200, 0, 0)));
    ::FillRect(dc, &client, brush);
}

LRESULT CDBufferedWnd::OnSize(WindowMessage& msg)
{
    m_buffer.Destroy();
    if (msg.Width() > 0 && msg.Height() > 0)
        m_buffer.Create(msg.Width(), msg.Height(), 24);
    SetDirty();
    ValidateRect(nullptr);
    InvalidateRect(nullptr, FALSE);
    return 0;
}

LRESULT CDBufferedWnd::OnPaint(WindowMessage&)
{
    CPaintDC paint(m_hWnd);
    if (m_buffer.IsNull())
        return 0;
    CImageDC buffer(m_buffer);
    if (m_dirty) {
        const RECT client = GetClientRect();
        DoPaint(buffer, client);
    }
    const RECT& area = paint.PaintRect();
    const int width = area.right - area.left;
    const int height = area.bottom - area.top;
    if (width > 0 && height > 0)
        ::BitBlt(paint, area.left, area.top, width, height, buffer, area.left, area.top, SRCCOPY);
    m_dirty = 0;
    return 0;
}

LRESULT CDBufferedWnd::OnMouseMove(WindowMessage&)
{
    if (m_tracking == 0)
        m_tracking = TrackHoverAndLeave(m_hWnd);
    return 0;
}

LRESULT CDBufferedWnd::OnMouseHoverMessage(WindowMessage& msg)
{
    OnMouseHover();
    msg.handled = false;
    return 0;
}

LRESULT CDBufferedWnd::OnMouseLeaveMessage(WindowMessage& msg)
{
    m_tracking = 0;
    OnMouseLeave();
    msg.handled = false;
    return 0;
}
