#include "tests/backends/FakeMediaPlayer.h"

#include <wmpids.h>

class FakeConnectionPoint final : public StubConnectionPoint {
public:
    explicit FakeConnectionPoint(const IID& iid) : m_iid(iid) {}

    IUnknown* sink = nullptr;  // queried for m_iid
    const IID& Interface() const { return m_iid; }

    STDMETHODIMP QueryInterface(REFIID iid, void** out) override
    {
        if (out == nullptr)
            return E_POINTER;
        *out = nullptr;
        if (iid != IID_IUnknown && iid != IID_IConnectionPoint)
            return E_NOINTERFACE;
        *out = static_cast<IConnectionPoint*>(this);
        AddRef();
        return S_OK;
    }
    TEST_COM_REFCOUNT

    STDMETHODIMP GetConnectionInterface(IID* iid) override
    {
        *iid = m_iid;
        return S_OK;
    }
    STDMETHODIMP Advise(IUnknown* unknown, DWORD* cookie) override
    {
        if (unknown == nullptr || cookie == nullptr)
            return E_POINTER;
        if (sink != nullptr)
            return CONNECT_E_ADVISELIMIT;
        if (FAILED(unknown->QueryInterface(m_iid, reinterpret_cast<void**>(&sink))))
            return CONNECT_E_CANNOTCONNECT;
        *cookie = 1;
        return S_OK;
    }
    STDMETHODIMP Unadvise(DWORD cookie) override
    {
        if (cookie != 1 || sink == nullptr)
            return CONNECT_E_NOCONNECTION;
        sink->Release();
        sink = nullptr;
        return S_OK;
    }

private:
    ~FakeConnectionPoint()
    {
        if (sink != nullptr)
            sink->Release();
    }

    IID m_iid;
};

namespace {

class FakeControls final : public StubWMPControls {
public:
    explicit FakeControls(FakeMediaPlayer* player) : m_player(player) { m_player->AddRef(); }

    STDMETHODIMP QueryInterface(REFIID iid, void** out) override
    {
        if (out == nullptr)
            return E_POINTER;
        *out = nullptr;
        if (iid != IID_IUnknown && iid != IID_IDispatch && iid != __uuidof(IWMPControls))
            return E_NOINTERFACE;
        *out = static_cast<IWMPControls*>(this);
        AddRef();
        return S_OK;
    }
    TEST_COM_REFCOUNT

    STDMETHODIMP play() override
    {
        m_player->Record(L"play");
        return S_OK;
    }
    STDMETHODIMP stop() override
    {
        m_player->Record(L"stop");
        return S_OK;
    }

private:
    ~FakeControls() { m_player->Release(); }
    FakeMediaPlayer* m_player;
};

class FakeSettings final : public StubWMPSettings {
public:
    explicit FakeSettings(FakeMediaPlayer* player) : m_player(player) { m_player->AddRef(); }

    STDMETHODIMP QueryInterface(REFIID iid, void** out) override
    {
        if (out == nullptr)
            return E_POINTER;
        *out = nullptr;
        if (iid != IID_IUnknown && iid != IID_IDispatch && iid != __uuidof(IWMPSettings))
            return E_NOINTERFACE;
        *out = static_cast<IWMPSettings*>(this);
        AddRef();
        return S_OK;
    }
    TEST_COM_REFCOUNT

    STDMETHODIMP put_enableErrorDialogs(VARIANT_BOOL value) override
    {
        m_player->Record(std::wstring(L"put_enableErrorDialogs ") + (value ? L"true" : L"false"));
        return S_OK;
    }
    STDMETHODIMP put_volume(LONG value) override
    {
        m_player->volume = value;
        m_player->Record(L"put_volume " + std::to_wstring(value));
        return S_OK;
    }
    STDMETHODIMP get_volume(LONG* value) override
    {
        *value = m_player->volume;
        return S_OK;
    }

private:
    ~FakeSettings() { m_player->Release(); }
    FakeMediaPlayer* m_player;
};

class FakeErrorItem final : public StubWMPErrorItem {
public:
    explicit FakeErrorItem(long code) : m_code(code) {}

    STDMETHODIMP QueryInterface(REFIID iid, void** out) override
    {
        if (out == nullptr)
            return E_POINTER;
        *out = nullptr;
        if (iid != IID_IUnknown && iid != IID_IDispatch && iid != __uuidof(IWMPErrorItem))
            return E_NOINTERFACE;
        *out = static_cast<IWMPErrorItem*>(this);
        AddRef();
        return S_OK;
    }
    TEST_COM_REFCOUNT

