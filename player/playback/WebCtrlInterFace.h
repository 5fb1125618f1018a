#pragma once
// CWebCtrlInterFace: the client site the player gives its web browser
// control. It forwards to the control's original (default) site and, where
// that site has one, its UI handler, but shows no context menu and fixes the
// host-information flags (no border, no scroll bars, dialog look, themes).

#include <windows.h>

#include <mshtmhst.h>
#include <ole2.h>

class CWebCtrlInterFace : public IOleClientSite, public IDocHostUIHandler {
public:
    // Flags GetHostInfo adds: DOCHOSTUIFLAG_DIALOG | _NO3DBORDER | _SCROLL_NO
    // | _OPENNEWWIN | _THEME.
    static constexpr DWORD HostFlags = 0x4002D;

    // Starts with no reference.
    CWebCtrlInterFace() = default;
    CWebCtrlInterFace(const CWebCtrlInterFace&) = delete;
    CWebCtrlInterFace& operator=(const CWebCtrlInterFace&) = delete;

    // With a site: keeps it (and its UI handler, if it has one) to forward
    // to. Null: lets go of both.
    void SetDefaultSite(IOleClientSite* site);

    // IUnknown
    STDMETHODIMP QueryInterface(REFIID iid, void** out) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;

    // IOleClientSite
    STDMETHODIMP SaveObject() override;
    STDMETHODIMP GetMoniker(DWORD assign, DWORD which, IMoniker** moniker) override;
    STDMETHODIMP GetContainer(IOleContainer** container) override;
    STDMETHODIMP ShowObject() override;
    STDMETHODIMP OnShowWindow(BOOL show) override;
    STDMETHODIMP RequestNewObjectLayout() override;

    // IDocHostUIHandler
    STDMETHODIMP ShowContextMenu(DWORD id, POINT* point, IUnknown* commandTarget, IDispatch* object) override;
    STDMETHODIMP GetHostInfo(DOCHOSTUIINFO* info) override;
    STDMETHODIMP ShowUI(DWORD id, IOleInPlaceActiveObject* activeObject, IOleCommandTarget* commandTarget,
                        IOleInPlaceFrame* frame, IOleInPlaceUIWindow* document) override;
    STDMETHODIMP HideUI() override;
    STDMETHODIMP UpdateUI() override;
    STDMETHODIMP EnableModeless(BOOL enable) override;
    STDMETHODIMP OnDocWindowActivate(BOOL activate) override;
    STDMETHODIMP OnFrameWindowActivate(BOOL activate) override;
    STDMETHODIMP ResizeBorder(LPCRECT border, IOleInPlaceUIWindow* window, BOOL frameWindow) override;
    STDMETHODIMP TranslateAccelerator(LPMSG message, const GUID* commandGroup, DWORD commandId) override;
    STDMETHODIMP GetOptionKeyPath(LPOLESTR* key, DWORD reserved) override;
    STDMETHODIMP GetDropTarget(IDropTarget* dropTarget, IDropTarget** replacement) override;
    STDMETHODIMP GetExternal(IDispatch** external) override;
    STDMETHODIMP TranslateUrl(DWORD translate, LPWSTR url, LPWSTR* translated) override;
    STDMETHODIMP FilterDataObject(IDataObject* object, IDataObject** replacement) override;

protected:
    virtual ~CWebCtrlInterFace();

private:
    LONG m_refs = 0;
    IOleClientSite* m_defaultSite = nullptr;
    IDocHostUIHandler* m_defaultHandler = nullptr;
};
