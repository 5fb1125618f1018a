#include "framework/MessageLoop.h"

#include <algorithm>

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
    // Entries added during the walk wait for the next one.
    const size_t count = m_entries.size();
    for (size_t i = 0; i < count && !stopped; ++i) {
        if (m_entries[i] != nullptr && visit(m_entries[i]))
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
    return m_filters.Walk([msg](CMessageFilter* filter) { return filter->PreTranslateMessage(msg) != FALSE; })
               ? TRUE
               : FALSE;
}

BOOL CMessageLoop::OnIdle(int)
{
    bool more = false;
    m_idleHandlers.Walk([&more](CIdleHandler* handler) {
        if (handler->OnIdle())
            more = true;
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
