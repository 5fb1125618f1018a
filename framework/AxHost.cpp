#include "framework/AxHost.h"

#include "framework/AppModule.h"
#include "framework/ComVariant.h"
#include "framework/WindowImpl.h"

#include <exdisp.h>
#include <ocidl.h>
#include <olectl.h>

#include <string>

namespace {

const wchar_t kHostClassName[] = L"BrisvaneAxHost";
const wchar_t kHostProp[] = L"Brisvane.AxHost";

// The site a host window gives its control: client site, in-place site (the
// extended one: Wine's Media Player control activates in place only with
// IOleInPlaceSiteEx) and frame, and the ambient properties through IDispatch.
// One per host window, reference-counted; the window holds one reference
// until WM_NCDESTROY.
class CAxHostSite final : public IOleClientSite,
                          public IOleInPlaceSiteEx,
                          public IOleInPlaceFrame,
                          public IDispatch {
public:
    explicit CAxHostSite(HWND window) : m_window(window) {}

    HRESULT CreateControl(const wchar_t* name);
    HRESULT AttachControl(IUnknown* control);
    HRESULT QueryControl(REFIID iid, void** out) const;
    bool HasControl() const { return static_cast<bool>(m_control); }
    bool HasControlWindow() const;
    void Resize();
    void FocusControl();
    void ReleaseControl();
    void Detach() { m_window = nullptr; }

    // IUnknown
    STDMETHODIMP QueryInterface(REFIID iid, void** out) override;
    STDMETHODIMP_(ULONG) AddRef() override { return static_cast<ULONG>(::InterlockedIncrement(&m_refs)); }
    STDMETHODIMP_(ULONG) Release() override
    {
        const LONG refs = ::InterlockedDecrement(&m_refs);
        if (refs == 0)
            delete this;
        return static_cast<ULONG>(refs);
    }

    // IOleClientSite
    STDMETHODIMP SaveObject() override { return E_NOTIMPL; }
    STDMETHODIMP GetMoniker(DWORD, DWORD, IMoniker** out) override
    {
        if (out != nullptr)
            *out = nullptr;
        return E_NOTIMPL;
    }
    STDMETHODIMP GetContainer(IOleContainer** out) override
    {
        if (out != nullptr)
            *out = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP ShowObject() override { return S_OK; }
    STDMETHODIMP OnShowWindow(BOOL) override { return S_OK; }
    STDMETHODIMP RequestNewObjectLayout() override { return E_NOTIMPL; }

    // IOleWindow (of both the in-place site and the frame)
    STDMETHODIMP GetWindow(HWND* out) override
    {
        if (out == nullptr)
            return E_POINTER;
        *out = m_window;
        return m_window != nullptr ? S_OK : E_FAIL;
    }
    STDMETHODIMP ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }

    // IOleInPlaceSite
    STDMETHODIMP CanInPlaceActivate() override { return m_window != nullptr ? S_OK : S_FALSE; }
    STDMETHODIMP OnInPlaceActivate() override;
    STDMETHODIMP OnUIActivate() override { return S_OK; }
    STDMETHODIMP GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** document, RECT* position,
                                  RECT* clip, OLEINPLACEFRAMEINFO* info) override;
    STDMETHODIMP Scroll(SIZE) override { return E_NOTIMPL; }
    STDMETHODIMP OnUIDeactivate(BOOL) override { return S_OK; }
    STDMETHODIMP OnInPlaceDeactivate() override
    {
        m_inPlaceObject.Release();
        return S_OK;
    }
    STDMETHODIMP DiscardUndoState() override { return S_OK; }
    STDMETHODIMP DeactivateAndUndo() override { return S_OK; }
    STDMETHODIMP OnPosRectChange(const RECT* position) override
    {
        if (position != nullptr && m_inPlaceObject)
            m_inPlaceObject->SetObjectRects(position, position);
        return S_OK;
    }

    // IOleInPlaceSiteEx: the control draws itself, in a window of its own
    // (the host offers no windowless site), and may always go UI-active.
    STDMETHODIMP OnInPlaceActivateEx(BOOL* noRedraw, DWORD) override
    {
        if (noRedraw != nullptr)
            *noRedraw = FALSE;
        return OnInPlaceActivate();
    }
    STDMETHODIMP OnInPlaceDeactivateEx(BOOL) override { return OnInPlaceDeactivate(); }
    STDMETHODIMP RequestUIActivate() override { return S_OK; }

