#pragma once
// Whether the product's main program runs: the components and uninstall
// pages refuse to go on while it does.

#include <string>

// Processes whose first module's file name equals path ignoring case (at
// most the first 1024 process ids are looked at); 0 for an empty path.
int CountProcesses(const std::wstring& path);
// The settings' exe in the install folder runs.
bool IsMainExeRunning();
