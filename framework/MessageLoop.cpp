#include "framework/MessageLoop.h"

#include "framework/AppModule.h"

#include <algorithm>

namespace {

// The thread's loop is offering a message to its filters: their own
// IsDialogMessageW calls reach the modal hook and must not offer it again.
thread_local bool t_offering = false;
thread_local int t_modalScopes = 0;
thread_local HHOOK t_modalHook = nullptr;

LRESULT CALLBACK ModalMessageHook(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == MSGF_DIALOGBOX && !t_offering) {
        CMessageLoop* loop = AppModule().GetMessageLoop();
        if (loop != nullptr && loop->PreTranslateMessage(reinterpret_cast<MSG*>(lParam)))
            return TRUE;
    }
    return ::CallNextHookEx(t_modalHook, code, wParam, lParam);
}

}  // namespace

template <class T>
bool CMessageLoop::HandlerList<T>::Add(T* entry)
{
    if (entry == nullptr || std::find(m_entries.begin(), m_entries.end(), entry) != m_entries.end())
        return false;
    m_entries.push_back(entry);
    return true;
}

template <class T>
bool CMessageLoop::HandlerList<T>::Remove(T* entry)
{
    auto found = std::find(m_entries.begin(), m_entries.end(), entry);
    if (entry == nullptr || found == m_entries.end())
        return false;
    if (m_walking > 0)
        *found = nullptr;
    else
        m_entries.erase(found);
    return true;
}

template <class T>
template <class Visit>
bool CMessageLoop::HandlerList<T>::Walk(Visit visit)
{
    ++m_walking;
    bool stopped = false;
    // Entries added during the walk (at the end) wait for the next one.
    for (size_t i = m_entries.size(); i > 0 && !stopped; --i) {
        if (m_entries[i - 1] != nullptr && visit(m_entries[i - 1]))
            stopped = true;
    }
    if (--m_walking == 0)
        m_entries.erase(std::remove(m_entries.begin(), m_entries.end(), nullptr), m_entries.end());
    return stopped;
}

bool CMessageLoop::AddMessageFilter(CMessageFilter* filter)
{
    return m_filters.Add(filter);
}

bool CMessageLoop::RemoveMessageFilter(CMessageFilter* filter)
{
    return m_filters.Remove(filter);
}

bool CMessageLoop::AddIdleHandler(CIdleHandler* handler)
{
    return m_idleHandlers.Add(handler);
}

bool CMessageLoop::RemoveIdleHandler(CIdleHandler* handler)
{
    return m_idleHandlers.Remove(handler);
}

int CMessageLoop::Run()
{
    bool idle = true;
    int idleCount = 0;
    MSG msg{};
    for (;;) {
        while (idle && !::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
            if (!OnIdle(idleCount++))
                idle = false;
        }
        const BOOL got = ::GetMessageW(&msg, nullptr, 0, 0);
        if (got == -1)
            return -1;
        if (got == 0)
            break;
        if (!PreTranslateMessage(&msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
        if (IsIdleMessage(msg)) {
            idle = true;
            idleCount = 0;
        }
    }
    return static_cast<int>(msg.wParam);
}

BOOL CMessageLoop::PreTranslateMessage(MSG* msg)
{
    const bool wasOffering = t_offering;
    t_offering = true;
    // A filter that throws (out of memory) has not taken the message: the
    // others and the window still get it, and nothing crosses the modal
    // loops' system frames.
    const bool consumed = m_filters.Walk([msg](CMessageFilter* filter) {
        try {
            return filter->PreTranslateMessage(msg) != FALSE;
        } catch (...) {
            return false;
        }
    });
    t_offering = wasOffering;
    return consumed ? TRUE : FALSE;
}

BOOL CMessageLoop::OnIdle(int)
{
    bool more = false;
    m_idleHandlers.Walk([&more](CIdleHandler* handler) {
        try {
            if (handler->OnIdle())
                more = true;
        } catch (...) {
            // As the filters: a handler that throws has nothing more to do.
        }
        return false;  // every handler gets its turn
    });
    return more ? TRUE : FALSE;
}

bool CMessageLoop::IsIdleMessage(const MSG& msg)
{
    constexpr UINT kCaretBlink = 0x0118;  // the system's own timer message
    switch (msg.message) {
    case WM_PAINT:
    case kCaretBlink:
        return false;
    case WM_MOUSEMOVE:
    case WM_NCMOUSEMOVE:
        // Windows repeat mouse moves without a move; those are no activity.
        if (msg.pt.x == m_lastMouse.x && msg.pt.y == m_lastMouse.y)
            return false;
        m_lastMouse = msg.pt;
        return true;
    default:
        return true;
    }
}

CModalLoopFilters::CModalLoopFilters() : m_wasOffering(t_offering)
{
    // A modal loop started by a filter (an accelerator's command opens a
    // dialog) offers its own messages.
    t_offering = false;
    if (t_modalScopes++ == 0)
        t_modalHook = ::SetWindowsHookExW(WH_MSGFILTER, &ModalMessageHook, nullptr, ::GetCurrentThreadId());
}

CModalLoopFilters::~CModalLoopFilters()
{
    if (--t_modalScopes == 0 && t_modalHook != nullptr) {
        ::UnhookWindowsHookEx(t_modalHook);
        t_modalHook = nullptr;
    }
    t_offering = m_wasOffering;
}
