#pragma once
// What a window shows the tests: its text and its class name.

#include <windows.h>

#include <string>

std::wstring TextOf(HWND window);
std::wstring ClassOf(HWND window);
