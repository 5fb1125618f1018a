#include "tests/support/UncFolder.h"

#include "tests/support/HostPath.h"

#include <windows.h>

#include <cwchar>
#include <vector>

namespace {

std::wstring Environment(const wchar_t* name)
{
    std::vector<wchar_t> value(32768, L'\0');
    const DWORD length = GetEnvironmentVariableW(name, value.data(), static_cast<DWORD>(value.size()));
    return length > 0 && length < value.size() ? std::wstring(value.data(), length) : std::wstring();
}

// Whether a file written through the UNC path lands in the local folder.
bool Reaches(const std::wstring& unc, const std::wstring& local)
{
    const std::wstring probe = L"\\unc-probe.txt";
    if (!WriteWholeFile(unc + probe, "probe"))
        return false;
    const bool reached = ReadWholeFile(local + probe) == "probe";
    DeleteFileW((local + probe).c_str());
    return reached;
}

} // namespace

UncFolder::UncFolder()
{
    const std::wstring prefix = Environment(L"WINEPREFIX");
    if (!prefix.empty() && prefix[0] == L'/') {
        wchar_t name[64];
        static unsigned counter = 0;
        swprintf(name, 64, L"bvshare-%lu-%u", GetCurrentProcessId(), ++counter);
        const std::wstring unc = WindowsPathOfHostPath(prefix + L"/dosdevices/unc");
        CreateDirectoryW(unc.c_str(), nullptr);
        CreateDirectoryW((unc + L"\\localhost").c_str(), nullptr);
        const std::wstring share = unc + L"\\localhost\\" + name;
        if (CreateDirectoryW(share.c_str(), nullptr)) {
            m_share = share;
            m_path = std::wstring(L"\\\\localhost\\") + name;
            if (!Reaches(m_path, m_share))
                m_path.clear();
            return;
        }
    }
    const std::wstring& local = m_local.Path();
    if (local.size() > 3 && local[1] == L':') {
        const std::wstring unc = std::wstring(L"\\\\localhost\\") + local[0] + L"$" + local.substr(2);
        if (Reaches(unc, local))
            m_path = unc;
    }
}

UncFolder::~UncFolder()
{
    if (!m_share.empty())
        RemoveTree(m_share);
}
