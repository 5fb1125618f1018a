// CDBufferedWnd: a child window that paints through a back buffer of its
// client size. A derived class draws its whole picture in DoPaint, once per
// change (it marks the buffer dirty and invalidates); exposure alone only
// copies the buffer to the screen. The window also asks for hover and leave
// notices once per visit of the pointer.
#pragma once

#include "framework/Image.h"
#include "framework/WindowImpl.h"

class CDBufferedWnd : public CWindowImpl<CDBufferedWnd> {
public:
    static constexpr DWORD WindowStyle = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;

    // No class background: the buffer covers the whole client area.
    WINDOW_CLASS_EX(L"BrisvaneBufferedWnd", CS_DBLCLKS, nullptr)

    CDBufferedWnd() = default;
    ~CDBufferedWnd() override = default;

    HWND Create(HWND parent, const RECT* rect = nullptr, DWORD style = WindowStyle, UINT id = 0)
    {
        return CWindowImpl<CDBufferedWnd>::Create(parent, rect, nullptr, style, 0, id);
    }

    // Repaints the buffer and the whole window at the next WM_PAINT.
    void Redraw();

    MESSAGE_MAP_BEGIN(CDBufferedWnd)
        ON_MESSAGE(WM_SIZE, OnSize)
        ON_MESSAGE(WM_PAINT, OnPaint)
        ON_MESSAGE(WM_MOUSEMOVE, OnMouseMove)
        ON_MESSAGE(WM_MOUSEHOVER, OnMouseHoverMessage)
        ON_MESSAGE(WM_MOUSELEAVE, OnMouseLeaveMessage)
    MESSAGE_MAP_END()

    virtual void OnMouseLeave() {}
    // Paints the whole client area into the buffer's device context.
    virtual void DoPaint(HDC dc, const RECT& client);
    virtual void OnMouseHover() {}

protected:
    LRESULT OnSize(WindowMessage& msg);
    LRESULT OnPaint(WindowMessage& msg);
    LRESULT OnMouseMove(WindowMessage& msg);
    LRESULT OnMouseHoverMessage(WindowMessage& msg);
    LRESULT OnMouseLeaveMessage(WindowMessage& msg);

    void SetDirty() { m_dirty = 1; }
    bool IsDirty() const { return m_dirty != 0; }

private:
    CImage m_buffer;
    int m_dirty = 1;
    int m_tracking = 0;
};

// Asks the system for WM_MOUSEHOVER (after 1 ms) and WM_MOUSELEAVE for
// window; the call's result, which the kit windows keep as their tracking
// flag.
int TrackHoverAndLeave(HWND window);
