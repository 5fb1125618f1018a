#pragma once
// The uninstall copy removes itself after it exits: a batch file in the
// temporary folder deletes the program's file as soon as it can, then
// itself.

#include <string>

// The batch text: four lines joined by CR LF, no line break after the last.
std::wstring MakeSelfDeleteScript(const std::wstring& program, const std::wstring& script);
// Writes the batch file for the running program into the temporary folder
// (ANSI code page) and starts it hidden; false when it could not be written
// or started.
bool ScheduleSelfDelete();
