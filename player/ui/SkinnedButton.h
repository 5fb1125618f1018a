// CSkinnedButton: what the kit's owner-drawn buttons share. It subclasses a
// dialog's button and makes it owner-drawn; a derived class paints the whole
// face in DoPaint, from the WM_DRAWITEM the parent reflects back
// (REFLECT_NOTIFICATIONS). The face is never erased, and it is repainted
// after a size change and when the pointer arrives or leaves (hover and
// leave notices once per visit of the pointer).
#pragma once

#include "framework/Controls.h"
#include "framework/WindowImpl.h"

class CSkinnedButton : public CWindowImpl<CSkinnedButton, CButton> {
public:
    ~CSkinnedButton() override = default;

    // Subclasses the button and makes it owner-drawn.
    BOOL SubclassWindow(HWND button);

    bool IsHot() const { return m_tracking != 0; }

    MESSAGE_MAP_BEGIN(CSkinnedButton)
        ON_MESSAGE(OCM_DRAWITEM, OnDrawItem)
        ON_MESSAGE(WM_SIZE, OnSize)
        ON_MESSAGE(WM_ERASEBKGND, OnEraseBackground)
        ON_MESSAGE(WM_MOUSEMOVE, OnMouseMove)
        ON_MESSAGE(WM_MOUSEHOVER, OnMouseHoverMessage)
        ON_MESSAGE(WM_MOUSELEAVE, OnMouseLeaveMessage)
    MESSAGE_MAP_END()

    virtual void OnMouseLeave() {}
    virtual void DoPaint(const DRAWITEMSTRUCT& item) = 0;
    virtual void OnMouseHover() {}

protected:
    CSkinnedButton() = default;

private:
    LRESULT OnDrawItem(WindowMessage& msg);
    LRESULT OnSize(WindowMessage& msg);
    LRESULT OnEraseBackground(WindowMessage& msg);
    LRESULT OnMouseMove(WindowMessage& msg);
    LRESULT OnMouseHoverMessage(WindowMessage& msg);
    LRESULT OnMouseLeaveMessage(WindowMessage& msg);

    int m_tracking = 0;
};
