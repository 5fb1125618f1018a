#include "player/playback/WMPEventDispatch.h"

#include "player/playback/BufferingPoll.h"
#include "player/playback/MPlayerCtrl.h"

#include <wmpids.h>

namespace {

// The one argument of an event as a 32-bit integer. Controls pass it as
// VT_I4, VT_BOOL or (Wine's) VT_UI4, by value or by reference.
HRESULT SingleArgument(const DISPPARAMS* params, LONG& value)
{
    if (params->cArgs < 1 || params->rgvarg == nullptr)
        return DISP_E_BADPARAMCOUNT;
    VARIANT converted;
    ::VariantInit(&converted);
    const HRESULT hr = ::VariantChangeType(&converted, &params->rgvarg[params->cArgs - 1], 0, VT_I4);
    if (FAILED(hr))
        return DISP_E_TYPEMISMATCH;
    value = converted.lVal;
    return S_OK;
}

}  // namespace

void CWMPEventDispatch::UpdateStatus(int code)
{
    CMPlayerCtrl* player = CMPlayerCtrl::Instance();
    if (player == nullptr || CMPlayerCtrl::IsErrorLatched())
        return;
    if (code < 0)
        CMPlayerCtrl::SetErrorLatch(true);
    player->OnStatusChange(code);
}

STDMETHODIMP CWMPEventDispatch::QueryInterface(REFIID iid, void** out)
{
    if (out == nullptr)
        return E_POINTER;
    *out = nullptr;
    if (iid == IID_IUnknown || iid == __uuidof(IWMPEvents))
        *out = static_cast<IWMPEvents*>(this);
    else if (iid == IID_IDispatch || iid == __uuidof(_WMPOCXEvents))
        *out = static_cast<IDispatch*>(this);
    else
        return E_NOINTERFACE;
    AddRef();
    return S_OK;
}

STDMETHODIMP_(ULONG) CWMPEventDispatch::AddRef()
{
    return static_cast<ULONG>(::InterlockedIncrement(&m_refs));
}

STDMETHODIMP_(ULONG) CWMPEventDispatch::Release()
{
    const LONG refs = ::InterlockedDecrement(&m_refs);
    if (refs == 0)
        delete this;
    return static_cast<ULONG>(refs);
}

STDMETHODIMP CWMPEventDispatch::GetTypeInfoCount(UINT*)
{
    return E_NOTIMPL;
}

STDMETHODIMP CWMPEventDispatch::GetTypeInfo(UINT, LCID, ITypeInfo**)
{
    return E_NOTIMPL;
}

STDMETHODIMP CWMPEventDispatch::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*)
{
    return E_NOTIMPL;
}

STDMETHODIMP CWMPEventDispatch::Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*, EXCEPINFO*,
                                       UINT*)
{
    if (params == nullptr)
        return E_POINTER;
    if (params->cNamedArgs > 0)
        return DISP_E_NONAMEDARGS;
    LONG value = 0;
    HRESULT hr = S_OK;
    switch (id) {
    case DISPID_WMPCOREEVENT_OPENSTATECHANGE:
        if (SUCCEEDED(hr = SingleArgument(params, value)))
            OpenStateChange(value);
        return hr;
    case DISPID_WMPCOREEVENT_PLAYSTATECHANGE:
        if (SUCCEEDED(hr = SingleArgument(params, value)))
            PlayStateChange(value);
        return hr;
    case DISPID_WMPCOREEVENT_STATUSCHANGE:
        StatusChange();
        return S_OK;
    case DISPID_WMPCOREEVENT_BUFFERING:
        if (SUCCEEDED(hr = SingleArgument(params, value)))
            Buffering(value != 0 ? VARIANT_TRUE : VARIANT_FALSE);
        return hr;
    case DISPID_WMPCOREEVENT_ERROR:
        Error();
        return S_OK;
    default:
        // The other events' handlers do nothing.
        return S_OK;
    }
}

void CWMPEventDispatch::OpenStateChange(LONG)
{
}

void CWMPEventDispatch::PlayStateChange(LONG state)
{
    if (state == WmpPlayState::Stopped)
        UpdateStatus(PlayerStatus::Stopped);
}

void CWMPEventDispatch::StatusChange()
{
    UpdateStatus(PlayerStatus::Text);
}

void CWMPEventDispatch::Buffering(VARIANT_BOOL start)
{
    if (start != VARIANT_FALSE) {
        CMPlayerCtrl::SetErrorLatch(false);
        CBufferingPoll::Begin();
        return;
    }
    CBufferingPoll::End();
    if (CPlayerListener* listener = CPlayerCtrl::GetListener())
        listener->OnBufferingEnd();
    UpdateStatus(PlayerStatus::Text);
}

void CWMPEventDispatch::Error()
{
    UpdateStatus(PlayerStatus::Error);
}
