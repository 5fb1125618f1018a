#include "player/catalogue/SystemMessageBox.h"

#include <atomic>

namespace {

std::atomic<SystemMessageBoxFunc> g_messageBox{&MessageBoxW};

// Not every system puts a box asked for with MB_TOPMOST into the topmost
// band (Wine does not): the box is placed there once it is first activated,
// so that it stands above a topmost window such as the splash.
thread_local HHOOK t_topmostHook = nullptr;

LRESULT CALLBACK PlaceBoxTopmost(int code, WPARAM wParam, LPARAM lParam)
{
    const HHOOK hook = t_topmostHook;
    if (code == HCBT_ACTIVATE && hook != nullptr) {
        HWND box = reinterpret_cast<HWND>(wParam);
        wchar_t className[8] = {};
        if (::GetClassNameW(box, className, 8) > 0 && lstrcmpW(className, L"#32770") == 0) {
            ::SetWindowPos(box, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
            // Once: what the box's owner code activates later is not ours.
            ::UnhookWindowsHookEx(hook);
            t_topmostHook = nullptr;
        }
    }
    return ::CallNextHookEx(hook, code, wParam, lParam);
}

} // namespace

int ShowSystemMessageBox(HWND owner, const wchar_t* text, const wchar_t* caption, UINT type)
{
    const bool placeTopmost = (type & MB_TOPMOST) != 0 && t_topmostHook == nullptr;
    if (placeTopmost)
        t_topmostHook = ::SetWindowsHookExW(WH_CBT, &PlaceBoxTopmost, nullptr, ::GetCurrentThreadId());
    const int result = g_messageBox.load()(owner, text, caption, type);
    if (placeTopmost && t_topmostHook != nullptr) {
        ::UnhookWindowsHookEx(t_topmostHook);
        t_topmostHook = nullptr;
    }
    return result;
}

SystemMessageBoxFunc SetSystemMessageBoxFunc(SystemMessageBoxFunc func)
{
    return g_messageBox.exchange(func ? func : &MessageBoxW);
}
