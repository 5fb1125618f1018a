// CDispEventSink: a COM object that receives the events of one dispatch
// interface (a control's event dispinterface) through a connection point and
// hands each to a handler.
//
//   class CPlayerEvents : public CDispEventSink::Handler { ... HandleEvent ... };
//   CInterfacePtr<CDispEventSink> sink(new CDispEventSink(DIID__WMPOCXEvents, &events));
//   sink->Advise(player);     // ... sink->Unadvise() before the handler goes
#pragma once

#include "framework/ComPtr.h"

#include <oaidl.h>
#include <ocidl.h>

class CDispEventSink final : public IDispatch {
public:
    class Handler {
    public:
        // One event; the arguments are in params (last argument first).
        virtual HRESULT HandleEvent(DISPID id, DISPPARAMS* params, VARIANT* result) = 0;

    protected:
        ~Handler() = default;
    };

    // Starts with no reference: hold it in a CInterfacePtr.
    CDispEventSink(const IID& events, Handler* handler) : m_events(events), m_handler(handler) {}

    // Connects to the source's connection point of the event interface.
    HRESULT Advise(IUnknown* source);
    HRESULT Unadvise();
    bool IsAdvised() const { return static_cast<bool>(m_point); }
    const IID& EventInterface() const { return m_events; }
    // Events that still arrive after this are ignored.
    void ClearHandler() { m_handler = nullptr; }

    // IUnknown
    STDMETHODIMP QueryInterface(REFIID iid, void** out) override;
    STDMETHODIMP_(ULONG) AddRef() override { return static_cast<ULONG>(::InterlockedIncrement(&m_refs)); }
    STDMETHODIMP_(ULONG) Release() override;
    // IDispatch: only Invoke carries events.
    STDMETHODIMP GetTypeInfoCount(UINT* count) override;
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo** out) override;
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT* result, EXCEPINFO*,
                        UINT*) override;

    // The event interface a control names as its default source; false when
    // it names none and has no connection point either.
    static bool FindDefaultEventInterface(IUnknown* control, IID& events);

private:
    ~CDispEventSink() = default;

    LONG m_refs = 0;
    IID m_events;
    Handler* m_handler;
    CInterfacePtr<IConnectionPoint> m_point;
    DWORD m_cookie = 0;
};
