#include "player/playback/InPlaceSiteEx.h"

#include "framework/ComPtr.h"

#include <ocidl.h>

namespace {

bool HasControlWindow(const CAxWindow& host)
{
    CInterfacePtr<IOleInPlaceObject> inPlace;
    HWND window = nullptr;
    return SUCCEEDED(host.QueryControl(inPlace.Receive())) && inPlace &&
           SUCCEEDED(inPlace->GetWindow(&window)) && window != nullptr;
}

class CInPlaceSiteEx final : public IOleClientSite, public IOleInPlaceSiteEx {
public:
    CInPlaceSiteEx(IOleClientSite* client, IOleInPlaceSite* site) : m_client(client), m_site(site) {}

    // IUnknown
    STDMETHODIMP QueryInterface(REFIID iid, void** out) override
    {
        if (out == nullptr)
            return E_POINTER;
        *out = nullptr;
        if (iid == IID_IUnknown || iid == IID_IOleClientSite)
            *out = static_cast<IOleClientSite*>(this);
        else if (iid == IID_IOleWindow || iid == IID_IOleInPlaceSite || iid == IID_IOleInPlaceSiteEx)
            *out = static_cast<IOleInPlaceSiteEx*>(this);
        else
            return m_client->QueryInterface(iid, out);  // ambient properties, frame
        AddRef();
        return S_OK;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return static_cast<ULONG>(::InterlockedIncrement(&m_refs)); }
    STDMETHODIMP_(ULONG) Release() override
    {
        const LONG refs = ::InterlockedDecrement(&m_refs);
        if (refs == 0)
            delete this;
        return static_cast<ULONG>(refs);
    }

    // IOleClientSite
    STDMETHODIMP SaveObject() override { return m_client->SaveObject(); }
    STDMETHODIMP GetMoniker(DWORD assign, DWORD which, IMoniker** out) override
    {
        return m_client->GetMoniker(assign, which, out);
    }
    STDMETHODIMP GetContainer(IOleContainer** out) override { return m_client->GetContainer(out); }
    STDMETHODIMP ShowObject() override { return m_client->ShowObject(); }
    STDMETHODIMP OnShowWindow(BOOL show) override { return m_client->OnShowWindow(show); }
    STDMETHODIMP RequestNewObjectLayout() override { return m_client->RequestNewObjectLayout(); }

    // IOleWindow
    STDMETHODIMP GetWindow(HWND* out) override { return m_site->GetWindow(out); }
    STDMETHODIMP ContextSensitiveHelp(BOOL enter) override { return m_site->ContextSensitiveHelp(enter); }

    // IOleInPlaceSite
    STDMETHODIMP CanInPlaceActivate() override { return m_site->CanInPlaceActivate(); }
    STDMETHODIMP OnInPlaceActivate() override { return m_site->OnInPlaceActivate(); }
    STDMETHODIMP OnUIActivate() override { return m_site->OnUIActivate(); }
    STDMETHODIMP GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** document, RECT* position,
                                  RECT* clip, OLEINPLACEFRAMEINFO* info) override
    {
        return m_site->GetWindowContext(frame, document, position, clip, info);
    }
    STDMETHODIMP Scroll(SIZE extent) override { return m_site->Scroll(extent); }
    STDMETHODIMP OnUIDeactivate(BOOL undoable) override { return m_site->OnUIDeactivate(undoable); }
    STDMETHODIMP OnInPlaceDeactivate() override { return m_site->OnInPlaceDeactivate(); }
    STDMETHODIMP DiscardUndoState() override { return m_site->DiscardUndoState(); }
    STDMETHODIMP DeactivateAndUndo() override { return m_site->DeactivateAndUndo(); }
    STDMETHODIMP OnPosRectChange(const RECT* position) override { return m_site->OnPosRectChange(position); }

    // IOleInPlaceSiteEx: the control redraws itself.
    STDMETHODIMP OnInPlaceActivateEx(BOOL* noRedraw, DWORD) override
    {
        if (noRedraw != nullptr)
            *noRedraw = FALSE;
        return m_site->OnInPlaceActivate();
    }
    STDMETHODIMP OnInPlaceDeactivateEx(BOOL) override { return m_site->OnInPlaceDeactivate(); }
    STDMETHODIMP RequestUIActivate() override { return S_OK; }

private:
    ~CInPlaceSiteEx() = default;

    LONG m_refs = 1;
    CInterfacePtr<IOleClientSite> m_client;
    CInterfacePtr<IOleInPlaceSite> m_site;
};

}  // namespace

HRESULT ActivateInPlaceEx(const CAxWindow& host)
{
    if (HasControlWindow(host))
        return S_OK;
    CInterfacePtr<IOleObject> control;
    CInterfacePtr<IOleClientSite> client;
    CInterfacePtr<IOleInPlaceSite> site;
    if (FAILED(host.QueryControl(control.Receive())) || !control ||
        FAILED(host.QueryHost(client.Receive())) || !client || FAILED(host.QueryHost(site.Receive())) || !site)
        return E_NOINTERFACE;

    // Such a control looks for the in-place site on its client site, so the
    // forwarding site becomes that too.
    CInPlaceSiteEx* siteEx = new CInPlaceSiteEx(client, site);
    RECT rc = host.GetClientRect();
    control->SetClientSite(siteEx);
    control->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, siteEx, 0, host, &rc);
    siteEx->Release();
    return HasControlWindow(host) ? S_OK : E_FAIL;
}
