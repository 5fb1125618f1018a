#pragma once
// The plain system message boxes of the catalogue and the grabbers (a channel
// without a stream, a failed cookie fetch) go through one replaceable
// function, so that tests can record them instead of blocking on a dialog.

#include <windows.h>

// Same contract and calling convention as MessageBoxW.
using SystemMessageBoxFunc = int (WINAPI*)(HWND owner, const wchar_t* text, const wchar_t* caption, UINT type);

// Shows the box through the installed function (MessageBoxW by default);
// callable from any thread.
int ShowSystemMessageBox(HWND owner, const wchar_t* text, const wchar_t* caption, UINT type);

// Installs func (null restores MessageBoxW) and returns the previous one.
SystemMessageBoxFunc SetSystemMessageBoxFunc(SystemMessageBoxFunc func);
