// CBitmapButton: a push button drawn from an image list, with an image for
// each state (normal, pushed, hover and focus, disabled) and a tooltip.
//
//   m_play.SetBitmapButtonExtendedStyle(BMPBTN_HOVER | BMPBTN_AUTOSIZE);
//   m_play.SubclassWindow(GetDlgItem(1025));
//   m_play.SetImageList(m_playImages);      // not owned: the dialog keeps it
//   m_play.SetImages(0, 2, 1);              // normal, pushed, hover/focus
//   m_play.SetToolTipText(L"Play");
//
// The button becomes owner-drawn and draws itself on the reflected
// WM_DRAWITEM, so its parent must reflect notifications
// (REFLECT_NOTIFICATIONS). It still reports BN_CLICKED like any button.
#pragma once

#include "framework/Controls.h"
#include "framework/WindowImpl.h"

#include <string>

enum BitmapButtonStyle : DWORD {
    BMPBTN_HOVER = 0x0001,     // the hover image while the pointer is over it
    BMPBTN_AUTOSIZE = 0x0002,  // the button takes the size of its images
};

class CBitmapButton : public CWindowImpl<CBitmapButton, CButton> {
public:
    explicit CBitmapButton(DWORD extendedStyle = BMPBTN_AUTOSIZE, HIMAGELIST images = nullptr);

    DWORD GetBitmapButtonExtendedStyle() const { return m_extendedStyle; }
    // Changes the style bits in mask (all bits when mask is 0).
    DWORD SetBitmapButtonExtendedStyle(DWORD style, DWORD mask = 0);

    HIMAGELIST GetImageList() const { return m_images; }
    HIMAGELIST SetImageList(HIMAGELIST images);
    // Indexes into the image list; -1 for a state without an image of its own
    // (it shows the normal image).
    void SetImages(int normal, int pushed = -1, int focusOrHover = -1, int disabled = -1);
    // Which image a state shows; the drawing uses it.
    int ImageFor(UINT itemState) const;

    bool SetToolTipText(const wchar_t* text);
    HWND GetToolTip() const { return m_toolTip; }

    BOOL SubclassWindow(HWND hwnd);
    bool SizeToImage();
    bool IsHovering() const { return m_hovering; }

    MESSAGE_MAP_BEGIN(CBitmapButton)
        ON_MESSAGE(OCM_DRAWITEM, OnDrawItem)
        ON_MESSAGE(WM_ERASEBKGND, OnEraseBackground)
        ON_MESSAGE(WM_LBUTTONDBLCLK, OnDoubleClick)
        ON_MESSAGE(WM_MOUSEMOVE, OnMouseMove)
        ON_MESSAGE(WM_MOUSELEAVE, OnMouseLeave)
        ON_MESSAGE(WM_DESTROY, OnDestroy)
    MESSAGE_MAP_END()

private:
    LRESULT OnDrawItem(WindowMessage& msg);
    LRESULT OnEraseBackground(WindowMessage& msg);
    LRESULT OnDoubleClick(WindowMessage& msg);
    LRESULT OnMouseMove(WindowMessage& msg);
    LRESULT OnMouseLeave(WindowMessage& msg);
    LRESULT OnDestroy(WindowMessage& msg);
    void ApplyToolTip();

    DWORD m_extendedStyle;
    HIMAGELIST m_images;
    int m_normal = 0;
    int m_pushed = -1;
    int m_focusOrHover = -1;
    int m_disabled = -1;
    std::wstring m_toolTipText;
    HWND m_toolTip = nullptr;
    bool m_hovering = false;
};
