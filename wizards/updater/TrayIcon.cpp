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

} // namespace

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
        const bool hadIcon = m_hasIcon;
        m_data.hIcon = icon;
        m_hasIcon = true;
        flags = NIF_ICON;
        action = hadIcon ? NIM_MODIFY : NIM_ADD;
    } else if (!m_hasIcon) {
        return true;
    }
    if (tip) {
        CopyText(m_data.szTip, tip);
        if (m_data.szTip[0] != L'\0')
            flags |= NIF_TIP;
    }
    if (m_data.uCallbackMessage != 0 && m_data.hWnd)
        flags |= NIF_MESSAGE;

    m_data.cbSize = RecordSize;
    m_data.uFlags = flags;
    const bool done = ::Shell_NotifyIconW(action, &m_data) != FALSE;
    if (action == NIM_DELETE || !done) {
        m_hasIcon = false;
        m_data.hIcon = nullptr;
    }
    m_data.uVersion = NotifyVersion;
    ::Shell_NotifyIconW(NIM_SETVERSION, &m_data);
    return done;
}

bool CTrayIcon::Balloon(const wchar_t* text, const wchar_t* title, UINT timeout, DWORD infoFlags)
{
    m_data.uTimeout = timeout;
    m_data.dwInfoFlags = infoFlags;
    m_data.cbSize = RecordSize;
    m_data.uFlags = NIF_INFO;
    CopyText(m_data.szInfo, text);
    CopyText(m_data.szInfoTitle, title);
    return ::Shell_NotifyIconW(NIM_MODIFY, &m_data) != FALSE;
}

CTrayIcon& GetTrayIcon()
{
    static CTrayIcon icon;
    return icon;
}
