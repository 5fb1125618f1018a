#pragma once
// CCallback: the bind-status callback of the updaters' transfers, living on
// the worker's stack for one transfer (UrlTransfer.h). It counts no
// references. OnProgress aborts the transfer once the run is cancelled, the
// server answered with an error status or redirected to an address the
// transfer policy refuses (TransferPolicy.h), and otherwise reports the
// progress to the download page; OnResponse keeps the HTTP status, so that
// an error page the server sends is not taken for the file.

#include <windows.h>
#include <urlmon.h>

#include <atomic>
#include <string>

class CCallback : public IBindStatusCallback, public IHttpNegotiate {
public:
    // progressWindow: receives WM_UPDATER_PROGRESS (null: no reports).
    // abandoned (may be null): raised when the page no longer waits, which
    // aborts the transfer as a cancel does.
    CCallback(const std::atomic<bool>& cancel, HWND progressWindow, const std::atomic<bool>* abandoned = nullptr);
    CCallback(const CCallback&) = delete;
    CCallback& operator=(const CCallback&) = delete;
    virtual ~CCallback() = default;

    // IUnknown: only the two interfaces above.
    STDMETHODIMP QueryInterface(REFIID iid, void** object) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;

    // IBindStatusCallback: only OnProgress works.
    STDMETHODIMP OnStartBinding(DWORD reserved, IBinding* binding) override;
    STDMETHODIMP GetPriority(LONG* priority) override;
    STDMETHODIMP OnLowResource(DWORD reserved) override;
    STDMETHODIMP OnProgress(ULONG progress, ULONG progressMax, ULONG statusCode, LPCWSTR statusText) override;
    STDMETHODIMP OnStopBinding(HRESULT result, LPCWSTR error) override;
    STDMETHODIMP GetBindInfo(DWORD* flags, BINDINFO* info) override;
    STDMETHODIMP OnDataAvailable(DWORD flags, DWORD size, FORMATETC* format, STGMEDIUM* medium) override;
    STDMETHODIMP OnObjectAvailable(REFIID iid, IUnknown* object) override;

    // IHttpNegotiate: adds no headers, keeps the response status.
    STDMETHODIMP BeginningTransaction(LPCWSTR url, LPCWSTR headers, DWORD reserved, LPWSTR* additionalHeaders) override;
    STDMETHODIMP OnResponse(DWORD responseCode, LPCWSTR responseHeaders, LPCWSTR requestHeaders,
                            LPWSTR* additionalHeaders) override;

    // 0 until an HTTP response arrived.
    DWORD GetHttpStatus() const { return m_httpStatus; }
    // Whether the server's answer (when there was one) was not an error.
    bool IsHttpSuccess() const { return m_httpStatus == 0 || (m_httpStatus >= 200 && m_httpStatus < 300); }
    // Whether the server redirected to an address that is not allowed.
    bool WasRedirectRefused() const { return m_redirectRefused; }

private:
    const std::atomic<bool>& m_cancel;
    HWND m_progressWindow;
    const std::atomic<bool>* m_abandoned;
    DWORD m_httpStatus = 0;
    bool m_redirectRefused = false;
};
