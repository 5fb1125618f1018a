// The self-deleting batch file.

#include "wizards/setup/SelfDelete.h"

#include "foundation/WizardUtilities.h"
#include "wizards/common/FileHandle.h"
#include "wizards/common/Text.h"

#include <windows.h>

#include <shellapi.h>

std::wstring MakeSelfDeleteScript(const std::wstring& program, const std::wstring& script)
{
    const std::wstring quotedProgram = L"\"" + program + L"\"";
    return L":Repeat\r\ndel " + quotedProgram + L"\r\nif exist " + quotedProgram + L" goto Repeat\r\ndel \"" +
           script + L"\"";
}

bool ScheduleSelfDelete()
{
    const std::wstring script = KV::MakeTempFileName(L"kvu", 0, L"bat");
    const std::wstring& program = KV::GetProgramPath();
    if (script.empty() || program.empty())
        return false;
    const std::string text = NarrowAnsi(MakeSelfDeleteScript(program, script));
    {
        CFileHandle file(::CreateFileW(script.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                       FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file.IsValid())
            return false;
        DWORD written = 0;
        if (!::WriteFile(file.Get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr) ||
            written != text.size())
            return false;
    }
    const HINSTANCE started = ::ShellExecuteW(nullptr, nullptr, script.c_str(), nullptr, nullptr, SW_HIDE);
    return reinterpret_cast<INT_PTR>(started) > 32;
}
