#pragma once
// CWmpPlayer: the player interface of a hosted Media Player control.
// IWMPPlayer2 where the control answers it; otherwise IWMPPlayer4, which has
// the same properties in other slots (Wine's control answers only that one).

#include "framework/AxHost.h"
#include "framework/ComPtr.h"
#include "player/playback/WmpInterfaces.h"

class CWmpPlayer {
public:
    // False when the control answers neither interface.
    bool Query(const CAxWindow& host);
    void Release();
    explicit operator bool() const { return Core() != nullptr; }

    // The core of whichever interface is held; null when none is.
    IWMPCore* Core() const;

    HRESULT SetUiMode(const wchar_t* mode);
    HRESULT SetEnableContextMenu(bool enable);
    HRESULT SetStretchToFit(bool stretch);
    HRESULT SetWindowlessVideo(bool windowless);
    HRESULT GetFullScreen(VARIANT_BOOL* fullScreen);
    HRESULT SetFullScreen(VARIANT_BOOL fullScreen);

private:
    CInterfacePtr<IWMPPlayer2> m_player2;
    CInterfacePtr<IWMPPlayer4> m_player4;
};
