#pragma once
// CInternetHandle: owner of one WinINet handle (session, connection, request
// or URL), closed when it goes; LimitInternetWaits bounds a fetch's waits.

#include <windows.h>
#include <wininet.h>

#include <initializer_list>

class CInternetHandle {
public:
    CInternetHandle() = default;
    explicit CInternetHandle(HINTERNET handle) : m_handle(handle) {}
    ~CInternetHandle() { Reset(); }

    CInternetHandle(const CInternetHandle&) = delete;
    CInternetHandle& operator=(const CInternetHandle&) = delete;

    HINTERNET Get() const { return m_handle; }
    explicit operator bool() const { return m_handle != nullptr; }

    void Reset(HINTERNET handle = nullptr)
    {
        if (m_handle)
            InternetCloseHandle(m_handle);
        m_handle = handle;
    }

private:
    HINTERNET m_handle = nullptr;
};

// Bounds the waits of everything done through handle (a session, or a
// connection or request made from one): connecting, sending and receiving
// each give up after timeoutMs, so that a site that accepts and never
// answers cannot hold the caller for ever.
inline void LimitInternetWaits(HINTERNET handle, DWORD timeoutMs)
{
    for (DWORD option : {INTERNET_OPTION_CONNECT_TIMEOUT, INTERNET_OPTION_SEND_TIMEOUT,
                         INTERNET_OPTION_RECEIVE_TIMEOUT, INTERNET_OPTION_DATA_SEND_TIMEOUT,
                         INTERNET_OPTION_DATA_RECEIVE_TIMEOUT})
        InternetSetOptionW(handle, option, &timeoutMs, sizeof(timeoutMs));
}
