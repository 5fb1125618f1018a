// Starting a program without the shell.

#include "wizards/setup/ProcessStart.h"

#include "wizards/common/FileHandle.h"

bool StartProgram(const std::wstring& program, const std::wstring& commandLine, const std::wstring& folder, int show,
                  DWORD creationFlags)
{
    std::wstring command = commandLine;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = static_cast<WORD>(show);
    PROCESS_INFORMATION process{};
    if (!::CreateProcessW(program.c_str(), &command[0], nullptr, nullptr, FALSE, creationFlags, nullptr,
                          folder.empty() ? nullptr : folder.c_str(), &startup, &process))
        return false;
    CFileHandle thread(process.hThread);
    CFileHandle processHandle(process.hProcess);
    return true;
}
