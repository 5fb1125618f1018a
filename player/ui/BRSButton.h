// CBRSButton: a skinned push button. It subclasses a dialog's button, makes
// it owner-drawn and paints it from the skin's button images (normal, hot,
// pressed, disabled) with the text colour of the state. The parent must
// reflect notifications (REFLECT_NOTIFICATIONS) so that the button gets its
// WM_DRAWITEM. Clicks reach the parent as from any button.
#pragma once

#include "framework/Controls.h"
#include "framework/Image.h"
#include "framework/WindowImpl.h"

#include <string>

class CBRSButton : public CWindowImpl<CBRSButton, CButton> {
public:
    enum SizingMode {
        NaturalSize = 0,  // the image as it is; the button takes its size
        ThreeSlice = 1,   // edges kept, middle column stretched to the width
    };
    enum State { Normal = 0, Hot = 1, Pressed = 2, Disabled = 3, StateCount = 4 };

    CBRSButton();
    ~CBRSButton() override = default;

    // Subclasses the button, makes it owner-drawn and, when the normal image
    // exists, sizes it to the image (the width too in NaturalSize mode).
    BOOL SubclassWindow(HWND button);
    // The button's text from the language pack.
    void SetText(const std::string& languageId);

    void SetSizingMode(SizingMode mode) { m_sizingMode = mode; }
    bool IsHot() const { return m_tracking != 0; }

    MESSAGE_MAP_BEGIN(CBRSButton)
        ON_MESSAGE(OCM_DRAWITEM, OnDrawItem)
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
    LRESULT OnSize(WindowMessage& msg);
    LRESULT OnEraseBackground(WindowMessage& msg);
    LRESULT OnMouseMove(WindowMessage& msg);
    LRESULT OnMouseHoverMessage(WindowMessage& msg);
    LRESULT OnMouseLeaveMessage(WindowMessage& msg);

    void DrawImage(HDC dc, const CImage& image, const RECT& rect) const;

    CImage* m_images[StateCount] = {};
    COLORREF m_colors[StateCount] = {};
    HFONT m_font = nullptr;
    int m_sizingMode = ThreeSlice;
    int m_tracking = 0;
};