    STDMETHODIMP get_errorCode(LONG* code) override
    {
        *code = m_code;
        return S_OK;
    }

private:
    ~FakeErrorItem() = default;
    long m_code;
};

class FakeMedia final : public StubWMPMedia2 {
public:
    FakeMedia(bool hasErrorItem, long code) : m_hasErrorItem(hasErrorItem), m_code(code) {}

    STDMETHODIMP QueryInterface(REFIID iid, void** out) override
    {
        if (out == nullptr)
            return E_POINTER;
        *out = nullptr;
        if (iid != IID_IUnknown && iid != IID_IDispatch && iid != __uuidof(IWMPMedia) &&
            iid != __uuidof(IWMPMedia2))
            return E_NOINTERFACE;
        *out = static_cast<IWMPMedia2*>(this);
        AddRef();
        return S_OK;
    }
    TEST_COM_REFCOUNT

    STDMETHODIMP get_error(IWMPErrorItem** item) override
    {
        *item = m_hasErrorItem ? new FakeErrorItem(m_code) : nullptr;
        return m_hasErrorItem ? S_OK : E_FAIL;
    }

private:
    ~FakeMedia() = default;
    bool m_hasErrorItem;
    long m_code;
};

}  // namespace

FakeMediaPlayer::FakeMediaPlayer(const MediaPlayerSetup& setup) : m_setup(setup)
{
    if (setup.eventsPoint)
        m_eventsPoint = new FakeConnectionPoint(__uuidof(IWMPEvents));
    if (setup.ocxEventsPoint)
        m_ocxPoint = new FakeConnectionPoint(__uuidof(_WMPOCXEvents));
}

FakeMediaPlayer::~FakeMediaPlayer()
{
    if (m_eventsPoint != nullptr)
        m_eventsPoint->Release();
    if (m_ocxPoint != nullptr)
        m_ocxPoint->Release();
}

STDMETHODIMP FakeMediaPlayer::QueryInterface(REFIID iid, void** out)
{
    if (out == nullptr)
        return E_POINTER;
    *out = nullptr;
    if (iid == IID_IUnknown || iid == IID_IDispatch || iid == __uuidof(IWMPCore) || iid == __uuidof(IWMPPlayer2))
        *out = static_cast<IWMPPlayer2*>(this);
    else if (iid == IID_IOleObject)
        *out = static_cast<IOleObject*>(this);
    else if (iid == IID_IConnectionPointContainer)
        *out = static_cast<IConnectionPointContainer*>(this);
    else if (iid == __uuidof(IWMPControls) && m_setup.answersControls)
        return get_controls(reinterpret_cast<IWMPControls**>(out));
    else if (iid == __uuidof(IWMPSettings) && m_setup.answersSettings)
        return get_settings(reinterpret_cast<IWMPSettings**>(out));
    else
        return E_NOINTERFACE;
    AddRef();
    return S_OK;
}

STDMETHODIMP FakeMediaPlayer::put_URL(BSTR address)
{
    url = address != nullptr ? address : L"";
    Record(L"put_URL " + url);
    return S_OK;
}

STDMETHODIMP FakeMediaPlayer::get_playState(WMPPlayState* state)
{
    *state = playState;
    return playStateResult;
}

STDMETHODIMP FakeMediaPlayer::get_controls(IWMPControls** controls)
{
    *controls = new FakeControls(this);
    return S_OK;
}

STDMETHODIMP FakeMediaPlayer::get_settings(IWMPSettings** settings)
{
    *settings = new FakeSettings(this);
    return S_OK;
}

STDMETHODIMP FakeMediaPlayer::get_currentMedia(IWMPMedia** media)
{
    *media = nullptr;
    if (mediaError == MediaErrorState::NoMedia)
        return E_FAIL;
    *media = new FakeMedia(mediaError == MediaErrorState::ErrorCode, errorCode);
    return S_OK;
}

STDMETHODIMP FakeMediaPlayer::get_status(BSTR* text)
{
    *text = ::SysAllocString(status.c_str());
    return S_OK;
}

