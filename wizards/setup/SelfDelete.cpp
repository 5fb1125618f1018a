// The self-deleting batch file.

#include "wizards/setup/SelfDelete.h"

#include "foundation/WizardUtilities.h"
#include "wizards/common/FileHandle.h"
#include "wizards/setup/ProcessStart.h"

#include <windows.h>

#include <algorithm>
#include <cwchar>

namespace {

// Printable ASCII that neither cmd's variable expansion nor its command
// parsing inside double quotes changes.
bool IsPlainForCmd(const std::wstring& text)
{
    return !text.empty() && std::all_of(text.begin(), text.end(), [](wchar_t c) {
        return c >= 0x20 && c < 0x7F && !std::wcschr(L"%!^&|<>\"", c);
    });
}

std::wstring FolderOf(const std::wstring& path)
{
    const size_t separator = path.find_last_of(L'\\');
    return separator == std::wstring::npos ? std::wstring() : path.substr(0, separator);
}

std::wstring NameOf(const std::wstring& path)
{
    const size_t separator = path.find_last_of(L'\\');
    return separator == std::wstring::npos ? path : path.substr(separator + 1);
}

bool WriteScript(const std::wstring& path, const std::wstring& text)
{
    // The text is ASCII: every code page reads it alike.
    const std::string bytes(text.begin(), text.end());
    CFileHandle file(
        ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.IsValid())
        return false;
    DWORD written = 0;
    return ::WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
           written == bytes.size();
}

// cmd started hidden on the batch, by its name, in its folder.
bool RunScript(const std::wstring& folder, const std::wstring& scriptName)
{
    wchar_t system[MAX_PATH] = L"";
    const UINT length = ::GetSystemDirectoryW(system, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return false;
    return StartProgram(std::wstring(system) + L"\\cmd.exe", L"cmd.exe /d /c \"" + scriptName + L"\"", folder,
                        SW_HIDE, CREATE_NO_WINDOW);
}

} // namespace

std::wstring MakeSelfDeleteScript(const std::wstring& programName, const std::wstring& scriptName, unsigned tries)
{
    const std::wstring program = L"\"" + programName + L"\"";
    // ping waits about a second between its two echoes: cmd has no pause
    // of its own that works without a console.
    return L"@echo off\r\n"
           L"set tries=0\r\n"
           L":Repeat\r\n"
           L"del " + program + L"\r\n"
           L"if not exist " + program + L" goto Done\r\n"
           L"set /a tries+=1\r\n"
           L"if %tries% geq " + std::to_wstring(tries) + L" goto Done\r\n"
           L"ping -n 2 127.0.0.1 >nul\r\n"
           L"goto Repeat\r\n"
           L":Done\r\n"
           L"del \"" + scriptName + L"\"\r\n";
}

bool StartSelfDelete(const std::wstring& program, const std::wstring& script, unsigned tries)
{
    const std::wstring folder = FolderOf(script);
    const std::wstring scriptName = NameOf(script);
    // The program is normally in the same temporary folder; elsewhere only
    // a plain full path can be named.
    const bool besideScript = ::lstrcmpiW(FolderOf(program).c_str(), folder.c_str()) == 0;
    const std::wstring programName = besideScript ? NameOf(program) : program;
    if (folder.empty() || !IsPlainForCmd(scriptName) || !IsPlainForCmd(programName))
        return false;
    if (!WriteScript(script, MakeSelfDeleteScript(programName, scriptName, tries)))
        return false;
    if (RunScript(folder, scriptName))
        return true;
    ::DeleteFileW(script.c_str());
    return false;
}

bool ScheduleSelfDelete()
{
    const std::wstring script = KV::MakeTempFileName(L"kvu", 0, L"bat");
    const std::wstring& program = KV::GetProgramPath();
    if (script.empty() || program.empty())
        return false;
    return StartSelfDelete(program, script, SelfDeleteTries);
}