    // IOleInPlaceUIWindow, IOleInPlaceFrame: no toolbars or menus to share.
    STDMETHODIMP GetBorder(RECT*) override { return INPLACE_E_NOTOOLSPACE; }
    STDMETHODIMP RequestBorderSpace(const BORDERWIDTHS*) override { return INPLACE_E_NOTOOLSPACE; }
    STDMETHODIMP SetBorderSpace(const BORDERWIDTHS* widths) override
    {
        return widths == nullptr ? S_OK : INPLACE_E_NOTOOLSPACE;
    }
    STDMETHODIMP SetActiveObject(IOleInPlaceActiveObject*, LPCOLESTR) override { return S_OK; }
    STDMETHODIMP InsertMenus(HMENU, OLEMENUGROUPWIDTHS*) override { return S_OK; }
    STDMETHODIMP SetMenu(HMENU, HOLEMENU, HWND) override { return S_OK; }
    STDMETHODIMP RemoveMenus(HMENU) override { return S_OK; }
    STDMETHODIMP SetStatusText(LPCOLESTR) override { return S_OK; }
    STDMETHODIMP EnableModeless(BOOL) override { return S_OK; }
    STDMETHODIMP TranslateAccelerator(MSG*, WORD) override { return S_FALSE; }

    // IDispatch: the ambient properties, by DISPID.
    STDMETHODIMP GetTypeInfoCount(UINT* count) override
    {
        if (count != nullptr)
            *count = 0;
        return S_OK;
    }
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo** out) override
    {
        if (out != nullptr)
            *out = nullptr;
        return E_NOTIMPL;
    }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return DISP_E_UNKNOWNNAME; }
    STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS*, VARIANT* result, EXCEPINFO*,
                        UINT*) override;

private:
    ~CAxHostSite() { ReleaseControl(); }

    RECT ClientRect() const;
    void InitializeControl();

    LONG m_refs = 1;
    HWND m_window;
    CInterfacePtr<IUnknown> m_control;
    CInterfacePtr<IOleObject> m_oleObject;
    CInterfacePtr<IOleInPlaceObject> m_inPlaceObject;
};

HRESULT CAxHostSite::QueryInterface(REFIID iid, void** out)
{
    if (out == nullptr)
        return E_POINTER;
    *out = nullptr;
    if (iid == IID_IUnknown || iid == IID_IOleClientSite)
        *out = static_cast<IOleClientSite*>(this);
    else if (iid == IID_IOleWindow || iid == IID_IOleInPlaceSite || iid == IID_IOleInPlaceSiteEx)
        *out = static_cast<IOleInPlaceSiteEx*>(this);
    else if (iid == IID_IOleInPlaceUIWindow || iid == IID_IOleInPlaceFrame)
        *out = static_cast<IOleInPlaceFrame*>(this);
    else if (iid == IID_IDispatch)
        *out = static_cast<IDispatch*>(this);
    else
        return E_NOINTERFACE;
    AddRef();
    return S_OK;
}

RECT CAxHostSite::ClientRect() const
{
    RECT rc{};
    if (m_window != nullptr)
        ::GetClientRect(m_window, &rc);
    return rc;
}

HRESULT CAxHostSite::CreateControl(const wchar_t* name)
{
    if (name == nullptr || *name == L'\0')
        return E_INVALIDARG;
    CLSID clsid{};
    std::wstring address;
    HRESULT hr = S_OK;
    if (name[0] == L'{')
        hr = ::CLSIDFromString(const_cast<LPOLESTR>(name), &clsid);
    else if (FAILED(::CLSIDFromProgID(name, &clsid))) {
        if (std::wstring(name).find(L':') == std::wstring::npos)
            return CO_E_CLASSSTRING;
        clsid = CLSID_WebBrowser;
        address = name;
    }
    if (FAILED(hr))
        return hr;

    CInterfacePtr<IUnknown> control;
    hr = ::CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER, IID_IUnknown,
                            control.ReceiveVoid());
    if (FAILED(hr))
        return hr;
    hr = AttachControl(control);
    if (SUCCEEDED(hr) && !address.empty()) {
        CInterfacePtr<IWebBrowser2> browser;
        if (SUCCEEDED(m_control->QueryInterface(IID_IWebBrowser2, browser.ReceiveVoid()))) {
            CVariant url(address.c_str());
            CVariant none;
            hr = browser->Navigate2(&url, &none, &none, &none, &none);
        }
    }
    return hr;
}

HRESULT CAxHostSite::AttachControl(IUnknown* control)
{
    if (control == nullptr)
        return E_POINTER;
    ReleaseControl();
    m_control = control;
    m_control->QueryInterface(IID_IOleObject, m_oleObject.ReceiveVoid());
    if (!m_oleObject)
        return S_OK;  // a plain object: hosted, nothing to activate

    InitializeControl();
    const RECT rc = ClientRect();
    const HRESULT hr = m_oleObject->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, static_cast<IOleClientSite*>(this),
                                           0, m_window, &rc);
    if (!m_inPlaceObject)
        m_oleObject->QueryInterface(IID_IOleInPlaceObject, m_inPlaceObject.ReceiveVoid());
    Resize();
    return hr;
}

