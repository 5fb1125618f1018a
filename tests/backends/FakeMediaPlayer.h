#pragma once
// A stand-in for the Windows Media Player control: the player, controls and
// settings interfaces, a current media with its error item, IOleObject for
// the host, and the connection points of IWMPEvents and _WMPOCXEvents. It
// records what the back-end asks of it and fires the events a test names.

#include "tests/backends/ComTestObjects.h"
#include "tests/backends/HostedOleObject.h"
#include "tests/backends/InterfaceStubs.h"

#include <string>
#include <vector>

struct MediaPlayerSetup {
    bool answersControls = true;  // QueryInterface for IWMPControls
    bool answersSettings = true;
    bool eventsPoint = true;      // a connection point for IWMPEvents
    bool ocxEventsPoint = true;   // one for _WMPOCXEvents
    // How _WMPOCXEvents arguments arrive: VT_I4 (a VT_BOOL for Buffering)
    // as from Windows' control, or VT_UI4 for every argument as from Wine's.
    VARTYPE ocxArgumentType = VT_I4;
};

enum class MediaErrorState { NoMedia, NoErrorItem, ErrorCode };

class FakeConnectionPoint;

class FakeMediaPlayer final : public StubWMPPlayer2, public HostedOleObject, public StubConnectionPointContainer {
public:
    explicit FakeMediaPlayer(const MediaPlayerSetup& setup = MediaPlayerSetup());

    // What the back-end did, in order ("put_URL ...", "play", "put_volume 70").
    std::vector<std::wstring> calls;
    std::wstring url;
    long volume = -1;
    VARIANT_BOOL fullScreen = VARIANT_FALSE;

    // What the control answers.
    std::wstring status;
    HRESULT playStateResult = S_OK;
    WMPPlayState playState = wmppsUndefined;
    MediaErrorState mediaError = MediaErrorState::NoMedia;
    long errorCode = 0;

    // The interface the back-end's sink was advised on, null when none.
    const IID* AdvisedInterface() const;
    void FireStatusChange();
    void FirePlayStateChange(long state);
    void FireBuffering(bool start);
    void FireError();
    // The sink's IDispatch (advised on _WMPOCXEvents), for raw Invoke calls.
    IDispatch* OcxSink() const;

    // IUnknown
    STDMETHODIMP QueryInterface(REFIID iid, void** out) override;
    TEST_COM_REFCOUNT

    // IWMPCore / IWMPPlayer2
    STDMETHODIMP put_URL(BSTR address) override;
    STDMETHODIMP get_playState(WMPPlayState* state) override;
    STDMETHODIMP get_controls(IWMPControls** controls) override;
    STDMETHODIMP get_settings(IWMPSettings** settings) override;
    STDMETHODIMP get_currentMedia(IWMPMedia** media) override;
    STDMETHODIMP get_status(BSTR* text) override;
    STDMETHODIMP get_network(IWMPNetwork** network) override;
    STDMETHODIMP get_Error(IWMPError** error) override;
    STDMETHODIMP get_fullScreen(VARIANT_BOOL* value) override;
    STDMETHODIMP put_fullScreen(VARIANT_BOOL value) override;
    STDMETHODIMP put_enableContextMenu(VARIANT_BOOL value) override;
    STDMETHODIMP put_uiMode(BSTR mode) override;
    STDMETHODIMP put_stretchToFit(VARIANT_BOOL value) override;
    STDMETHODIMP put_windowlessVideo(VARIANT_BOOL value) override;

    // IConnectionPointContainer
    STDMETHODIMP FindConnectionPoint(REFIID iid, IConnectionPoint** point) override;

    void Record(const std::wstring& call) { calls.push_back(call); }

private:
    ~FakeMediaPlayer();
    void InvokeOcx(DISPID id, const VARIANT* argument);

    MediaPlayerSetup m_setup;
    FakeConnectionPoint* m_eventsPoint = nullptr;
    FakeConnectionPoint* m_ocxPoint = nullptr;
};
