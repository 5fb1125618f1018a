// CWindow: a thin, copyable handle to a window. It owns nothing: destroying
// the wrapper leaves the window alone. Every window class of the framework
// derives from it, so these calls read the same everywhere.
#pragma once

#include <windows.h>

#include <string>

class CWindow {
public:
    HWND m_hWnd = nullptr;

    CWindow(HWND hwnd = nullptr) : m_hWnd(hwnd) {}

    CWindow& operator=(HWND hwnd) { m_hWnd = hwnd; return *this; }
    operator HWND() const { return m_hWnd; }

    void Attach(HWND hwnd) { m_hWnd = hwnd; }
    HWND Detach() { HWND hwnd = m_hWnd; m_hWnd = nullptr; return hwnd; }

    bool IsWindow() const { return m_hWnd != nullptr && ::IsWindow(m_hWnd) != FALSE; }
    BOOL DestroyWindow() { return ::DestroyWindow(m_hWnd); }

    // Messages
    LRESULT SendMessage(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0) const
    {
        return ::SendMessageW(m_hWnd, msg, wParam, lParam);
    }
    BOOL PostMessage(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0) const
    {
        return ::PostMessageW(m_hWnd, msg, wParam, lParam);
    }

    // Relatives
    CWindow GetParent() const { return CWindow(::GetParent(m_hWnd)); }
    CWindow GetDlgItem(int id) const { return CWindow(::GetDlgItem(m_hWnd, id)); }
    int GetDlgCtrlID() const { return ::GetDlgCtrlID(m_hWnd); }
    bool IsChild(HWND hwnd) const { return ::IsChild(m_hWnd, hwnd) != FALSE; }
    CWindow GetTopLevelParent() const { return CWindow(::GetAncestor(m_hWnd, GA_ROOT)); }

    // Text
    BOOL SetWindowText(const wchar_t* text) { return ::SetWindowTextW(m_hWnd, text); }
    std::wstring GetWindowText() const
    {
        std::wstring text(static_cast<size_t>(::GetWindowTextLengthW(m_hWnd)) + 1, L'\0');
        text.resize(static_cast<size_t>(::GetWindowTextW(m_hWnd, &text[0], static_cast<int>(text.size()))));
        return text;
    }
    BOOL SetDlgItemText(int id, const wchar_t* text) { return ::SetDlgItemTextW(m_hWnd, id, text); }

    // Styles
    DWORD GetStyle() const { return static_cast<DWORD>(::GetWindowLongPtrW(m_hWnd, GWL_STYLE)); }
    DWORD GetExStyle() const { return static_cast<DWORD>(::GetWindowLongPtrW(m_hWnd, GWL_EXSTYLE)); }
    // Removes, then adds style bits; swpFlags != 0 also lets the frame follow.
    bool ModifyStyle(DWORD remove, DWORD add, UINT swpFlags = 0)
    {
        return ChangeStyle(GWL_STYLE, remove, add, swpFlags);
    }
    bool ModifyStyleEx(DWORD remove, DWORD add, UINT swpFlags = 0)
    {
        return ChangeStyle(GWL_EXSTYLE, remove, add, swpFlags);
    }

    // Geometry
    RECT GetClientRect() const { RECT rc{}; ::GetClientRect(m_hWnd, &rc); return rc; }
    RECT GetWindowRect() const { RECT rc{}; ::GetWindowRect(m_hWnd, &rc); return rc; }
    BOOL MoveWindow(int x, int y, int cx, int cy, BOOL repaint = TRUE)
    {
        return ::MoveWindow(m_hWnd, x, y, cx, cy, repaint);
    }
    BOOL SetWindowPos(HWND insertAfter, int x, int y, int cx, int cy, UINT flags)
    {
        return ::SetWindowPos(m_hWnd, insertAfter, x, y, cx, cy, flags);
    }
    BOOL ScreenToClient(POINT* pt) const { return ::ScreenToClient(m_hWnd, pt); }
    BOOL ClientToScreen(POINT* pt) const { return ::ClientToScreen(m_hWnd, pt); }
    // Centres over the owner or parent (the work area without one), kept
    // inside the work area of that monitor.
    bool CenterWindow(HWND over = nullptr);

    // State
    BOOL ShowWindow(int cmd) { return ::ShowWindow(m_hWnd, cmd); }
    bool IsWindowVisible() const { return ::IsWindowVisible(m_hWnd) != FALSE; }
    bool IsWindowEnabled() const { return ::IsWindowEnabled(m_hWnd) != FALSE; }
    bool IsIconic() const { return ::IsIconic(m_hWnd) != FALSE; }
    BOOL EnableWindow(BOOL enable = TRUE) { return ::EnableWindow(m_hWnd, enable); }
    CWindow SetFocus() { return CWindow(::SetFocus(m_hWnd)); }
    BOOL SetForegroundWindow() { return ::SetForegroundWindow(m_hWnd); }
    BOOL BringWindowToTop() { return ::BringWindowToTop(m_hWnd); }

    // Painting
    BOOL Invalidate(BOOL erase = TRUE) { return ::InvalidateRect(m_hWnd, nullptr, erase); }
    BOOL InvalidateRect(const RECT* rc, BOOL erase = TRUE) { return ::InvalidateRect(m_hWnd, rc, erase); }
    BOOL ValidateRect(const RECT* rc) { return ::ValidateRect(m_hWnd, rc); }
    BOOL UpdateWindow() { return ::UpdateWindow(m_hWnd); }
    void SetRedraw(BOOL redraw) { SendMessage(WM_SETREDRAW, static_cast<WPARAM>(redraw)); }

    // Fonts, icons, timers, menus
    void SetFont(HFONT font, BOOL redraw = TRUE)
    {
        SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(font), MAKELPARAM(redraw, 0));
    }
    HFONT GetFont() const { return reinterpret_cast<HFONT>(SendMessage(WM_GETFONT)); }
    HICON SetIcon(HICON icon, BOOL big = TRUE)
    {
        return reinterpret_cast<HICON>(SendMessage(WM_SETICON, big ? ICON_BIG : ICON_SMALL,
                                                   reinterpret_cast<LPARAM>(icon)));
    }
    UINT_PTR SetTimer(UINT_PTR id, UINT elapse) { return ::SetTimer(m_hWnd, id, elapse, nullptr); }
    BOOL KillTimer(UINT_PTR id) { return ::KillTimer(m_hWnd, id); }
    HMENU GetMenu() const { return ::GetMenu(m_hWnd); }

private:
    bool ChangeStyle(int index, DWORD remove, DWORD add, UINT swpFlags);
};
