#pragma once
// The download of what a check offered, into the Updates folder, recorded in
// the product key for the player's next start.
//   program updater: <folder><descriptor's file>, moved to Updates\<file>
//                    when it is a setup package of the offered version;
//                    UpdateVersion and Update
//   Chanfresh:       <folder>channels.zip, its entry Channels.brsc extracted
//                    to Updates\Channels.brsc when it reads as a catalogue;
//                    CUpdateVersion and CUpdate
// Anything else is deleted and counts as a failed download.
//
// The worker reads only its own DownloadRequest, copied from the run state
// and the settings on the UI thread when it starts; the UI thread takes the
// outcome into the run state when the worker reports it.

#include "wizards/updater/StepFlag.h"

#include <windows.h>

#include <atomic>
#include <string>

enum class DownloadOutcome : WPARAM {
    // The frame was closed meanwhile: nothing is reported.
    Cancelled = 0,
    // Nothing usable arrived (UpdateError is UpdateErrorDownload); the
    // registry is left as it was.
    Failed = 1,
    Completed = 2,
};

struct DownloadRequest {
    std::wstring url;
    // Empty when the descriptor names no usable file.
    std::wstring target;
    std::wstring updatesFolder;
    std::wstring newVersion;
    // The product key; a null root when the settings name none.
    HKEY registryRoot = nullptr;
    std::wstring registryKey;
    // Raised when the page no longer waits: the file is then neither placed
    // nor recorded (none: the page always waits).
    StepFlag abandoned;
};

// What writes the download's two values into the product key (SetRegString
// unless replaced, so that tests can make a write fail); returns the one it
// replaces. A download is recorded whole or not at all.
using RegistryStringWriter = bool (*)(HKEY key, const wchar_t* name, const std::wstring& text);
RegistryStringWriter SetDownloadRecordWriter(RegistryStringWriter writer);

// Whether a descriptor's package name is a plain file name: anything that
// could lead out of the Updates folder is refused.
bool IsPlainFileName(const std::wstring& name);

// The file the download ends in (the Updates folder with the package's or
// the catalogue's name); empty when the descriptor names no usable file
// (for the program updater also one that is no .exe).
std::wstring GetDownloadTarget();

// The request from the run state and the settings (UI thread).
DownloadRequest MakeDownloadRequest();
// The download itself, on any thread; progress goes to progressWindow as
// WM_UPDATER_PROGRESS (null: none).
DownloadOutcome PerformDownload(const DownloadRequest& request, const std::atomic<bool>& cancel,
                                HWND progressWindow);
// Takes an outcome into the run state (UI thread): the error kind, and after
// a completed download the pending version and the updated flag.
void ApplyDownloadOutcome(DownloadOutcome outcome);

// The whole download on the calling thread.
DownloadOutcome RunDownload(HWND progressWindow);

// Runs the download on a detached worker reporting to pageWindow (progress,
// then WM_UPDATER_DOWNLOAD_DONE unless cancelled or abandoned).
bool StartDownload(HWND pageWindow, StepFlag abandoned = nullptr);
