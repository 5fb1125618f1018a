// CUrl: an address split into its parts by the platform's URL parser
// (InternetCrackUrlW).
//
//   CUrl url;
//   if (url.CrackUrl(L"http://radio.example:8000/live?id=3"))
//       url.GetHostName();   // "radio.example"
//       url.GetPortNumber(); // 8000 (the scheme's default when none is given)
//       url.GetUrlPath();    // "/live" (the query is in GetExtraInfo)
#pragma once

#include <windows.h>

#include <wininet.h>

#include <string>

class CUrl {
public:
    // False when the text is no absolute address; the parts are then empty.
    bool CrackUrl(const wchar_t* url);

    INTERNET_SCHEME GetScheme() const { return m_scheme; }
    const std::wstring& GetSchemeName() const { return m_schemeName; }
    const std::wstring& GetHostName() const { return m_host; }
    // The given port; else the scheme's default; 80 for schemes without one.
    INTERNET_PORT GetPortNumber() const { return m_port; }
    // The path without query and fragment; "/" when the address has none.
    const std::wstring& GetUrlPath() const { return m_path; }
    // The query and fragment, with their "?" or "#".
    const std::wstring& GetExtraInfo() const { return m_extra; }
    const std::wstring& GetUserName() const { return m_user; }
    const std::wstring& GetPassword() const { return m_password; }

private:
    INTERNET_SCHEME m_scheme = INTERNET_SCHEME_UNKNOWN;
    std::wstring m_schemeName;
    std::wstring m_host;
    INTERNET_PORT m_port = 0;
    std::wstring m_path;
    std::wstring m_extra;
    std::wstring m_user;
    std::wstring m_password;
};
