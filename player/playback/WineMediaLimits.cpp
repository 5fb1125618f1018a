#include "player/playback/WineMediaLimits.h"

#include <windows.h>
#include <shlwapi.h>

namespace {

bool RunningUnderWine()
{
    HMODULE ntdll = ::GetModuleHandleW(L"ntdll.dll");
    return ntdll != nullptr && ::GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

} // namespace

bool IsWineMediaPlayer(IUnknown* control)
{
    if (control == nullptr || !RunningUnderWine())
        return false;
    // The module that holds the object's first method is the one that
    // implements it.
    void* firstMethod = (*reinterpret_cast<void***>(control))[0];
    HMODULE module = nullptr;
    if (!::GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                              static_cast<LPCWSTR>(firstMethod), &module))
        return false;
    wchar_t path[MAX_PATH] = {};
    if (::GetModuleFileNameW(module, path, MAX_PATH) == 0)
        return false;
    return ::lstrcmpiW(::PathFindFileNameW(path), L"wmp.dll") == 0;
}

bool WineMediaPlayerCanOpen(const std::wstring& url)
{
    const DWORD attributes = ::GetFileAttributesW(url.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}