void CAxHostSite::InitializeControl()
{
    // Some controls want their site before they are initialised, the others
    // after (OLEMISC_SETCLIENTSITEFIRST says which).
    DWORD misc = 0;
    m_oleObject->GetMiscStatus(DVASPECT_CONTENT, &misc);
    const bool siteFirst = (misc & OLEMISC_SETCLIENTSITEFIRST) != 0;
    if (siteFirst)
        m_oleObject->SetClientSite(this);

    CInterfacePtr<IPersistStreamInit> stream;
    CInterfacePtr<IPersistPropertyBag> bag;
    if (SUCCEEDED(m_control->QueryInterface(IID_IPersistStreamInit, stream.ReceiveVoid())))
        stream->InitNew();
    else if (SUCCEEDED(m_control->QueryInterface(IID_IPersistPropertyBag, bag.ReceiveVoid())))
        bag->InitNew();

    if (!siteFirst)
        m_oleObject->SetClientSite(this);
}

HRESULT CAxHostSite::QueryControl(REFIID iid, void** out) const
{
    if (out == nullptr)
        return E_POINTER;
    *out = nullptr;
    return m_control ? m_control->QueryInterface(iid, out) : E_NOINTERFACE;
}

bool CAxHostSite::HasControlWindow() const
{
    HWND window = nullptr;
    return m_inPlaceObject && SUCCEEDED(m_inPlaceObject->GetWindow(&window)) && window != nullptr;
}

void CAxHostSite::Resize()
{
    if (!m_oleObject || m_window == nullptr)
        return;
    const RECT rc = ClientRect();
    // The extent is in HIMETRIC (0.01 mm).
    HDC screen = ::GetDC(nullptr);
    SIZEL extent{::MulDiv(rc.right - rc.left, 2540, ::GetDeviceCaps(screen, LOGPIXELSX)),
                 ::MulDiv(rc.bottom - rc.top, 2540, ::GetDeviceCaps(screen, LOGPIXELSY))};
    ::ReleaseDC(nullptr, screen);
    m_oleObject->SetExtent(DVASPECT_CONTENT, &extent);
    if (m_inPlaceObject)
        m_inPlaceObject->SetObjectRects(&rc, &rc);
}

void CAxHostSite::FocusControl()
{
    HWND window = nullptr;
    if (m_inPlaceObject && SUCCEEDED(m_inPlaceObject->GetWindow(&window)) && window != nullptr)
        ::SetFocus(window);
}

void CAxHostSite::ReleaseControl()
{
    CInterfacePtr<IOleInPlaceObject> inPlace = m_inPlaceObject;
    if (inPlace)
        inPlace->InPlaceDeactivate();
    m_inPlaceObject.Release();
    if (m_oleObject) {
        m_oleObject->Close(OLECLOSE_NOSAVE);
        m_oleObject->SetClientSite(nullptr);
    }
    m_oleObject.Release();
    m_control.Release();
}

HRESULT CAxHostSite::OnInPlaceActivate()
{
    if (m_oleObject && !m_inPlaceObject)
        m_oleObject->QueryInterface(IID_IOleInPlaceObject, m_inPlaceObject.ReceiveVoid());
    return S_OK;
}

HRESULT CAxHostSite::GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** document, RECT* position,
                                      RECT* clip, OLEINPLACEFRAMEINFO* info)
{
    if (frame == nullptr || document == nullptr || position == nullptr || clip == nullptr || info == nullptr)
        return E_POINTER;
    *frame = static_cast<IOleInPlaceFrame*>(this);
    AddRef();
    *document = nullptr;
    *position = ClientRect();
    *clip = *position;
    info->fMDIApp = FALSE;
    info->hwndFrame = m_window != nullptr ? ::GetAncestor(m_window, GA_ROOT) : nullptr;
    info->haccel = nullptr;
    info->cAccelEntries = 0;
    return S_OK;
}

