#include "tests/kvdt/TempFolder.h"

#include "tools/kvdt/TreeFiles.h"

#include <windows.h>

namespace KvdtTest {

namespace {

void RemoveTree(const std::wstring& folder)
{
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = found.cFileName;
            if (name == L"." || name == L"..")
                continue;
            const std::wstring path = folder + L"\\" + name;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(path);
            else
                DeleteFileW(path.c_str());
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
    RemoveDirectoryW(folder.c_str());
}

} // namespace

TempFolder::TempFolder()
{
    wchar_t base[MAX_PATH + 1] = {};
    GetTempPathW(MAX_PATH, base);
    static unsigned counter = 0;
    for (;;) {
        m_path = std::wstring(base) + L"kvdt-test-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                 std::to_wstring(++counter);
        if (CreateDirectoryW(m_path.c_str(), nullptr))
            break;
    }
}

TempFolder::~TempFolder()
{
    RemoveTree(m_path);
}

bool TempFolder::Write(const std::wstring& name, const std::string& bytes) const
{
    for (size_t slash = name.find_first_of(L"\\/"); slash != std::wstring::npos;
         slash = name.find_first_of(L"\\/", slash + 1))
        CreateDirectoryW(File(name.substr(0, slash)).c_str(), nullptr);
    return Kvdt::WriteWholeFile(File(name), bytes);
}

} // namespace KvdtTest
