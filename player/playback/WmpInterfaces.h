#pragma once
// The Media Player control's interfaces. The platform headers leave out
// IWMPPlayer2, which is declared here in its published layout.

#include <windows.h>

#include <ole2.h>
#include <wmp.h>

#ifndef __IWMPPlayer2_INTERFACE_DEFINED__
#define __IWMPPlayer2_INTERFACE_DEFINED__

MIDL_INTERFACE("0e6b01d1-d407-4c85-bf5f-1c01f6150280")
IWMPPlayer2 : public IWMPCore
{
    virtual HRESULT STDMETHODCALLTYPE get_enabled(VARIANT_BOOL* enabled) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_enabled(VARIANT_BOOL enabled) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_fullScreen(VARIANT_BOOL* fullScreen) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_fullScreen(VARIANT_BOOL fullScreen) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_enableContextMenu(VARIANT_BOOL* enable) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_enableContextMenu(VARIANT_BOOL enable) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_uiMode(BSTR mode) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_uiMode(BSTR* mode) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_stretchToFit(VARIANT_BOOL* enabled) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_stretchToFit(VARIANT_BOOL enabled) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_windowlessVideo(VARIANT_BOOL* enabled) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_windowlessVideo(VARIANT_BOOL enabled) = 0;
};
__CRT_UUID_DECL(IWMPPlayer2, 0x0e6b01d1, 0xd407, 0x4c85, 0xbf, 0x5f, 0x1c, 0x01, 0xf6, 0x15, 0x02, 0x80)

#endif

// The control's CLSID, as the host window takes it.
constexpr wchar_t MediaPlayerClsid[] = L"{6BF52A52-394A-11d3-B153-00C04F79FAA6}";

// Play states of IWMPCore::get_playState and PlayStateChange.
namespace WmpPlayState {
constexpr long Undefined = 0;
constexpr long Stopped = 1;
constexpr long Ready = 10;
}  // namespace WmpPlayState

// The error code of a server that turns the connection away (too busy).
constexpr long WmpServerBusyError = static_cast<long>(0xC00D11B0);
