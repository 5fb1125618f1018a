// Refuses to create any window on the calling thread while it lives: what a
// dialog meets when it cannot open (no memory, no desktop). The code under
// test must treat the dialog it asked for as not answered.
#pragma once

#include <windows.h>

class WindowRefusal {
public:
    WindowRefusal() : m_hook(::SetWindowsHookExW(WH_CBT, &Refuse, nullptr, ::GetCurrentThreadId())) {}
    ~WindowRefusal()
    {
        if (m_hook != nullptr)
            ::UnhookWindowsHookEx(m_hook);
    }
    WindowRefusal(const WindowRefusal&) = delete;
    WindowRefusal& operator=(const WindowRefusal&) = delete;
    bool Active() const { return m_hook != nullptr; }

private:
    static LRESULT CALLBACK Refuse(int code, WPARAM wParam, LPARAM lParam)
    {
        if (code == HCBT_CREATEWND)
            return 1;
        return ::CallNextHookEx(nullptr, code, wParam, lParam);
    }
    HHOOK m_hook;
};
