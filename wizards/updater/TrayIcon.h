#pragma once
// The updater's notification-area icon: one record, bound to the frame when
// it is initialised; no icon shows until the balloon after a background
// download needs one. Used on the UI thread only.

#include <windows.h>
#include <shellapi.h>

class CTrayIcon {
public:
    // The record's size as the shell of the supported systems takes it
    // (everything up to the balloon icon).
    static constexpr DWORD RecordSize = 952;
    static constexpr UINT NotifyVersion = 3;

    CTrayIcon();
    CTrayIcon(const CTrayIcon&) = delete;
    CTrayIcon& operator=(const CTrayIcon&) = delete;

    // Binds the record to window, which gets callbackMessage for the icon's
    // mouse events.
    void Bind(HWND window, UINT callbackMessage);
    // With an icon: adds it (or changes the one shown); without one: takes
    // the icon away. tip (null: none) is copied, at most 127 characters.
    // False when the shell refused; a refused icon stays in the record.
    bool Update(HICON icon, const wchar_t* tip);
    // A balloon at the icon; text and title are cut to the record's room.
    // One the shell refused comes with the icon when it is added again.
    bool Balloon(const wchar_t* text, const wchar_t* title, UINT timeout, DWORD infoFlags);
    // The notification area (re)appeared holding nothing of ours: the
    // record's icon is added again with its tip and a balloon not yet shown.
    void OnTaskbarCreated();
    // Takes the icon away (the frame's WM_DESTROY).
    void Remove() { Update(nullptr, nullptr); }

    // Whether the record holds an icon, shown or waiting for the
    // notification area (none yet at logon, or Explorer restarting).
    bool HasIcon() const { return m_hasIcon; }
    // Whether the notification area holds the icon.
    bool IsShown() const { return m_shown; }
    HWND GetWindow() const { return m_data.hWnd; }
    const NOTIFYICONDATAW& GetRecord() const { return m_data; }

    // What talks to the notification area; for tests, null restores
    // Shell_NotifyIconW.
    using NotifyCall = BOOL(WINAPI*)(DWORD action, PNOTIFYICONDATAW data);
    static void SetNotifyCall(NotifyCall call);

private:
    NOTIFYICONDATAW m_data;
    bool m_hasIcon = false;
    bool m_shown = false;
    bool m_balloonPending = false;
    // The balloon's timeout, which shares its field with the version.
    UINT m_balloonTimeout = 0;
};

CTrayIcon& GetTrayIcon();
// The registered "TaskbarCreated" message, obtained when the program starts.
UINT GetTaskbarCreatedMessage();
