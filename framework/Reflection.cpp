#include "framework/Reflection.h"

namespace {

// The reflection in progress on this thread: the control that consumes the
// OCM_ message marks it, so the parent knows whether it was handled.
struct Reflection {
    bool handled = false;
};
thread_local Reflection* t_reflection = nullptr;

constexpr UINT kLastReflected = OCM__BASE + WM_PARENTNOTIFY;

}  // namespace

HWND ReflectionTarget(const WindowMessage& msg)
{
    if (IsControlColorMessage(msg.id))
        return reinterpret_cast<HWND>(msg.lParam);
    switch (msg.id) {
    case WM_COMMAND:
        return msg.CommandWindow();  // null for menus and accelerators
    case WM_NOTIFY:
        return msg.Notify() != nullptr ? msg.Notify()->hwndFrom : nullptr;
    case WM_PARENTNOTIFY: {
        const WORD event = LOWORD(msg.wParam);
        return (event == WM_CREATE || event == WM_DESTROY) ? reinterpret_cast<HWND>(msg.lParam) : nullptr;
    }
    case WM_DRAWITEM: {
        const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(msg.lParam);
        return (msg.wParam != 0 && item->CtlType != ODT_MENU) ? item->hwndItem : nullptr;
    }
    case WM_MEASUREITEM: {
        const auto* item = reinterpret_cast<const MEASUREITEMSTRUCT*>(msg.lParam);
        return (msg.wParam != 0 && item->CtlType != ODT_MENU) ? ::GetDlgItem(msg.hwnd, static_cast<int>(item->CtlID))
                                                               : nullptr;
    }
    case WM_COMPAREITEM:
        return reinterpret_cast<const COMPAREITEMSTRUCT*>(msg.lParam)->hwndItem;
    case WM_DELETEITEM:
        return reinterpret_cast<const DELETEITEMSTRUCT*>(msg.lParam)->hwndItem;
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
    case WM_HSCROLL:
    case WM_VSCROLL:
        return reinterpret_cast<HWND>(msg.lParam);
    default:
        return nullptr;
    }
}

bool ReflectNotification(const WindowMessage& msg, LRESULT& result)
{
    HWND target = ReflectionTarget(msg);
    if (target == nullptr || target == msg.hwnd || !::IsWindow(target))
        return false;
    Reflection reflection;
    Reflection* outer = t_reflection;
    t_reflection = &reflection;
    const LRESULT answer = ::SendMessageW(target, OCM__BASE + msg.id, msg.wParam, msg.lParam);
    t_reflection = outer;
    if (reflection.handled)
        result = answer;
    return reflection.handled;
}

bool DefaultReflectionHandler(const WindowMessage& msg, LRESULT& result)
{
    if (!IsReflectedMessage(msg.id))
        return false;
    result = ::DefWindowProcW(msg.hwnd, msg.id - OCM__BASE, msg.wParam, msg.lParam);
    return true;
}

bool IsReflectedMessage(UINT msg)
{
    return msg >= OCM__BASE && msg <= kLastReflected;
}

void NoteReflectedMessageHandled()
{
    if (t_reflection != nullptr)
        t_reflection->handled = true;
}
