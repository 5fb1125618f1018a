// The updaters' transfer policy.

#include "wizards/updater/TransferPolicy.h"

#include "framework/Url.h"

namespace {

bool IsLoopbackHost(const std::wstring& host)
{
    if (::lstrcmpiW(host.c_str(), L"localhost") == 0 || host == L"::1" || host == L"[::1]")
        return true;
    // 127.x.y.z written as four decimal numbers.
    unsigned parts[4] = {};
    wchar_t rest = 0;
    if (::swscanf(host.c_str(), L"%u.%u.%u.%u%lc", &parts[0], &parts[1], &parts[2], &parts[3], &rest) != 4)
        return false;
    for (unsigned part : parts) {
        if (part > 255)
            return false;
    }
    return parts[0] == 127;
}

} // namespace

bool IsAllowedTransferUrl(const std::wstring& url)
{
    CUrl cracked;
    if (!cracked.CrackUrl(url.c_str()) || cracked.GetHostName().empty())
        return false;
    if (cracked.GetScheme() == INTERNET_SCHEME_HTTPS)
        return true;
    return cracked.GetScheme() == INTERNET_SCHEME_HTTP && IsLoopbackHost(cracked.GetHostName());
}
