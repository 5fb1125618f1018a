#include "tools/kvdt/PlatformPath.h"

#include "tools/kvdt/Utf.h"

#include <windows.h>

#include <memory>

namespace Kvdt {

namespace {

// Wine's own exports for path mapping; absent on Windows. Both return a
// string from the process heap.
using DosFromUnixFunction = WCHAR*(__cdecl*)(const char* unixPath);
using UnixFromDosFunction = char*(__cdecl*)(const WCHAR* dosPath);

struct HeapBlockFree {
    void operator()(void* block) const { HeapFree(GetProcessHeap(), 0, block); }
};

template <typename Function>
Function WineExport(const char* name)
{
    HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
    FARPROC address = kernel ? GetProcAddress(kernel, name) : nullptr;
    // Through the generic function type, which any function pointer may be
    // cast to and from without a warning.
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(address));
}

bool IsUnixAbsolute(const std::wstring& path)
{
    return path.size() > 1 ? path[0] == L'/' && path[1] != L'/' : path == L"/";
}

bool IsAbsolute(const std::wstring& path)
{
    if (!path.empty() && (path[0] == L'/' || path[0] == L'\\'))
        return true;
    return path.size() >= 2 && path[1] == L':';
}

std::wstring FullPath(const std::wstring& path)
{
    const DWORD needed = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    if (needed == 0)
        return path;
    std::wstring full(needed, L'\0');
    const DWORD written = GetFullPathNameW(path.c_str(), needed, &full[0], nullptr);
    if (written == 0 || written >= needed)
        return path;
    full.resize(written);
    return full;
}

} // namespace

std::wstring FullPlatformPath(const std::wstring& path)
{
    if (IsUnixAbsolute(path)) {
        auto dosFromUnix = WineExport<DosFromUnixFunction>("wine_get_dos_file_name");
        if (dosFromUnix) {
            std::unique_ptr<WCHAR, HeapBlockFree> dos(dosFromUnix(Utf16ToUtf8(path).c_str()));
            if (dos)
                return FullPath(dos.get());
        }
    }
    return FullPath(path);
}

std::wstring ResolvePath(const std::wstring& folder, const std::wstring& path)
{
    if (IsAbsolute(path) || folder.empty())
        return FullPlatformPath(path);
    std::wstring joined = folder;
    if (joined.back() != L'\\' && joined.back() != L'/')
        joined += L'\\';
    for (wchar_t c : path)
        joined += c == L'/' ? L'\\' : c;
    return FullPlatformPath(joined);
}

std::wstring FolderOf(const std::wstring& fullPath)
{
    const size_t separator = fullPath.find_last_of(L"\\/");
    if (separator == std::wstring::npos)
        return std::wstring();
    // Keep the root's separator ("C:\").
    if (separator == 2 && fullPath[1] == L':')
        return fullPath.substr(0, 3);
    return fullPath.substr(0, separator);
}

std::string UnixPath(const std::wstring& fullPath)
{
    auto unixFromDos = WineExport<UnixFromDosFunction>("wine_get_unix_file_name");
    if (unixFromDos) {
        std::unique_ptr<char, HeapBlockFree> unixPath(unixFromDos(fullPath.c_str()));
        if (unixPath)
            return unixPath.get();
    }
    std::string out = Utf16ToUtf8(fullPath);
    for (char& c : out) {
        if (c == '\\')
            c = '/';
    }
    return out;
}

} // namespace Kvdt
