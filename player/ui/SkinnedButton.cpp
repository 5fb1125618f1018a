#include "player/ui/SkinnedButton.h"

#include "player/ui/DBufferedWnd.h"

BOOL CSkinnedButton::SubclassWindow(HWND button)
{
    if (!CWindowImpl<CSkinnedButton, CButton>::SubclassWindow(button))
        return FALSE;
    ModifyStyle(BS_TYPEMASK, BS_OWNERDRAW);
    return TRUE;
}

LRESULT CSkinnedButton::OnDrawItem(WindowMessage& msg)
{
    DoPaint(*reinterpret_cast<const DRAWITEMSTRUCT*>(msg.lParam));
    return 0;
}

LRESULT CSkinnedButton::OnSize(WindowMessage&)
{
    ValidateRect(nullptr);
    InvalidateRect(nullptr, FALSE);
    return 0;
}

LRESULT CSkinnedButton::OnEraseBackground(WindowMessage&)
{
    return 0;
}

LRESULT CSkinnedButton::OnMouseMove(WindowMessage&)
{
    if (m_tracking == 0)
        m_tracking = TrackHoverAndLeave(m_hWnd);
    return 0;
}

LRESULT CSkinnedButton::OnMouseHoverMessage(WindowMessage& msg)
{
    OnMouseHover();
    InvalidateRect(nullptr, FALSE);
    msg.handled = false;
    return 0;
}

LRESULT CSkinnedButton::OnMouseLeaveMessage(WindowMessage& msg)
{
    m_tracking = 0;
    OnMouseLeave();
    InvalidateRect(nullptr, FALSE);
    msg.handled = false;
    return 0;
}
