#include "framework/DispEventSink.h"

#include <ocidl.h>

HRESULT CDispEventSink::Advise(IUnknown* source)
{
    if (source == nullptr)
        return E_POINTER;
    if (m_point)
        return E_UNEXPECTED;  // one connection at a time
    CInterfacePtr<IConnectionPointContainer> container;
    HRESULT hr = source->QueryInterface(IID_IConnectionPointContainer, container.ReceiveVoid());
    if (FAILED(hr))
        return hr;
    CInterfacePtr<IConnectionPoint> point;
    hr = container->FindConnectionPoint(m_events, point.Receive());
    if (FAILED(hr))
        return hr;
    DWORD cookie = 0;
    hr = point->Advise(static_cast<IDispatch*>(this), &cookie);
    if (FAILED(hr))
        return hr;
    m_point = point;
    m_cookie = cookie;
    return S_OK;
}

HRESULT CDispEventSink::Unadvise()
{
    if (!m_point)
        return S_FALSE;
    // The source may drop its last reference to this sink here.
    CInterfacePtr<CDispEventSink> keepAlive(this);
    CInterfacePtr<IConnectionPoint> point = m_point;
    m_point.Release();
    const DWORD cookie = m_cookie;
    m_cookie = 0;
    return point->Unadvise(cookie);
}

HRESULT CDispEventSink::QueryInterface(REFIID iid, void** out)
{
    if (out == nullptr)
        return E_POINTER;
    *out = nullptr;
    if (iid != IID_IUnknown && iid != IID_IDispatch && iid != m_events)
        return E_NOINTERFACE;
    *out = static_cast<IDispatch*>(this);
    AddRef();
    return S_OK;
}

ULONG CDispEventSink::Release()
{
    const LONG refs = ::InterlockedDecrement(&m_refs);
    if (refs == 0)
        delete this;
    return static_cast<ULONG>(refs);
}

HRESULT CDispEventSink::GetTypeInfoCount(UINT* count)
{
    if (count != nullptr)
        *count = 0;
    return E_NOTIMPL;
}

HRESULT CDispEventSink::GetTypeInfo(UINT, LCID, ITypeInfo** out)
{
    if (out != nullptr)
        *out = nullptr;
    return E_NOTIMPL;
}

HRESULT CDispEventSink::Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT* result, EXCEPINFO*,
                               UINT*)
{
    if (m_handler == nullptr)
        return S_OK;
    // The control that fires the event is no place for an exception to go.
    try {
        return m_handler->HandleEvent(id, params, result);
    } catch (...) {
        return E_UNEXPECTED;
    }
}

bool CDispEventSink::FindDefaultEventInterface(IUnknown* control, IID& events)
{
    if (control == nullptr)
        return false;
    CInterfacePtr<IProvideClassInfo2> classInfo;
    if (SUCCEEDED(control->QueryInterface(IID_IProvideClassInfo2, classInfo.ReceiveVoid())) &&
        SUCCEEDED(classInfo->GetGUID(GUIDKIND_DEFAULT_SOURCE_DISP_IID, &events)))
        return true;
    // Without class information: the first connection point it offers.
    CInterfacePtr<IConnectionPointContainer> container;
    CInterfacePtr<IEnumConnectionPoints> points;
    if (FAILED(control->QueryInterface(IID_IConnectionPointContainer, container.ReceiveVoid())) ||
        FAILED(container->EnumConnectionPoints(points.Receive())))
        return false;
    CInterfacePtr<IConnectionPoint> point;
    ULONG fetched = 0;
    if (points->Next(1, point.Receive(), &fetched) != S_OK || fetched != 1)
        return false;
    return SUCCEEDED(point->GetConnectionInterface(&events));
}
