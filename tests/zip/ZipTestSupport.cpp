#include "ZipTestSupport.h"

#include "foundation/ZipFileHandle.h"

#include <algorithm>

namespace {

std::wstring CurrentFolder()
{
    wchar_t folder[MAX_PATH];
    const DWORD length = GetCurrentDirectoryW(MAX_PATH, folder);
    std::wstring path(folder, length);
    if (!path.empty() && path.back() != L'\\')
        path += L'\\';
    return path;
}

// Fixtures are found from where the tests started, whatever a test does to
// the current directory later.
const std::wstring& StartFolder()
{
    static const std::wstring folder = CurrentFolder();
    return folder;
}

void ListInto(const std::wstring& root, const std::wstring& relative, std::vector<std::wstring>& out)
{
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((root + relative + L"*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return;
    do {
        const std::wstring name = found.cFileName;
        if (name == L"." || name == L"..")
            continue;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            out.push_back(relative + name + L"\\");
            ListInto(root, relative + name + L"\\", out);
        } else {
            out.push_back(relative + name);
        }
    } while (FindNextFileW(search, &found));
    FindClose(search);
}

} // namespace

std::wstring FixturePath(const std::wstring& name)
{
    return StartFolder() + L"zip_fixtures\\" + name;
}

std::wstring FixtureSourcePath(const std::wstring& name)
{
    return StartFolder() + L"zip_fixtures\\src\\" + name;
}

std::vector<uint8_t> ReadFileBytes(const std::wstring& path)
{
    ZipFileHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    std::vector<uint8_t> bytes;
    if (!file.IsValid())
        return bytes;
    uint8_t buffer[65536];
    DWORD got = 0;
    while (ReadFile(file.Get(), buffer, sizeof(buffer), &got, nullptr) && got > 0)
        bytes.insert(bytes.end(), buffer, buffer + got);
    return bytes;
}

bool WriteFileBytes(const std::wstring& path, const std::vector<uint8_t>& bytes)
{
    ZipFileHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    if (!file.IsValid())
        return false;
    DWORD written = 0;
    return bytes.empty() ||
           (WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
            written == bytes.size());
}

bool FileExists(const std::wstring& path)
{
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool FolderExists(const std::wstring& path)
{
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

uint64_t Ticks(const FILETIME& time)
{
    return (static_cast<uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

uint64_t UnixTicks(int64_t seconds)
{
    return static_cast<uint64_t>(seconds * 10000000 + 116444736000000000LL);
}

uint64_t DosTicks(int year, int month, int day, int hour, int minute, int second)
{
    SYSTEMTIME system{};
    system.wYear = static_cast<WORD>(year);
    system.wMonth = static_cast<WORD>(month);
    system.wDay = static_cast<WORD>(day);
    system.wHour = static_cast<WORD>(hour);
    system.wMinute = static_cast<WORD>(minute);
    system.wSecond = static_cast<WORD>(second);
    FILETIME local{};
    FILETIME utc{};
    SystemTimeToFileTime(&system, &local);
    LocalFileTimeToFileTime(&local, &utc);
    return Ticks(utc);
}

void DeleteTree(const std::wstring& path)
{
    std::vector<std::wstring> entries;
    std::wstring root = path;
    if (!root.empty() && root.back() != L'\\')
        root += L'\\';
    ListInto(root, L"", entries);
    // Deepest first, so folders are empty when their turn comes.
    std::sort(entries.begin(), entries.end(),
              [](const std::wstring& a, const std::wstring& b) { return a.size() > b.size(); });
    for (const std::wstring& entry : entries) {
        const std::wstring full = root + entry;
        SetFileAttributesW(full.c_str(), FILE_ATTRIBUTE_NORMAL);
        if (entry.back() == L'\\')
            RemoveDirectoryW(full.c_str());
        else
            DeleteFileW(full.c_str());
    }
    RemoveDirectoryW(root.c_str());
}

std::vector<std::wstring> ListTree(const std::wstring& root)
{
    std::vector<std::wstring> entries;
    ListInto(root, L"", entries);
    std::sort(entries.begin(), entries.end());
    return entries;
}

ScratchFolder::ScratchFolder()
{
    static unsigned counter = 0;
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    m_path = std::wstring(temp) + L"ziptest-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
             std::to_wstring(++counter) + L"\\";
    DeleteTree(m_path);
    CreateDirectoryW(m_path.c_str(), nullptr);
}

ScratchFolder::~ScratchFolder()
{
    DeleteTree(m_path);
}

CurrentDirectory::CurrentDirectory(const std::wstring& folder)
{
    StartFolder();
    m_previous = CurrentFolder();
    SetCurrentDirectoryW(folder.c_str());
}

CurrentDirectory::~CurrentDirectory()
{
    SetCurrentDirectoryW(m_previous.c_str());
}
