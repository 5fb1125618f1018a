#include "player/playback/WebCtrlInterFace.h"

namespace {

// Clears an out pointer the caller really gave.
template <class T>
void ClearOut(T** out)
{
    if (out != nullptr && !::IsBadWritePtr(out, sizeof(*out)))
        *out = nullptr;
}

}  // namespace

CWebCtrlInterFace::~CWebCtrlInterFace()
{
    SetDefaultSite(nullptr);
}

void CWebCtrlInterFace::SetDefaultSite(IOleClientSite* site)
{
    if (site != nullptr)
        site->AddRef();
    if (m_defaultHandler != nullptr)
        m_defaultHandler->Release();
    m_defaultHandler = nullptr;
    if (m_defaultSite != nullptr)
        m_defaultSite->Release();
    m_defaultSite = site;
    if (site != nullptr &&
        FAILED(site->QueryInterface(IID_IDocHostUIHandler, reinterpret_cast<void**>(&m_defaultHandler))))
        m_defaultHandler = nullptr;
}

STDMETHODIMP CWebCtrlInterFace::QueryInterface(REFIID iid, void** out)
{
    if (out == nullptr || ::IsBadWritePtr(out, sizeof(*out)))
        return E_INVALIDARG;
    *out = nullptr;
    if (iid == IID_IUnknown || iid == IID_IOleClientSite)
        *out = static_cast<IOleClientSite*>(this);
    else if (iid == IID_IDocHostUIHandler)
        *out = static_cast<IDocHostUIHandler*>(this);
    else
        return E_NOINTERFACE;
    AddRef();
    return S_OK;
}

STDMETHODIMP_(ULONG) CWebCtrlInterFace::AddRef()
{
    return static_cast<ULONG>(::InterlockedIncrement(&m_refs));
}

STDMETHODIMP_(ULONG) CWebCtrlInterFace::Release()
{
    const LONG refs = ::InterlockedDecrement(&m_refs);
    if (refs == 0)
        delete this;
    return static_cast<ULONG>(refs);
}

// IOleClientSite

STDMETHODIMP CWebCtrlInterFace::SaveObject()
{
    return m_defaultSite != nullptr ? m_defaultSite->SaveObject() : E_FAIL;
}

STDMETHODIMP CWebCtrlInterFace::GetMoniker(DWORD assign, DWORD which, IMoniker** moniker)
{
    if (m_defaultSite != nullptr)
        return m_defaultSite->GetMoniker(assign, which, moniker);
    ClearOut(moniker);
    return E_NOTIMPL;
}

STDMETHODIMP CWebCtrlInterFace::GetContainer(IOleContainer** container)
{
    if (m_defaultSite != nullptr)
        return m_defaultSite->GetContainer(container);
    ClearOut(container);
    return E_NOINTERFACE;
}

STDMETHODIMP CWebCtrlInterFace::ShowObject()
{
    return m_defaultSite != nullptr ? m_defaultSite->ShowObject() : S_OK;
}

STDMETHODIMP CWebCtrlInterFace::OnShowWindow(BOOL show)
{
    return m_defaultSite != nullptr ? m_defaultSite->OnShowWindow(show) : S_OK;
}

STDMETHODIMP CWebCtrlInterFace::RequestNewObjectLayout()
{
    return m_defaultSite != nullptr ? m_defaultSite->RequestNewObjectLayout() : E_NOTIMPL;
}

// IDocHostUIHandler

STDMETHODIMP CWebCtrlInterFace::ShowContextMenu(DWORD, POINT*, IUnknown*, IDispatch*)
{
    return S_OK;  // handled: no menu
}

STDMETHODIMP CWebCtrlInterFace::GetHostInfo(DOCHOSTUIINFO* info)
{
    if (info == nullptr)
        return E_POINTER;
    info->dwFlags |= HostFlags;
    return S_OK;
}

STDMETHODIMP CWebCtrlInterFace::ShowUI(DWORD id, IOleInPlaceActiveObject* activeObject,
                                       IOleCommandTarget* commandTarget, IOleInPlaceFrame* frame,
                                       IOleInPlaceUIWindow* document)
{
    if (m_defaultHandler != nullptr)
        return m_defaultHandler->ShowUI(id, activeObject, commandTarget, frame, document);
    return S_FALSE;
}

STDMETHODIMP CWebCtrlInterFace::HideUI()
{
    return m_defaultHandler != nullptr ? m_defaultHandler->HideUI() : E_NOTIMPL;
}

STDMETHODIMP CWebCtrlInterFace::UpdateUI()
{
    return m_defaultHandler != nullptr ? m_defaultHandler->UpdateUI() : E_NOTIMPL;
}

STDMETHODIMP CWebCtrlInterFace::EnableModeless(BOOL enable)
{
    return m_defaultHandler != nullptr ? m_defaultHandler->EnableModeless(enable) : E_NOTIMPL;
}

STDMETHODIMP CWebCtrlInterFace::OnDocWindowActivate(BOOL activate)
{
    return m_defaultHandler != nullptr ? m_defaultHandler->OnDocWindowActivate(activate) : E_NOTIMPL;
}

STDMETHODIMP CWebCtrlInterFace::OnFrameWindowActivate(BOOL activate)
{
    return m_defaultHandler != nullptr ? m_defaultHandler->OnFrameWindowActivate(activate) : E_NOTIMPL;
}

STDMETHODIMP CWebCtrlInterFace::ResizeBorder(LPCRECT border, IOleInPlaceUIWindow* window, BOOL frameWindow)
{
    return m_defaultHandler != nullptr ? m_defaultHandler->ResizeBorder(border, window, frameWindow) : E_NOTIMPL;
}

STDMETHODIMP CWebCtrlInterFace::TranslateAccelerator(LPMSG message, const GUID* commandGroup, DWORD commandId)
{
    if (m_defaultHandler != nullptr)
        return m_defaultHandler->TranslateAccelerator(message, commandGroup, commandId);
    return E_NOTIMPL;
}

STDMETHODIMP CWebCtrlInterFace::GetOptionKeyPath(LPOLESTR* key, DWORD reserved)
{
    if (m_defaultHandler != nullptr)
        return m_defaultHandler->GetOptionKeyPath(key, reserved);
    ClearOut(key);
    return E_NOTIMPL;
}

STDMETHODIMP CWebCtrlInterFace::GetDropTarget(IDropTarget*, IDropTarget**)
{
    return S_FALSE;  // the browser keeps its own drop target
}

STDMETHODIMP CWebCtrlInterFace::GetExternal(IDispatch** external)
{
    if (m_defaultHandler != nullptr)
        return m_defaultHandler->GetExternal(external);
    ClearOut(external);
    return E_NOTIMPL;
}

STDMETHODIMP CWebCtrlInterFace::TranslateUrl(DWORD translate, LPWSTR url, LPWSTR* translated)
{
    if (m_defaultHandler != nullptr)
        return m_defaultHandler->TranslateUrl(translate, url, translated);
    ClearOut(translated);
    return S_FALSE;
}

STDMETHODIMP CWebCtrlInterFace::FilterDataObject(IDataObject* object, IDataObject** replacement)
{
    if (m_defaultHandler != nullptr)
        return m_defaultHandler->FilterDataObject(object, replacement);
    ClearOut(replacement);
    return S_FALSE;
}
