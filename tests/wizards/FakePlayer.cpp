// Stands in for the player in the setup tests: started by the setup when it
// finishes, it leaves launched.txt (holding its command line) and
// started-in.txt (its current folder, UTF-8) beside itself and ends.

#include <windows.h>

#include <string>

namespace {

bool WriteMarker(const std::wstring& path, const std::string& bytes)
{
    HANDLE file = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    const bool done = ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                      written == bytes.size();
    ::CloseHandle(file);
    return done;
}

std::string Utf8(const std::wstring& text)
{
    const int count =
        ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    if (count <= 0)
        return std::string();
    std::string bytes(static_cast<size_t>(count), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), &bytes[0], count, nullptr, nullptr);
    return bytes;
}

} // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR commandLine, int)
{
    wchar_t path[MAX_PATH] = L"";
    const DWORD length = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return 1;
    const std::wstring own(path);
    const std::wstring folder = own.substr(0, own.find_last_of(L'\\') + 1);
    wchar_t current[MAX_PATH] = L"";
    const DWORD currentLength = ::GetCurrentDirectoryW(MAX_PATH, current);
    if (currentLength == 0 || currentLength >= MAX_PATH || !WriteMarker(folder + L"started-in.txt", Utf8(current)))
        return 1;
    const std::wstring arguments = commandLine ? commandLine : L"";
    return WriteMarker(folder + L"launched.txt", std::string(arguments.begin(), arguments.end())) ? 0 : 1;
}
