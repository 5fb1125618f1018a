#pragma once
// CTrayIcon: the player's icon in the notification area. It shows the
// product icon with a tip, reports mouse events to its owner through the
// owner's callback message, opens its popup menu on a right-button release
// and comes back when Explorer restarts ("TaskbarCreated").

#include <windows.h>
#include <shellapi.h>

class CTrayIcon {
public:
    explicit CTrayIcon(UINT iconId);
    // Removes the icon from the notification area.
    ~CTrayIcon();

    CTrayIcon(const CTrayIcon&) = delete;
    CTrayIcon& operator=(const CTrayIcon&) = delete;

    void SetOwner(HWND owner, UINT callbackMessage);
    // Loads the icon resource at 16 x 16 (0 for none) and shows it with the
    // tip (null keeps the tip).
    bool SetIcon(UINT iconResourceId, const wchar_t* tip);
    // Adds, modifies or (without an icon) removes the icon; the tip is cut
    // to 127 characters. The result of the version request that follows.
    bool Update(HICON icon, const wchar_t* tip);
    void SetMenu(UINT menuId) { m_menuId = menuId; }

    // A right-button release opens the popup menu at the cursor; a left
    // double-click only loads the menu. True when the message was handled.
    bool OnNotify(UINT iconId, UINT mouseMessage);
    // The notification area (re)appeared: the stored icon is added again
    // with its tip.
    void OnTaskbarCreated();
    // A balloon over the icon (unused by the player).
    bool ShowBalloon(const wchar_t* text, const wchar_t* title, UINT timeout, DWORD infoFlags);

    // Whether the notification area holds the icon. An icon it refused (no
    // notification area yet, Explorer restarting) stays stored and is added
    // when the notification area announces itself.
    bool IsShown() const { return m_shown; }
    bool HasIcon() const { return m_data.hIcon != nullptr; }
    const NOTIFYICONDATAW& GetData() const { return m_data; }
    UINT GetMenuId() const { return m_menuId; }

    // What talks to the notification area; for tests, null restores
    // Shell_NotifyIconW.
    using NotifyCall = BOOL(WINAPI*)(DWORD operation, PNOTIFYICONDATAW data);
    static void SetNotifyCall(NotifyCall call);

private:
    NOTIFYICONDATAW m_data;
    bool m_shown = false;
    UINT m_menuId = 0;
    // The icon loaded by SetIcon, destroyed when replaced or at the end.
    HICON m_loadedIcon = nullptr;
};

// The registered "TaskbarCreated" message, obtained when the program starts.
UINT GetTaskbarCreatedMessage();
