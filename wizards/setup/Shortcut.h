#pragma once
// Shell links of the setup.

#include <windows.h>

#include <string>

// Saves a shell link at link that points to target's full path, with the
// description when one is given (no working folder, arguments or icon);
// the link is logged whether or not the save worked. Runs on the worker
// thread, inside the process's multithreaded apartment.
HRESULT CreateShortcut(const std::wstring& target, const wchar_t* description, const std::wstring& link);
