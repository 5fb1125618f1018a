#include "tests/support/HostPath.h"

#include <windows.h>

#include <algorithm>
#include <memory>

namespace {

// Wine's own export; absent on Windows. It returns a string from the
// process heap.
using DosFromUnixFunction = WCHAR*(__cdecl*)(const char* unixPath);
using UnixFromDosFunction = char*(__cdecl*)(const WCHAR* dosPath);

struct HeapBlockFree {
    void operator()(void* block) const { HeapFree(GetProcessHeap(), 0, block); }
};

std::string Utf8(const std::wstring& text)
{
    const int length = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string narrow(static_cast<size_t>(length > 0 ? length - 1 : 0), '\0');
    if (length > 1)
        WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, &narrow[0], length, nullptr, nullptr);
    return narrow;
}

std::wstring Wide(const char* utf8)
{
    const int length = MultiByteToWideChar(CP_UTF8, 0, utf8, -1, nullptr, 0);
    std::wstring wide(static_cast<size_t>(length > 0 ? length - 1 : 0), L'\0');
    if (length > 1)
        MultiByteToWideChar(CP_UTF8, 0, utf8, -1, &wide[0], length);
    return wide;
}

// One of Wine's exports, or null.
FARPROC WineExport(const char* name)
{
    HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
    return kernel ? GetProcAddress(kernel, name) : nullptr;
}

} // namespace

std::wstring WindowsPathOfHostPath(const std::wstring& path)
{
    FARPROC address = WineExport("wine_get_dos_file_name");
    if (address != nullptr && !path.empty() && path[0] == L'/') {
        // Through the generic function type, which any function pointer may
        // be cast to and from without a warning.
        auto dosFromUnix = reinterpret_cast<DosFromUnixFunction>(reinterpret_cast<void (*)()>(address));
        std::unique_ptr<WCHAR, HeapBlockFree> dos(dosFromUnix(Utf8(path).c_str()));
        if (dos)
            return dos.get();
    }
    std::wstring windows = path;
    std::replace(windows.begin(), windows.end(), L'/', L'\\');
    return windows;
}

std::wstring HostPathOfWindowsPath(const std::wstring& path)
{
    FARPROC address = WineExport("wine_get_unix_file_name");
    if (address == nullptr || path.empty())
        return std::wstring();
    auto unixFromDos = reinterpret_cast<UnixFromDosFunction>(reinterpret_cast<void (*)()>(address));
    std::unique_ptr<char, HeapBlockFree> unixPath(unixFromDos(path.c_str()));
    return unixPath ? Wide(unixPath.get()) : std::wstring();
}
