#pragma once
// The uninstall copy removes itself after it exits: a batch file in the
// temporary folder deletes the program's file as soon as it can, then
// itself.
//
// cmd reads a batch file in the OEM code page and expands every "%" in it
// (Wine's cmd even expands the text a variable brings in), so no path goes
// into the batch: it runs in the folder that holds it and names the files
// by their plain ASCII names ("kvu" and hex digits). Between tries it
// pauses about a second, and after a bounded number of tries it gives up.

#include <string>

// Tries of the installed uninstall copy: about a minute.
constexpr unsigned SelfDeleteTries = 60;

// The batch text for a program and a batch file named as cmd sees them
// from the batch's folder; lines joined by CR LF.
std::wstring MakeSelfDeleteScript(const std::wstring& programName, const std::wstring& scriptName, unsigned tries);
// Writes the batch file script (a full path) that deletes program (a full
// path) and then itself, and starts it hidden in the script's folder. False
// when a name cannot be written safely for cmd, or the file cannot be
// written or started.
bool StartSelfDelete(const std::wstring& program, const std::wstring& script, unsigned tries);
// StartSelfDelete for the running program and a new batch file in the
// temporary folder.
bool ScheduleSelfDelete();
