#include "framework/Window.h"

namespace {

int Clamp(int value, int low, int high)
{
    // A window larger than the area keeps its top-left corner inside.
    if (value > high) value = high;
    if (value < low) value = low;
    return value;
}

}  // namespace

bool CWindow::CenterWindow(HWND over)
{
    const bool child = (GetStyle() & WS_CHILD) != 0;
    if (over == nullptr)
        over = child ? ::GetParent(m_hWnd) : ::GetWindow(m_hWnd, GW_OWNER);

    RECT self = GetWindowRect();
    RECT area{}, bounds{};
    if (child) {
        HWND parent = ::GetParent(m_hWnd);
        ::GetClientRect(parent, &bounds);
        area = bounds;
        if (over != nullptr && over != parent) {
            ::GetWindowRect(over, &area);
            ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&area), 2);
        }
        ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&self), 2);
    } else {
        HMONITOR monitor = ::MonitorFromWindow(over != nullptr ? over : m_hWnd, MONITOR_DEFAULTTONEAREST);
        MONITORINFO info{};
        info.cbSize = sizeof(info);
        if (!::GetMonitorInfoW(monitor, &info))
            return false;
        bounds = info.rcWork;
        area = bounds;
        if (over != nullptr && ::IsWindowVisible(over) && !::IsIconic(over))
            ::GetWindowRect(over, &area);
    }

    const int width = self.right - self.left;
    const int height = self.bottom - self.top;
    int x = (area.left + area.right - width) / 2;
    int y = (area.top + area.bottom - height) / 2;
    x = Clamp(x, bounds.left, bounds.right - width);
    y = Clamp(y, bounds.top, bounds.bottom - height);
    return ::SetWindowPos(m_hWnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE) != FALSE;
}

bool CWindow::ChangeStyle(int index, DWORD remove, DWORD add, UINT swpFlags)
{
    const DWORD style = static_cast<DWORD>(::GetWindowLongPtrW(m_hWnd, index));
    const DWORD changed = (style & ~remove) | add;
    if (changed == style)
        return false;
    ::SetWindowLongPtrW(m_hWnd, index, static_cast<LONG_PTR>(changed));
    if (swpFlags != 0)
        ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0,
                       SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | swpFlags);
    return true;
}
