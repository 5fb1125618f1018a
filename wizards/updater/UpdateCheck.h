#pragma once
// The update check: fetch the check document from the server folder, keep
// its descriptor, and decide whether the offered version is newer than both
// the installed and the pending one.
//   program updater: <folder><file> (update.zip), its entry "update"
//   Chanfresh:       <folder>cupdate.dat, itself the descriptor

#include <windows.h>

#include <string>

enum class CheckOutcome : WPARAM {
    // The frame was closed meanwhile: nothing is reported.
    Cancelled = 0,
    // The document could not be fetched (UpdateError is UpdateErrorCheck).
    Failed = 1,
    NoUpdate = 2,
    Offered = 3,
};

// Newer than the installed version and newer than the pending one.
bool IsUpdateOffered(const std::wstring& newVersion, const std::wstring& installedVersion,
                     const std::wstring& pendingVersion);

// The whole check on the calling thread.
CheckOutcome RunCheck();

// Runs the check on a detached worker, which sends the outcome to
// reportWindow as WM_UPDATER_CHECK_DONE (not when it was cancelled).
bool StartCheck(HWND reportWindow);
