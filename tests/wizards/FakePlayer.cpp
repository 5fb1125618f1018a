// Stands in for the player in the setup tests: started by the setup when it
// finishes, it leaves launched.txt (holding its command line) beside itself
// and ends.

#include <windows.h>

#include <string>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR commandLine, int)
{
    wchar_t path[MAX_PATH] = L"";
    const DWORD length = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return 1;
    std::wstring marker(path);
    marker = marker.substr(0, marker.find_last_of(L'\\') + 1) + L"launched.txt";
    const std::wstring arguments = commandLine ? commandLine : L"";
    const std::string bytes(arguments.begin(), arguments.end());
    HANDLE file = ::CreateFileW(marker.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return 1;
    DWORD written = 0;
    ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    ::CloseHandle(file);
    return 0;
}
