#pragma once
// Messages the check and download workers send to the updater's pages. The
// workers never touch a window object: they send these to the page's
// window, so every page switch runs on the UI thread, and a frame that was
// closed meanwhile (its windows gone) simply receives nothing.

#include <windows.h>

// To the start page: the check ended; wParam is a CheckOutcome.
constexpr UINT WM_UPDATER_CHECK_DONE = WM_APP + 1;
// To the download page: bytes so far (wParam) of the total (lParam, 0 when
// the server does not tell).
constexpr UINT WM_UPDATER_PROGRESS = WM_APP + 2;
// To the download page: the download ended; wParam is a DownloadOutcome.
constexpr UINT WM_UPDATER_DOWNLOAD_DONE = WM_APP + 3;
