// Stands in for a downloaded setup (or an updater) that the player starts:
// it writes its command line and its current folder into
// <its own path>.log and ends.
#include <windows.h>

#include <cstdio>
#include <string>

int wmain(int argc, wchar_t** argv)
{
    (void)argc;
    (void)argv;
    wchar_t path[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    const std::wstring log = std::wstring(path) + L".log";
    wchar_t folder[MAX_PATH] = {};
    ::GetCurrentDirectoryW(MAX_PATH, folder);
    const std::wstring text = std::wstring(::GetCommandLineW()) + L"\n" + folder + L"\n";
    // Written under a temporary name first, so that a reader never sees half.
    const std::wstring partial = log + L".part";
    HANDLE file = ::CreateFileW(partial.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return 1;
    DWORD written = 0;
    ::WriteFile(file, text.data(), static_cast<DWORD>(text.size() * sizeof(wchar_t)), &written, nullptr);
    ::CloseHandle(file);
    ::MoveFileExW(partial.c_str(), log.c_str(), MOVEFILE_REPLACE_EXISTING);
    return 0;
}
