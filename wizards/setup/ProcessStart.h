#pragma once
// Starting a program without the shell: ShellExecute (Wine's always, Windows'
// on request) expands "%name%" in the file and folder it is given, which
// breaks paths that hold a "%".

#include <windows.h>

#include <string>

// Starts program with commandLine (the program's own quoted path comes
// first) in folder (empty: the caller's), showing its window as show; the
// handles are closed at once. creationFlags go to CreateProcessW.
bool StartProgram(const std::wstring& program, const std::wstring& commandLine, const std::wstring& folder, int show,
                  DWORD creationFlags = 0);
