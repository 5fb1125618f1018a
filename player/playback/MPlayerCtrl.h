#pragma once
// CMPlayerCtrl: the back-end "m", the Windows Media Player control hosted in
// a child window of the player area. It plays stream addresses (MMS, MMS
// over HTTP, HTTP) and recording files, reports the control's status to the
// listener, and switches the Media Player's VMR overlay preference off for
// the time the program runs. One instance exists; user-interface thread only.

#include "framework/ComPtr.h"
#include "player/playback/BufferingPoll.h"
#include "player/playback/PlayerCtrl.h"
#include "player/playback/WMPEventDispatch.h"
#include "player/playback/WmpPlayer.h"

class CMPlayerCtrl : public CPlayerCtrl {
public:
    // The host window's control id.
    static constexpr UINT WindowId = 501;

    // A hidden child of parent at rect; IsCreated() tells whether the control
    // came up.
    CMPlayerCtrl(HWND parent, const RECT& rect);
    ~CMPlayerCtrl() override;

    void Play(const std::wstring& url, const std::wstring& title) override;
    void Stop() override;
    bool IsStopped() override;
    void SetVolume(int volume) override;
    void ToggleFullScreen() override;
    // Gives the user's overlay preference back.
    void OnAppExit() override;

    // Sends one status report: the control's status text with the title in
    // place of its first quoted part; an error (-1) whose code says the
    // server is busy becomes -2.
    void OnStatusChange(int code);

    // restore false: saves the user's UseVMROverlay (1 when missing) and
    // writes 0; true: writes the saved value back. Only when the key exists.
    static void SetVMROverlay(bool restore);

    // The back-end the event sink reports for; null when none exists.
    static CMPlayerCtrl* Instance();
    // Set by the first error report; until the next Play or buffering start
    // no further report reaches the listener.
    static bool IsErrorLatched();
    static void SetErrorLatch(bool latched);

private:
    bool CreateControl(HWND parent, const RECT& rect);
    bool ConnectEvents();

    CWmpPlayer m_player;
    CInterfacePtr<IWMPControls> m_controls;
    CInterfacePtr<IWMPSettings> m_settings;
    // Wine's own control crashes on addresses it cannot open.
    bool m_isWineControl = false;
    CInterfacePtr<IWMPError> m_error;
    CInterfacePtr<IConnectionPoint> m_connectionPoint;
    CInterfacePtr<IWMPNetwork> m_network;
    CInterfacePtr<CWMPEventDispatch> m_sink;
    DWORD m_cookie = 0;
    CBufferingPoll m_bufferingPoll;
};