STDMETHODIMP FakeMediaPlayer::get_network(IWMPNetwork** network)
{
    *network = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP FakeMediaPlayer::get_Error(IWMPError** error)
{
    *error = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP FakeMediaPlayer::get_fullScreen(VARIANT_BOOL* value)
{
    *value = fullScreen;
    return S_OK;
}

STDMETHODIMP FakeMediaPlayer::put_fullScreen(VARIANT_BOOL value)
{
    fullScreen = value;
    Record(std::wstring(L"put_fullScreen ") + (value ? L"true" : L"false"));
    return S_OK;
}

STDMETHODIMP FakeMediaPlayer::put_enableContextMenu(VARIANT_BOOL value)
{
    Record(std::wstring(L"put_enableContextMenu ") + (value ? L"true" : L"false"));
    return S_OK;
}

STDMETHODIMP FakeMediaPlayer::put_uiMode(BSTR mode)
{
    Record(std::wstring(L"put_uiMode ") + (mode != nullptr ? mode : L""));
    return S_OK;
}

STDMETHODIMP FakeMediaPlayer::put_stretchToFit(VARIANT_BOOL value)
{
    Record(std::wstring(L"put_stretchToFit ") + (value ? L"true" : L"false"));
    return S_OK;
}

STDMETHODIMP FakeMediaPlayer::put_windowlessVideo(VARIANT_BOOL value)
{
    Record(std::wstring(L"put_windowlessVideo ") + (value ? L"true" : L"false"));
    return S_OK;
}

STDMETHODIMP FakeMediaPlayer::FindConnectionPoint(REFIID iid, IConnectionPoint** point)
{
    *point = nullptr;
    FakeConnectionPoint* found = nullptr;
    if (m_eventsPoint != nullptr && iid == m_eventsPoint->Interface())
        found = m_eventsPoint;
    else if (m_ocxPoint != nullptr && iid == m_ocxPoint->Interface())
        found = m_ocxPoint;
    if (found == nullptr)
        return CONNECT_E_NOCONNECTION;
    found->AddRef();
    *point = found;
    return S_OK;
}

const IID* FakeMediaPlayer::AdvisedInterface() const
{
    if (m_eventsPoint != nullptr && m_eventsPoint->sink != nullptr)
        return &__uuidof(IWMPEvents);
    if (m_ocxPoint != nullptr && m_ocxPoint->sink != nullptr)
        return &__uuidof(_WMPOCXEvents);
    return nullptr;
}

IDispatch* FakeMediaPlayer::OcxSink() const
{
    return m_ocxPoint != nullptr ? static_cast<IDispatch*>(m_ocxPoint->sink) : nullptr;
}

void FakeMediaPlayer::InvokeOcx(DISPID id, const VARIANT* argument)
{
    IDispatch* sink = OcxSink();
    if (sink == nullptr)
        return;
    VARIANT copy;
    ::VariantInit(&copy);
    DISPPARAMS params{nullptr, nullptr, 0, 0};
    if (argument != nullptr) {
        copy = *argument;
        params.rgvarg = &copy;
        params.cArgs = 1;
    }
    sink->Invoke(id, IID_NULL, 0, DISPATCH_METHOD, &params, nullptr, nullptr, nullptr);
}

void FakeMediaPlayer::FireStatusChange()
{
    if (m_eventsPoint != nullptr && m_eventsPoint->sink != nullptr)
        static_cast<IWMPEvents*>(m_eventsPoint->sink)->StatusChange();
    else
        InvokeOcx(DISPID_WMPCOREEVENT_STATUSCHANGE, nullptr);
}

void FakeMediaPlayer::FirePlayStateChange(long state)
{
    if (m_eventsPoint != nullptr && m_eventsPoint->sink != nullptr) {
        static_cast<IWMPEvents*>(m_eventsPoint->sink)->PlayStateChange(state);
        return;
    }
    VARIANT argument;
    argument.vt = m_setup.ocxArgumentType;
    argument.lVal = state;
    InvokeOcx(DISPID_WMPCOREEVENT_PLAYSTATECHANGE, &argument);
}

void FakeMediaPlayer::FireBuffering(bool start)
{
    if (m_eventsPoint != nullptr && m_eventsPoint->sink != nullptr) {
        static_cast<IWMPEvents*>(m_eventsPoint->sink)->Buffering(start ? VARIANT_TRUE : VARIANT_FALSE);
        return;
    }
    VARIANT argument;
    if (m_setup.ocxArgumentType == VT_I4) {
        argument.vt = VT_BOOL;
        argument.boolVal = start ? VARIANT_TRUE : VARIANT_FALSE;
    } else {
        argument.vt = m_setup.ocxArgumentType;
        argument.lVal = start ? 1 : 0;
    }
    InvokeOcx(DISPID_WMPCOREEVENT_BUFFERING, &argument);
}

void FakeMediaPlayer::FireError()
{
    if (m_eventsPoint != nullptr && m_eventsPoint->sink != nullptr)
        static_cast<IWMPEvents*>(m_eventsPoint->sink)->Error();
    else
        InvokeOcx(DISPID_WMPCOREEVENT_ERROR, nullptr);
}
