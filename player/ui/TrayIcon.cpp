#include "player/ui/TrayIcon.h"

#include "player/ui/MenuResource.h"

#include "foundation/Lang.h"
#include "framework/AppModule.h"

#include <cstring>
#include <cwchar>

namespace {

// Registered before the first window exists, for the main window and the
// icon alike.
const UINT g_taskbarCreated = ::RegisterWindowMessageW(L"TaskbarCreated");

// The notification data up to and including guidItem.
constexpr DWORD NotifyDataSize = NOTIFYICONDATAW_V3_SIZE;

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

CTrayIcon::CTrayIcon(UINT iconId)
{
    std::memset(&m_data, 0, sizeof(m_data));
    m_data.cbSize = NotifyDataSize;
    m_data.uID = iconId;
}

CTrayIcon::~CTrayIcon()
{
    Update(nullptr, nullptr);
    if (m_loadedIcon != nullptr)
        ::DestroyIcon(m_loadedIcon);
}

void CTrayIcon::SetOwner(HWND owner, UINT callbackMessage)
{
    m_data.hWnd = owner;
    m_data.uCallbackMessage = callbackMessage;
}

bool CTrayIcon::SetIcon(UINT iconResourceId, const wchar_t* tip)
{
    HICON icon = nullptr;
    if (iconResourceId != 0)
        icon = static_cast<HICON>(::LoadImageW(FrameworkResourceInstance(), MAKEINTRESOURCEW(iconResourceId),
                                               IMAGE_ICON, 16, 16, LR_DEFAULTCOLOR));
    const bool result = Update(icon, tip);
    if (icon != nullptr) {
        if (m_loadedIcon != nullptr)
            ::DestroyIcon(m_loadedIcon);
        m_loadedIcon = icon;
    }
    return result;
}

bool CTrayIcon::Update(HICON icon, const wchar_t* tip)
{
    m_data.uFlags = 0;
    DWORD operation = NIM_ADD;
    if (icon != nullptr) {
        m_data.hIcon = icon;
        m_data.uFlags = NIF_ICON;
        operation = m_shown ? NIM_MODIFY : NIM_ADD;
    } else {
        // Nothing in the notification area; nor may a later "TaskbarCreated"
        // bring the icon back.
        if (!m_shown) {
            m_data.hIcon = nullptr;
            return true;
        }
        operation = NIM_DELETE;
    }

    if (tip != nullptr)
        wcsncpy_s(m_data.szTip, tip, _TRUNCATE);
    if (m_data.szTip[0] != L'\0')
        m_data.uFlags |= NIF_TIP;
    if (m_data.uCallbackMessage != 0 && m_data.hWnd != nullptr)
        m_data.uFlags |= NIF_MESSAGE;

    const BOOL done = g_notify(operation, &m_data);
    if (operation == NIM_DELETE) {
        m_data.hIcon = nullptr;
        m_shown = false;
    } else {
        // A refused icon stays stored: the next update or "TaskbarCreated"
        // adds it again.
        m_shown = done != FALSE;
    }

    m_data.uVersion = NOTIFYICON_VERSION;
    return g_notify(NIM_SETVERSION, &m_data) != FALSE;
}

bool CTrayIcon::OnNotify(UINT iconId, UINT mouseMessage)
{
    if (iconId != m_data.uID || (mouseMessage != WM_RBUTTONUP && mouseMessage != WM_LBUTTONDBLCLK))
        return false;
    CMenuResource menu(m_menuId);
    HMENU popup = menu.TranslatedPopup(0);
    if (popup == nullptr)
        return false;

    if (mouseMessage == WM_RBUTTONUP) {
        POINT cursor{};
        ::GetCursorPos(&cursor);
        ::SetForegroundWindow(m_data.hWnd);
        ::TrackPopupMenu(popup, TPM_LEFTBUTTON, cursor.x, cursor.y, 0, m_data.hWnd, nullptr);
        // Lets the menu close when the user clicks elsewhere.
        ::PostMessageW(m_data.hWnd, WM_NULL, 0, 0);
    }
    return true;
}

void CTrayIcon::OnTaskbarCreated()
{
    // A new notification area holds nothing of ours, whatever was shown.
    m_shown = false;
    if (m_data.hIcon != nullptr)
        Update(m_data.hIcon, nullptr);
}

bool CTrayIcon::ShowBalloon(const wchar_t* text, const wchar_t* title, UINT timeout, DWORD infoFlags)
{
    m_data.uFlags = NIF_INFO;
    wcsncpy_s(m_data.szInfo, text != nullptr ? text : L"", _TRUNCATE);
    wcsncpy_s(m_data.szInfoTitle, title != nullptr ? title : L"", _TRUNCATE);
    m_data.uTimeout = timeout;
    m_data.dwInfoFlags = infoFlags;
    return g_notify(NIM_MODIFY, &m_data) != FALSE;
}
