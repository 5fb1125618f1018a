#include "tests/support/TempFolder.h"

#include <windows.h>

#include <algorithm>
#include <cwchar>

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
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(path);
            } else {
                SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileW(path.c_str());
            }
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
    RemoveDirectoryW(folder.c_str());
}

TempFolder::TempFolder()
{
    wchar_t base[MAX_PATH] = L"";
    GetTempPathW(MAX_PATH, base);
    static unsigned counter = 0;
    for (;;) {
        wchar_t name[64];
        swprintf(name, 64, L"bvtest-%lu-%u", GetCurrentProcessId(), ++counter);
        std::wstring path = std::wstring(base) + name;
        if (CreateDirectoryW(path.c_str(), nullptr)) {
            m_path = path;
            return;
        }
        if (GetLastError() != ERROR_ALREADY_EXISTS)
            return;
    }
}

TempFolder::~TempFolder()
{
    if (!m_path.empty())
        RemoveTree(m_path);
}

bool TempFolder::Write(const std::wstring& name, const std::string& bytes) const
{
    for (size_t slash = name.find_first_of(L"\\/"); slash != std::wstring::npos;
         slash = name.find_first_of(L"\\/", slash + 1))
        CreateDirectoryW(File(name.substr(0, slash)).c_str(), nullptr);
    return WriteWholeFile(File(name), bytes);
}

std::vector<std::wstring> TempRecordsFolder::Files() const
{
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found{};
    const HANDLE search = FindFirstFileW((m_path + L"*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            names.push_back(found.cFileName);
    } while (FindNextFileW(search, &found));
    FindClose(search);
    std::sort(names.begin(), names.end());
    return names;
}

bool TempRecordsFolder::Write(const std::wstring& name, size_t bytes) const
{
    return WriteWholeFile(File(name), std::string(bytes, 'x'));
}

std::string ReadWholeFile(const std::wstring& path)
{
    std::string bytes;
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return bytes;
    char chunk[4096];
    DWORD read = 0;
    while (ReadFile(file, chunk, sizeof(chunk), &read, nullptr) && read != 0)
        bytes.append(chunk, read);
    CloseHandle(file);
    return bytes;
}

bool WriteWholeFile(const std::wstring& path, const std::string& bytes)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    const bool ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr)
                    && written == bytes.size();
    CloseHandle(file);
    return ok;
}

bool FileExists(const std::wstring& path)
{
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}
