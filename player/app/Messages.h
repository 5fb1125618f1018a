// The private messages the player's windows send to the main window. They
// are always sent (SendMessage), never posted. A zero lParam in
// WM_PLAY_CHANNEL, WM_RECORD_CHANNEL and WM_PLAY_RECORD means the current
// channel or record.
#pragma once

#include <windows.h>

constexpr UINT WM_PLAY_CHANNEL = WM_USER + 1;    // 1025
constexpr UINT WM_STOP_CHANNEL = WM_USER + 2;    // 1026
constexpr UINT WM_FULL_SCREEN = WM_USER + 4;     // 1028
// wParam 0: the next favourite, 1: the previous one.
constexpr UINT WM_NEXT_CHANNEL = WM_USER + 9;    // 1033
constexpr UINT WM_RECORD_CHANNEL = WM_USER + 10; // 1034
constexpr UINT WM_PLAY_RECORD = WM_USER + 11;    // 1035

constexpr WPARAM NextChannelForward = 0;
constexpr WPARAM NextChannelBackward = 1;
