// Shell folders and temporary file names.

#include "foundation/UtilitiesCommon.h"

#include <shlobj.h>

#include <cstdlib>

namespace KV {

std::wstring GetShellFolder(int csidl, const wchar_t* subFolder)
{
    wchar_t buffer[MAX_PATH] = L"";
    const wchar_t* sub = (subFolder && *subFolder) ? subFolder : nullptr;
    HRESULT result = SHGetFolderPathAndSubDirW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, sub, buffer);
    if (result != S_OK || buffer[0] == L'\0')
        return std::wstring();
    return buffer;
}

const wchar_t* MakeTempFileName(const wchar_t* prefix, unsigned number, const wchar_t* extension)
{
    static std::wstring name;
    // Seeded once: reseeding with the tick count on every call would hand out
    // the same name twice within one timer tick.
    static bool seeded = false;

    wchar_t folder[MAX_PATH] = L"";
    GetTempPathW(MAX_PATH, folder);
    if (number == 0) {
        if (!seeded) {
            srand(GetTickCount());
            seeded = true;
        }
        number = static_cast<unsigned>(rand());
    }
    wchar_t result[MAX_PATH] = L"";
    if (GetTempFileNameW(folder, prefix ? prefix : L"", number, result) == 0)
        result[0] = L'\0';
    name = result;
    if (extension && name.size() >= 3) {
        name.erase(name.size() - 3);
        name += extension;
    }
    return name.c_str();
}

} // namespace KV
