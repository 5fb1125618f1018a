#pragma once
// The start of Setupkit: the role from the file's trailer, the uninstall
// hand-over, the command line, and the run.

#include <windows.h>

#include <string>

// The whole program: what wWinMain does.
int SetupMain(HINSTANCE instance, const wchar_t* commandLine, int show);
// Marks the running program for the Program Compatibility Assistant
// (REG_DWORD 1 named by its path, only when the key exists).
void SetCompatibilityPersisted();
// The installed uninstaller's role: copies itself into the temporary folder,
// turns the copy into the uninstall run and starts it with the program
// folder as its command line. False when the copy could not be made.
bool StartUninstallCopy(const std::wstring& programPath, const std::wstring& programFolder);
// The run between start and exit: data, language choice, version gate,
// frame and message loop.
int Run(const wchar_t* commandLine, int show);
