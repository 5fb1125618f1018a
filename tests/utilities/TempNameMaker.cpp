// Asks for temporary names from another process: waits for the named event,
// then takes <count> names (prefix "kvu", number 0, extension "tmp") and
// writes them, one a line, into <output> in UTF-16.
//   temp_name_maker <count> <output> <event name>

#include "foundation/Utilities.h"

#include <windows.h>

#include <cwchar>
#include <string>

int wmain(int argc, wchar_t** argv)
{
    if (argc != 4)
        return 2;
    const int count = std::wcstol(argv[1], nullptr, 10);
    HANDLE start = ::OpenEventW(SYNCHRONIZE, FALSE, argv[3]);
    if (!start || ::WaitForSingleObject(start, 60000) != WAIT_OBJECT_0)
        return 3;
    ::CloseHandle(start);
    std::wstring names;
    for (int i = 0; i < count; ++i)
        names += KV::MakeTempFileName(L"kvu", 0, L"tmp") + L"\n";
    HANDLE file = ::CreateFileW(argv[2], GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return 4;
    DWORD written = 0;
    const BOOL ok = ::WriteFile(file, names.data(), static_cast<DWORD>(names.size() * sizeof(wchar_t)), &written,
                                nullptr);
    ::CloseHandle(file);
    return ok ? 0 : 5;
}
