#pragma once
// The download of what a check offered, into the Updates folder, recorded in
// the product key for the player's next start.
//   program updater: <folder><descriptor's file>, moved to Updates\<file>;
//                    Update and UpdateVersion
//   Chanfresh:       <folder>channels.zip, its entry Channels.brsc extracted
//                    to Updates\Channels.brsc; CUpdate and CUpdateVersion

#include <windows.h>

#include <string>

enum class DownloadOutcome : WPARAM {
    // The frame was closed meanwhile: nothing is reported.
    Cancelled = 0,
    // Nothing usable arrived (UpdateError is UpdateErrorDownload); the
    // registry is left as it was.
    Failed = 1,
    Completed = 2,
};

// Whether a descriptor's package name is a plain file name: anything that
// could lead out of the Updates folder is refused.
bool IsPlainFileName(const std::wstring& name);

// The file the download ends in (the Updates folder with the package's or
// the catalogue's name); empty when the descriptor names no usable file.
std::wstring GetDownloadTarget();

// The whole download on the calling thread; progress goes to progressWindow
// as WM_UPDATER_PROGRESS (null: none).
DownloadOutcome RunDownload(HWND progressWindow);

// Runs the download on a detached worker reporting to pageWindow (progress,
// then WM_UPDATER_DOWNLOAD_DONE unless cancelled).
bool StartDownload(HWND pageWindow);
