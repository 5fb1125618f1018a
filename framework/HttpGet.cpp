#include "framework/HttpGet.h"

#include "framework/Url.h"

bool CHttpGet::Open(HINTERNET session, const std::wstring& url, DWORD flags, DWORD timeoutMs)
{
    CUrl parts;
    if (!parts.CrackUrl(url.c_str()) ||
        (parts.GetScheme() != INTERNET_SCHEME_HTTP && parts.GetScheme() != INTERNET_SCHEME_HTTPS))
        return false;
    m_connection.Reset(::InternetConnectW(session, parts.GetHostName().c_str(), parts.GetPortNumber(), nullptr,
                                          nullptr, INTERNET_SERVICE_HTTP, 0, 0));
    if (!m_connection)
        return false;
    LimitInternetWaits(m_connection.Get(), timeoutMs);
    if (parts.GetScheme() == INTERNET_SCHEME_HTTPS)
        flags |= INTERNET_FLAG_SECURE;
    const std::wstring object = parts.GetUrlPath() + parts.GetExtraInfo();
    m_request.Reset(
        ::HttpOpenRequestW(m_connection.Get(), L"GET", object.c_str(), nullptr, nullptr, nullptr, flags, 0));
    if (!m_request)
        return false;
    LimitInternetWaits(m_request.Get(), timeoutMs);
    return true;
}

bool ReadArrivedBody(HINTERNET request, void* buffer, DWORD capacity, DWORD& read)
{
    read = 0;
    DWORD available = 0;
    if (!::InternetQueryDataAvailable(request, &available, 0, 0))
        return false;
    // None told: the read itself waits for the next bytes or the end.
    const DWORD wanted = available == 0 || available > capacity ? capacity : available;
    return wanted == 0 || ::InternetReadFile(request, buffer, wanted, &read) != FALSE;
}
