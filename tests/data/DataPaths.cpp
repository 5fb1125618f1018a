#include "tests/data/DataPaths.h"

#include "foundation/Utilities.h"
#include "tests/support/HostPath.h"

#include <windows.h>

#include <algorithm>
#include <memory>

namespace DataPaths {

namespace {

std::wstring Widen(const std::string& text)
{
    const int length = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(length > 0 ? length : 0), L'\0');
    if (length > 0)
        MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &wide[0], length);
    return wide;
}

} // namespace

namespace {

bool EndsWith(const std::wstring& name, const std::wstring& end)
{
    return name.size() >= end.size() && _wcsicmp(name.c_str() + name.size() - end.size(), end.c_str()) == 0;
}

void Collect(const std::wstring& folder, const std::vector<std::wstring>& extensions, std::vector<std::wstring>& files)
{
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE)
        return;
    do {
        const std::wstring name = data.cFileName;
        if (name == L"." || name == L"..")
            continue;
        const std::wstring path = folder + L"\\" + name;
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            Collect(path, extensions, files);
            continue;
        }
        for (const auto& extension : extensions) {
            if (EndsWith(name, extension)) {
                files.push_back(path);
                break;
            }
        }
    } while (FindNextFileW(find, &data));
    FindClose(find);
}

} // namespace

std::wstring Shipped(const wchar_t* fileName)
{
    return std::wstring(L"..\\bin\\") + fileName;
}

std::wstring ShippedPath(const wchar_t* fileName)
{
    return KV::GetProgramFile(Shipped(fileName));
}

std::wstring Source(const std::string& relative)
{
    std::wstring path = WindowsPathOfHostPath(Widen(BRISVANE_SOURCE_DIR)) + L"\\" + Widen(relative);
    std::replace(path.begin(), path.end(), L'/', L'\\');
    return path;
}

bool ReadFile(const std::wstring& path, std::string& bytes)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    std::unique_ptr<void, decltype(&CloseHandle)> closer(file, &CloseHandle);
    LARGE_INTEGER size;
    if (!GetFileSizeEx(file, &size) || size.QuadPart > 64 * 1024 * 1024)
        return false;
    bytes.assign(static_cast<size_t>(size.QuadPart), '\0');
    DWORD read = 0;
    return bytes.empty() ||
           (::ReadFile(file, &bytes[0], static_cast<DWORD>(bytes.size()), &read, nullptr) && read == bytes.size());
}

std::vector<std::wstring> ListFiles(const std::wstring& folder, const std::vector<std::wstring>& extensions)
{
    std::vector<std::wstring> files;
    Collect(folder, extensions, files);
    std::sort(files.begin(), files.end());
    return files;
}

} // namespace DataPaths
