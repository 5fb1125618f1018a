// ActiveX hosting. A host window (window class CAxWindow::GetWndClassName(),
// registered by AxWinInit) holds one control, which it creates from its
// window text when it is created:
//   "{6BF52A52-394A-11d3-B153-00C04F79FAA6}"  a CLSID
//   "WMPlayer.OCX"                            a ProgID
//   "about:blank"                             any other text with a colon is
//                                             an address: the web browser
//                                             control, navigated there
// The host is the control's client site and in-place site (IOleInPlaceSiteEx,
// which some controls insist on before they make their window), answers its
// ambient properties, and keeps it in-place active and sized to the window.
// Dialog templates host controls the same way: a CONTROL of that class
// whose text names the control.
//
//   CAxWindow player;
//   player.Create(parent, &rc, L"{6BF52A52-394A-11d3-B153-00C04F79FAA6}");
//   CInterfacePtr<IWMPPlayer4> wmp;
//   player.QueryControl(wmp.Receive());
//
// The control's client site may be replaced by its user (IOleObject::
// SetClientSite with an object that forwards to the host's site, taken with
// GetClientSite); the host keeps driving activation and size through the
// control's own interfaces. AttachControl hosts an object made in-process.
#pragma once

#include "framework/ComPtr.h"
#include "framework/Window.h"

#include <ole2.h>

// Registers the host window class; true when it is (or already was).
bool AxWinInit();

class CAxWindow : public CWindow {
public:
    CAxWindow(HWND hwnd = nullptr) : CWindow(hwnd) {}
    CAxWindow& operator=(HWND hwnd) { m_hWnd = hwnd; return *this; }

    static const wchar_t* GetWndClassName();

    // A host window; controlName (may be null) names the control to create.
    HWND Create(HWND parent, const RECT* rect = nullptr, const wchar_t* controlName = nullptr,
                DWORD style = WS_CHILD | WS_VISIBLE, DWORD exStyle = 0, UINT id = 0);

    // Creates a control in a host that has none yet.
    HRESULT CreateControl(const wchar_t* controlName);
    // Hosts an existing object (it gets the host's site and is activated).
    HRESULT AttachControl(IUnknown* control);

    HRESULT QueryControl(REFIID iid, void** out) const;
    template <class Q>
    HRESULT QueryControl(Q** out) const
    {
        return QueryControl(__uuidof(Q), reinterpret_cast<void**>(out));
    }
    // The host's own interfaces (IOleClientSite, IOleInPlaceSiteEx, ...).
    HRESULT QueryHost(REFIID iid, void** out) const;
    template <class Q>
    HRESULT QueryHost(Q** out) const
    {
        return QueryHost(__uuidof(Q), reinterpret_cast<void**>(out));
    }
};
