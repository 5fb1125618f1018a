#include "framework/Url.h"

#include <cwchar>

namespace {

std::wstring Component(const wchar_t* start, DWORD length)
{
    return start != nullptr ? std::wstring(start, length) : std::wstring();
}

}  // namespace

bool CUrl::CrackUrl(const wchar_t* url)
{
    *this = CUrl();
    if (url == nullptr || *url == L'\0')
        return false;

    // Non-zero lengths without buffers: the parser points into the text.
    URL_COMPONENTSW parts{};
    parts.dwStructSize = sizeof(parts);
    parts.dwSchemeLength = 1;
    parts.dwHostNameLength = 1;
    parts.dwUserNameLength = 1;
    parts.dwPasswordLength = 1;
    parts.dwUrlPathLength = 1;
    parts.dwExtraInfoLength = 1;
    if (!::InternetCrackUrlW(url, static_cast<DWORD>(std::wcslen(url)), 0, &parts))
        return false;

    m_scheme = parts.nScheme;
    m_schemeName = Component(parts.lpszScheme, parts.dwSchemeLength);
    m_host = Component(parts.lpszHostName, parts.dwHostNameLength);
    m_user = Component(parts.lpszUserName, parts.dwUserNameLength);
    m_password = Component(parts.lpszPassword, parts.dwPasswordLength);
    m_path = Component(parts.lpszUrlPath, parts.dwUrlPathLength);
    m_extra = Component(parts.lpszExtraInfo, parts.dwExtraInfoLength);
    m_port = parts.nPort != 0 ? parts.nPort : INTERNET_DEFAULT_HTTP_PORT;
    // A request line needs a path: the server's root when none is given.
    if (m_path.empty())
        m_path = L"/";
    if (m_host.empty()) {
        *this = CUrl();
        return false;
    }
    return true;
}
