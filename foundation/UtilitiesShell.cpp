// Shell folders and temporary file names.

#include "foundation/UtilitiesCommon.h"

#include <shlobj.h>

#include <atomic>

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

namespace {

// GetTempFileNameW uses the low 16 bits of the number, and 0 means "let the
// system choose".
constexpr unsigned TempNumberRange = 0xFFFF;

std::wstring FormTempFileName(const wchar_t* folder, const wchar_t* prefix, unsigned number,
                              const wchar_t* extension)
{
    wchar_t result[MAX_PATH] = L"";
    if (GetTempFileNameW(folder, prefix ? prefix : L"", number, result) == 0)
        return std::wstring();
    std::wstring name = result;
    if (extension && name.size() >= 3) {
        name.erase(name.size() - 3);
        name += extension;
    }
    return name;
}

// The first number this process tries: threads share one counter after it,
// and other processes start elsewhere.
unsigned NextCandidate()
{
    static std::atomic<unsigned> counter{(GetCurrentProcessId() * 2654435761u) ^ GetTickCount()};
    return counter.fetch_add(1);
}

} // namespace

std::wstring MakeTempFileName(const wchar_t* prefix, unsigned number, const wchar_t* extension)
{
    wchar_t folder[MAX_PATH] = L"";
    if (GetTempPathW(MAX_PATH, folder) == 0)
        return std::wstring();
    if (number != 0)
        return FormTempFileName(folder, prefix, number, extension);

    // A chosen name is claimed by creating the file exclusively: whoever
    // creates it first owns it, whichever thread or process the other asker
    // is. An existing file only moves on to the next number.
    for (unsigned attempt = 0; attempt < TempNumberRange; ++attempt) {
        const unsigned candidate = NextCandidate() % TempNumberRange + 1;
        const std::wstring name = FormTempFileName(folder, prefix, candidate, extension);
        if (name.empty())
            return std::wstring();
        HANDLE file = CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE) {
            CloseHandle(file);
            return name;
        }
        const DWORD error = GetLastError();
        if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS)
            return std::wstring();
    }
    return std::wstring();
}

} // namespace KV
