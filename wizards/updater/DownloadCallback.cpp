// The transfers' bind-status callback.

#include "wizards/updater/DownloadCallback.h"

#include "wizards/updater/TransferPolicy.h"
#include "wizards/updater/UpdaterMessages.h"

CCallback::CCallback(const std::atomic<bool>& cancel, HWND progressWindow, const std::atomic<bool>* abandoned)
    : m_cancel(cancel), m_progressWindow(progressWindow), m_abandoned(abandoned)
{
}

STDMETHODIMP CCallback::QueryInterface(REFIID iid, void** object)
{
    if (!object)
        return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IBindStatusCallback) {
        *object = static_cast<IBindStatusCallback*>(this);
        return S_OK;
    }
    if (iid == IID_IHttpNegotiate) {
        *object = static_cast<IHttpNegotiate*>(this);
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

// The object lives on the worker's stack for exactly one transfer.
STDMETHODIMP_(ULONG) CCallback::AddRef()
{
    return 0;
}

STDMETHODIMP_(ULONG) CCallback::Release()
{
    return 0;
}

STDMETHODIMP CCallback::OnStartBinding(DWORD, IBinding*)
{
    return E_NOTIMPL;
}

STDMETHODIMP CCallback::GetPriority(LONG*)
{
    return E_NOTIMPL;
}

STDMETHODIMP CCallback::OnLowResource(DWORD)
{
    return E_NOTIMPL;
}

STDMETHODIMP CCallback::OnProgress(ULONG progress, ULONG progressMax, ULONG statusCode, LPCWSTR statusText)
{
    if (statusCode == BINDSTATUS_REDIRECTING && !IsAllowedTransferUrl(statusText ? statusText : L""))
        m_redirectRefused = true;
    if (m_cancel || (m_abandoned != nullptr && m_abandoned->load()) || !IsHttpSuccess() || m_redirectRefused)
        return E_ABORT;
    if (m_progressWindow && statusCode != BINDSTATUS_REDIRECTING)
        ::SendMessageW(m_progressWindow, WM_UPDATER_PROGRESS, progress, static_cast<LPARAM>(progressMax));
    return S_OK;
}

STDMETHODIMP CCallback::OnStopBinding(HRESULT, LPCWSTR)
{
    return E_NOTIMPL;
}

STDMETHODIMP CCallback::GetBindInfo(DWORD*, BINDINFO*)
{
    return E_NOTIMPL;
}

STDMETHODIMP CCallback::OnDataAvailable(DWORD, DWORD, FORMATETC*, STGMEDIUM*)
{
    return E_NOTIMPL;
}

STDMETHODIMP CCallback::OnObjectAvailable(REFIID, IUnknown*)
{
    return E_NOTIMPL;
}

STDMETHODIMP CCallback::BeginningTransaction(LPCWSTR, LPCWSTR, DWORD, LPWSTR* additionalHeaders)
{
    if (additionalHeaders)
        *additionalHeaders = nullptr;
    return S_OK;
}

STDMETHODIMP CCallback::OnResponse(DWORD responseCode, LPCWSTR, LPCWSTR, LPWSTR* additionalHeaders)
{
    if (additionalHeaders)
        *additionalHeaders = nullptr;
    m_httpStatus = responseCode;
    return S_OK;
}
