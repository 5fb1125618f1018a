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
    // a shown icon away. tip (null: none) is copied, at most 127 characters.
    // False when the shell refused.
    bool Update(HICON icon, const wchar_t* tip);
    // A balloon at the shown icon; text and title are cut to the record's
    // room.
    bool Balloon(const wchar_t* text, const wchar_t* title, UINT timeout, DWORD infoFlags);
    // Takes the icon away (the frame's WM_DESTROY).
    void Remove() { Update(nullptr, nullptr); }

    bool HasIcon() const { return m_hasIcon; }
    HWND GetWindow() const { return m_data.hWnd; }
    const NOTIFYICONDATAW& GetRecord() const { return m_data; }

private:
    NOTIFYICONDATAW m_data;
    bool m_hasIcon = false;
};

CTrayIcon& GetTrayIcon();
