// The notification-area icon record.

#include "wizards/updater/TrayIcon.h"

#include <algorithm>
#include <cwchar>

namespace {

template <size_t N>
void CopyText(wchar_t (&target)[N], const wchar_t* text)
{
    if (!text)
        text = L"";
    const size_t length = std::min(std::wcslen(text), N - 1);
    std::wmemcpy(target, text, length);
    target[length] = L'\0';
}

const UINT g_taskbarCreated = ::RegisterWindowMessageW(L"TaskbarCreated");

CTrayIcon::NotifyCall g_notify = &::Shell_NotifyIconW;

} // namespace

void CTrayIcon::SetNotifyCall(NotifyCall call)
{
    g_notify = call != nullptr ? call : &::Shell_NotifyIconW;
}

UINT GetTaskbarCreatedMessage()
{
    return g_taskbarCreated;
}

CTrayIcon::CTrayIcon() : m_data{}
{
    m_data.cbSize = RecordSize;
}

void CTrayIcon::Bind(HWND window, UINT callbackMessage)
{
    m_data.hWnd = window;
    m_data.uID = 0;
    m_data.uCallbackMessage = callbackMessage;
}

bool CTrayIcon::Update(HICON icon, const wchar_t* tip)
{
    UINT flags = 0;
    DWORD action = NIM_DELETE;
    if (icon) {
        m_data.hIcon = icon;
        m_hasIcon = true;
        flags = NIF_ICON;
        action = m_shown ? NIM_MODIFY : NIM_ADD;
    } else if (!m_shown) {
        // Nothing in the notification area; nor may a later "TaskbarCreated"
        // bring the icon back.
        m_hasIcon = false;
        m_data.hIcon = nullptr;
        m_balloonPending = false;
        return true;
    }
    if (tip) {
        CopyText(m_data.szTip, tip);
        if (m_data.szTip[0] != L'\0')
            flags |= NIF_TIP;
    }
    if (m_data.uCallbackMessage != 0 && m_data.hWnd)
        flags |= NIF_MESSAGE;
    if (action == NIM_ADD && m_balloonPending) {
        // The balloon the shell refused with the icon comes with it now.
        flags |= NIF_INFO;
        m_data.uTimeout = m_balloonTimeout;
    }

    m_data.cbSize = RecordSize;
    m_data.uFlags = flags;
    const bool done = g_notify(action, &m_data) != FALSE;
    if (action == NIM_DELETE) {
        m_hasIcon = false;
        m_shown = false;
        m_balloonPending = false;
        m_data.hIcon = nullptr;
    } else {
        // A refused icon stays in the record for the next update or
        // "TaskbarCreated".
        m_shown = done;
        if (done)
            m_balloonPending = false;
    }
    m_data.uVersion = NotifyVersion;
    g_notify(NIM_SETVERSION, &m_data);
    return done;
}

bool CTrayIcon::Balloon(const wchar_t* text, const wchar_t* title, UINT timeout, DWORD infoFlags)
{
    m_balloonTimeout = timeout;
    m_data.uTimeout = timeout;
    m_data.dwInfoFlags = infoFlags;
    m_data.cbSize = RecordSize;
    m_data.uFlags = NIF_INFO;
    CopyText(m_data.szInfo, text);
    CopyText(m_data.szInfoTitle, title);
    const bool done = g_notify(NIM_MODIFY, &m_data) != FALSE;
    m_balloonPending = !done && m_hasIcon;
    return done;
}

void CTrayIcon::OnTaskbarCreated()
{
    // A new notification area holds nothing of ours, whatever was shown.
    m_shown = false;
    if (m_hasIcon)
        Update(m_data.hIcon, nullptr);
}

CTrayIcon& GetTrayIcon()
{
    static CTrayIcon icon;
    return icon;
}
