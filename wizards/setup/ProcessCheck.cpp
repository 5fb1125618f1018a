// Finding running copies of a program.

#include "wizards/setup/ProcessCheck.h"

#include "foundation/DataKey.h"
#include "wizards/common/ProductSettings.h"
#include "wizards/setup/SetupContext.h"

#include <windows.h>

#include <psapi.h>
#include <shlwapi.h>

namespace {

constexpr DWORD MaxProcessIds = 1024;

class CProcessHandle {
public:
    explicit CProcessHandle(HANDLE handle) : m_handle(handle) {}
    CProcessHandle(const CProcessHandle&) = delete;
    CProcessHandle& operator=(const CProcessHandle&) = delete;
    ~CProcessHandle()
    {
        if (m_handle)
            ::CloseHandle(m_handle);
    }
    HANDLE Get() const { return m_handle; }

private:
    HANDLE m_handle;
};

} // namespace

int CountProcesses(const std::wstring& path)
{
    if (path.empty())
        return 0;
    DWORD ids[MaxProcessIds] = {};
    DWORD bytes = 0;
    if (!::EnumProcesses(ids, sizeof ids, &bytes))
        return 0;
    int count = 0;
    for (DWORD i = 0; i < bytes / sizeof(DWORD); ++i) {
        CProcessHandle process(::OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, ids[i]));
        if (!process.Get())
            continue;
        HMODULE module = nullptr;
        DWORD needed = 0;
        if (!::EnumProcessModules(process.Get(), &module, sizeof module, &needed))
            continue;
        wchar_t name[MAX_PATH] = L"";
        if (::GetModuleFileNameExW(process.Get(), module, name, MAX_PATH) == 0)
            continue;
        if (::lstrcmpiW(name, path.c_str()) == 0)
            ++count;
    }
    return count;
}

bool IsMainExeRunning()
{
    const std::wstring exe = GetProductSettings().GetStringW("exe", std::wstring());
    wchar_t path[MAX_PATH] = L"";
    if (!::PathCombineW(path, GetInstallFolder().c_str(), exe.c_str()))
        return false;
    return CountProcesses(path) > 0;
}
