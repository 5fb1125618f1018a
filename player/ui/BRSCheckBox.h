// CBRSCheckBox: a skinned check box. It subclasses a dialog's check box,
// makes it owner-drawn and keeps the checked state itself: every command the
// button reflects back (a click) toggles it. The parent must reflect
// notifications; it still gets its WM_COMMAND first.
#pragma once

#include "framework/Controls.h"
#include "framework/Image.h"
#include "framework/WindowImpl.h"

class CBRSCheckBox : public CWindowImpl<CBRSCheckBox, CButton> {
public:
    CBRSCheckBox();
    ~CBRSCheckBox() override = default;

    BOOL SubclassWindow(HWND checkBox);

    // Stores the value and repaints; an equal value does nothing.
    void SetCheck(bool checked);
    bool GetCheck() const { return m_checked != 0; }
    bool IsHot() const { return m_tracking != 0; }

    MESSAGE_MAP_BEGIN(CBRSCheckBox)
        ON_MESSAGE(OCM_DRAWITEM, OnDrawItem)
        ON_MESSAGE(OCM_COMMAND, OnReflectedCommand)
        ON_MESSAGE(WM_SIZE, OnSize)
        ON_MESSAGE(WM_ERASEBKGND, OnEraseBackground)
        ON_MESSAGE(WM_MOUSEMOVE, OnMouseMove)
        ON_MESSAGE(WM_MOUSEHOVER, OnMouseHoverMessage)
        ON_MESSAGE(WM_MOUSELEAVE, OnMouseLeaveMessage)
    MESSAGE_MAP_END()

    virtual void OnMouseLeave() {}
    virtual void DoPaint(const DRAWITEMSTRUCT& item);
    virtual void OnMouseHover() {}

private:
    LRESULT OnDrawItem(WindowMessage& msg);
    LRESULT OnReflectedCommand(WindowMessage& msg);
    LRESULT OnSize(WindowMessage& msg);
    LRESULT OnEraseBackground(WindowMessage& msg);
    LRESULT OnMouseMove(WindowMessage& msg);
    LRESULT OnMouseHoverMessage(WindowMessage& msg);
    LRESULT OnMouseLeaveMessage(WindowMessage& msg);

    BYTE m_checked = 0;
    int m_tracking = 0;
    CImage* m_unchecked = nullptr;
    CImage* m_checkedImage = nullptr;
};