HRESULT CAxHostSite::Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS*, VARIANT* result, EXCEPINFO*, UINT*)
{
    if (!(flags & DISPATCH_PROPERTYGET))
        return DISP_E_MEMBERNOTFOUND;
    if (result == nullptr)
        return E_POINTER;
    ::VariantInit(result);
    switch (id) {
    case DISPID_AMBIENT_USERMODE:
    case DISPID_AMBIENT_AUTOCLIP:
        result->vt = VT_BOOL;
        result->boolVal = VARIANT_TRUE;
        return S_OK;
    case DISPID_AMBIENT_UIDEAD:
    case DISPID_AMBIENT_SHOWGRABHANDLES:
    case DISPID_AMBIENT_SHOWHATCHING:
    case DISPID_AMBIENT_DISPLAYASDEFAULT:
    case DISPID_AMBIENT_MESSAGEREFLECT:
    case DISPID_AMBIENT_SUPPORTSMNEMONICS:
        result->vt = VT_BOOL;
        result->boolVal = VARIANT_FALSE;
        return S_OK;
    case DISPID_AMBIENT_BACKCOLOR:
        result->vt = VT_I4;
        result->lVal = static_cast<LONG>(::GetSysColor(COLOR_WINDOW));
        return S_OK;
    case DISPID_AMBIENT_FORECOLOR:
        result->vt = VT_I4;
        result->lVal = static_cast<LONG>(::GetSysColor(COLOR_WINDOWTEXT));
        return S_OK;
    case DISPID_AMBIENT_LOCALEID:
        result->vt = VT_I4;
        result->lVal = static_cast<LONG>(::GetUserDefaultLCID());
        return S_OK;
    default:
        return DISP_E_MEMBERNOTFOUND;
    }
}

CAxHostSite* SiteOf(HWND window)
{
    return window != nullptr ? static_cast<CAxHostSite*>(::GetPropW(window, kHostProp)) : nullptr;
}

// The procedure of the host window class: the site follows the window's
// life; everything else is the default handling.
LRESULT CALLBACK HostWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    CAxHostSite* site = SiteOf(hwnd);
    switch (msg) {
    case WM_NCCREATE:
        if (site == nullptr) {
            site = new CAxHostSite(hwnd);
            if (!::SetPropW(hwnd, kHostProp, site)) {
                site->Release();
                return FALSE;
            }
        }
        break;
    case WM_CREATE: {
        // The text names the control; a resource ordinal or nothing names none.
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        const wchar_t* name = create->lpszName;
        if (site != nullptr && !site->HasControl() && name != nullptr && !IS_INTRESOURCE(name) &&
            name[0] != L'\0' && name[0] != 0xFFFF)
            site->CreateControl(name);
        return 0;
    }
    case WM_SIZE:
        if (site != nullptr)
            site->Resize();
        break;
    case WM_SETFOCUS:
        if (site != nullptr)
            site->FocusControl();
        return 0;
    case WM_ERASEBKGND:
        if (site != nullptr && site->HasControlWindow())
            return 1;  // the control covers the window
        break;
    case WM_DESTROY:
        if (site != nullptr)
            site->ReleaseControl();
        break;
    case WM_NCDESTROY:
        if (site != nullptr) {
            ::RemovePropW(hwnd, kHostProp);
            site->Detach();
            site->Release();
        }
        break;
    default:
        break;
    }
    return ::DefWindowProcW(hwnd, msg, wParam, lParam);
}

}  // namespace

bool AxWinInit()
{
    static CWndClassInfo hostClass{kHostClassName, CS_GLOBALCLASS | CS_DBLCLKS,
                                   reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1), nullptr};
    return hostClass.Register(&HostWindowProc) != 0;
}

const wchar_t* CAxWindow::GetWndClassName()
{
    return kHostClassName;
}

HWND CAxWindow::Create(HWND parent, const RECT* rect, const wchar_t* controlName, DWORD style, DWORD exStyle,
                       UINT id)
{
    if (!AxWinInit())
        return nullptr;
    RECT place = rect != nullptr ? *rect : RECT{};
    m_hWnd = ::CreateWindowExW(exStyle, kHostClassName, controlName, style, place.left, place.top,
                               place.right - place.left, place.bottom - place.top, parent,
                               reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), FrameworkInstance(),
                               nullptr);
    return m_hWnd;
}

HRESULT CAxWindow::CreateControl(const wchar_t* controlName)
{
    CAxHostSite* site = SiteOf(m_hWnd);
    if (site == nullptr)
        return E_UNEXPECTED;
    if (site->HasControl())
        return E_FAIL;
    return site->CreateControl(controlName);
}

HRESULT CAxWindow::AttachControl(IUnknown* control)
{
    CAxHostSite* site = SiteOf(m_hWnd);
    return site != nullptr ? site->AttachControl(control) : E_UNEXPECTED;
}

HRESULT CAxWindow::QueryControl(REFIID iid, void** out) const
{
    CAxHostSite* site = SiteOf(m_hWnd);
    if (site == nullptr) {
        if (out != nullptr)
            *out = nullptr;
        return E_UNEXPECTED;
    }
    return site->QueryControl(iid, out);
}

HRESULT CAxWindow::QueryHost(REFIID iid, void** out) const
{
    CAxHostSite* site = SiteOf(m_hWnd);
    if (site == nullptr) {
        if (out != nullptr)
            *out = nullptr;
        return E_UNEXPECTED;
    }
    return site->QueryInterface(iid, out);
}
