// Where the running program lies.

#include "foundation/UtilitiesCommon.h"

#include <shlwapi.h>

namespace KV {

namespace {

// The executable's path into buffer; false when the platform cannot tell.
bool QueryModulePath(wchar_t (&buffer)[MAX_PATH])
{
    buffer[0] = L'\0';
    return GetModuleFileNameW(nullptr, buffer, MAX_PATH) != 0;
}

} // namespace

const std::wstring& GetProgramPath()
{
    static std::wstring cache;
    if (cache.empty()) {
        wchar_t buffer[MAX_PATH];
        if (QueryModulePath(buffer))
            cache = buffer;
    }
    return cache;
}

const std::wstring& GetProgramFolder()
{
    static std::wstring cache;
    if (cache.empty()) {
        wchar_t buffer[MAX_PATH];
        if (QueryModulePath(buffer)) {
            PathRemoveFileSpecW(buffer);
            cache = buffer;
        }
    }
    return cache;
}

} // namespace KV
