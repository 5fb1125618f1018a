// A window class that hosts one control and keeps its main interface, and
// the event helper that connects it to the control's events.
//
//   class CBrowserWnd : public CWTLAxControl<CBrowserWnd, IWebBrowser2>,
//                       public CWTLDispEventHelper<CBrowserWnd, IWebBrowser2> {
//   public:
//       MESSAGE_MAP_BEGIN(CBrowserWnd)
//           ON_MESSAGE(WM_CREATE, OnCreate)
//           CHAIN_MESSAGE_MAP(CWTLAxControl)
//       MESSAGE_MAP_END()
//       LRESULT OnCreate(WindowMessage& msg) {
//           LRESULT result = CWTLAxControl::OnCreate(msg);  // control from the text
//           if (result != -1) GetControl()->put_Silent(VARIANT_TRUE);
//           return result;
//       }
//   };
//   browser.Create(parent, &rc, L"about:blank", WS_CHILD | WS_VISIBLE);
//
// The window is a superclass of the host window (AxHost.h): its WM_CREATE
// runs the host's creation (the control named by the window text), takes
// the control's interface I and, when the class also derives from
// CWTLDispEventHelper, connects the event sink. Creation fails when the
// control does not answer I.
#pragma once

#include "framework/AxHost.h"
#include "framework/DispEventSink.h"
#include "framework/WindowImpl.h"

#include <type_traits>

template <class T, class I>
class CWTLDispEventHelper : private CDispEventSink::Handler {
public:
    // events: the event interface; null for the control's default source.
    HRESULT DispEventAdvise(I* control, const IID* events = nullptr)
    {
        if (control == nullptr)
            return E_POINTER;
        DispEventUnadvise();
        IID source{};
        if (events != nullptr)
            source = *events;
        else if (!CDispEventSink::FindDefaultEventInterface(control, source))
            return CONNECT_E_NOCONNECTION;
        m_sink = new CDispEventSink(source, this);
        const HRESULT hr = m_sink->Advise(control);
        if (FAILED(hr)) {
            m_sink->ClearHandler();
            m_sink.Release();
        }
        return hr;
    }
    HRESULT DispEventUnadvise()
    {
        if (!m_sink)
            return S_FALSE;
        m_sink->ClearHandler();
        const HRESULT hr = m_sink->Unadvise();
        m_sink.Release();
        return hr;
    }
    bool IsDispEventAdvised() const { return m_sink && m_sink->IsAdvised(); }
    const IID* DispEventInterface() const { return m_sink ? &m_sink->EventInterface() : nullptr; }

    // Every event ends here; T declares its own OnDispEvent to handle them.
    HRESULT OnDispEvent(DISPID, DISPPARAMS*, VARIANT*) { return S_OK; }

protected:
    CWTLDispEventHelper() = default;
    ~CWTLDispEventHelper() { DispEventUnadvise(); }

private:
    HRESULT HandleEvent(DISPID id, DISPPARAMS* params, VARIANT* result) override
    {
        return static_cast<T*>(this)->OnDispEvent(id, params, result);
    }

    CInterfacePtr<CDispEventSink> m_sink;
};

template <class T, class I>
class CWTLAxControl : public CWindowImpl<T, CAxWindow> {
public:
    WINDOW_SUPERCLASS(nullptr, CAxWindow::GetWndClassName())

    CWTLAxControl() { AxWinInit(); }

    // The control's interface I, held from creation to WM_DESTROY.
    I* GetControl() const { return m_control; }

    MESSAGE_MAP_BEGIN(CWTLAxControl)
        ON_MESSAGE(WM_CREATE, OnCreate)
        ON_MESSAGE(WM_DESTROY, OnDestroy)
    MESSAGE_MAP_END()

protected:
    LRESULT OnCreate(WindowMessage& msg)
    {
        const LRESULT result = this->DefWindowProc(msg.id, msg.wParam, msg.lParam);
        if (result == -1 || FAILED(this->QueryControl(m_control.Receive())))
            return -1;
        if constexpr (std::is_base_of_v<CWTLDispEventHelper<T, I>, T>)
            static_cast<T*>(this)->DispEventAdvise(m_control);
        return result;
    }
    LRESULT OnDestroy(WindowMessage& msg)
    {
        if constexpr (std::is_base_of_v<CWTLDispEventHelper<T, I>, T>)
            static_cast<T*>(this)->DispEventUnadvise();
        m_control.Release();
        msg.handled = false;  // the host releases the control itself
        return 0;
    }

    CInterfacePtr<I> m_control;
};
