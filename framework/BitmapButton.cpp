#include "framework/BitmapButton.h"

CBitmapButton::CBitmapButton(DWORD extendedStyle, HIMAGELIST images)
    : m_extendedStyle(extendedStyle), m_images(images)
{
}

DWORD CBitmapButton::SetBitmapButtonExtendedStyle(DWORD style, DWORD mask)
{
    const DWORD previous = m_extendedStyle;
    m_extendedStyle = mask == 0 ? style : ((m_extendedStyle & ~mask) | (style & mask));
    return previous;
}

HIMAGELIST CBitmapButton::SetImageList(HIMAGELIST images)
{
    HIMAGELIST previous = m_images;
    m_images = images;
    if (m_hWnd != nullptr) {
        if (m_extendedStyle & BMPBTN_AUTOSIZE)
            SizeToImage();
        Invalidate(FALSE);
    }
    return previous;
}

void CBitmapButton::SetImages(int normal, int pushed, int focusOrHover, int disabled)
{
    m_normal = normal;
    m_pushed = pushed;
    m_focusOrHover = focusOrHover;
    m_disabled = disabled;
    if (m_hWnd != nullptr)
        Invalidate(FALSE);
}

int CBitmapButton::ImageFor(UINT itemState) const
{
    if ((itemState & ODS_DISABLED) && m_disabled >= 0)
        return m_disabled;
    if (itemState & ODS_DISABLED)
        return m_normal;
    if ((itemState & ODS_SELECTED) && m_pushed >= 0)
        return m_pushed;
    const bool hot = m_hovering && (m_extendedStyle & BMPBTN_HOVER);
    if ((hot || (itemState & ODS_FOCUS)) && m_focusOrHover >= 0)
        return m_focusOrHover;
    return m_normal;
}

bool CBitmapButton::SetToolTipText(const wchar_t* text)
{
    m_toolTipText = text != nullptr ? text : L"";
    if (m_hWnd != nullptr)
        ApplyToolTip();
    return true;
}

void CBitmapButton::ApplyToolTip()
{
    TOOLINFOW tool{};
    tool.cbSize = TTTOOLINFOW_V2_SIZE;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = GetParent();
    tool.uId = reinterpret_cast<UINT_PTR>(m_hWnd);
    tool.lpszText = const_cast<wchar_t*>(m_toolTipText.c_str());
    if (m_toolTip == nullptr) {
        if (m_toolTipText.empty())
            return;
        m_toolTip = ::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                                      CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, m_hWnd,
                                      nullptr, ::GetModuleHandleW(nullptr), nullptr);
        if (m_toolTip == nullptr)
            return;
        ::SendMessageW(m_toolTip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
        return;
    }
    ::SendMessageW(m_toolTip, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
}

BOOL CBitmapButton::SubclassWindow(HWND hwnd)
{
    if (!CWindowImpl::SubclassWindow(hwnd))
        return FALSE;
    ModifyStyle(BS_TYPEMASK, BS_OWNERDRAW);
    if (m_extendedStyle & BMPBTN_AUTOSIZE)
        SizeToImage();
    if (!m_toolTipText.empty())
        ApplyToolTip();
    return TRUE;
}

bool CBitmapButton::SizeToImage()
{
    int cx = 0, cy = 0;
    if (m_images == nullptr || !::ImageList_GetIconSize(m_images, &cx, &cy))
        return false;
    return SetWindowPos(nullptr, 0, 0, cx, cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE) != FALSE;
}

LRESULT CBitmapButton::OnDrawItem(WindowMessage& msg)
{
    const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(msg.lParam);
    const int image = ImageFor(item->itemState);
    int cx = 0, cy = 0;
    const bool drawable = m_images != nullptr && image >= 0 && image < ::ImageList_GetImageCount(m_images) &&
                          ::ImageList_GetIconSize(m_images, &cx, &cy);
    // A button larger than its images shows the button face around them.
    if (!drawable || cx < item->rcItem.right - item->rcItem.left || cy < item->rcItem.bottom - item->rcItem.top)
        ::FillRect(item->hDC, &item->rcItem, ::GetSysColorBrush(COLOR_BTNFACE));
    if (drawable)
        ::ImageList_Draw(m_images, image, item->hDC, item->rcItem.left, item->rcItem.top, ILD_NORMAL);
    return TRUE;
}

LRESULT CBitmapButton::OnEraseBackground(WindowMessage&)
{
    return 1;  // the image covers the button
}

LRESULT CBitmapButton::OnDoubleClick(WindowMessage& msg)
{
    // A quick second click is a click too, not BN_DOUBLECLICKED.
    return DefWindowProc(WM_LBUTTONDOWN, msg.wParam, msg.lParam);
}

LRESULT CBitmapButton::OnMouseMove(WindowMessage& msg)
{
    if ((m_extendedStyle & BMPBTN_HOVER) && !m_hovering) {
        TRACKMOUSEEVENT track{};
        track.cbSize = sizeof(track);
        track.dwFlags = TME_LEAVE;
        track.hwndTrack = m_hWnd;
        if (::TrackMouseEvent(&track)) {
            m_hovering = true;
            Invalidate(FALSE);
        }
    }
    msg.handled = false;  // the button tracks its pushed state itself
    return 0;
}

LRESULT CBitmapButton::OnMouseLeave(WindowMessage& msg)
{
    if (m_hovering) {
        m_hovering = false;
        Invalidate(FALSE);
    }
    msg.handled = false;
    return 0;
}

LRESULT CBitmapButton::OnDestroy(WindowMessage& msg)
{
    if (m_toolTip != nullptr)
        ::DestroyWindow(m_toolTip);
    m_toolTip = nullptr;
    m_hovering = false;
    msg.handled = false;
    return 0;
}
