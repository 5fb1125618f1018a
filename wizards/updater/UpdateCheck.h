#pragma once
// The update check: fetch the check document from the server folder, keep
// its descriptor, and decide whether the offered version is newer than both
// the installed and the pending one.
//   program updater: <folder><file> (update.zip), its entry "update"
//   Chanfresh:       <folder>cupdate.dat, itself the descriptor
//
// The worker reads only its own CheckRequest, copied from the run state on
// the UI thread when it starts, and hands its CheckResult back with its
// report; the UI thread takes the result into the run state. So a frame
// closed meanwhile (and the run state freed) leaves nothing the worker reads.

#include "wizards/updater/StepFlag.h"

#include <windows.h>

#include <atomic>
#include <memory>
#include <string>

namespace KV {
class DataKey;
}

enum class CheckOutcome : WPARAM {
    // The frame was closed meanwhile: nothing is reported.
    Cancelled = 0,
    // The document could not be fetched (UpdateError is UpdateErrorCheck).
    Failed = 1,
    NoUpdate = 2,
    Offered = 3,
};

struct CheckRequest {
    std::wstring url;
    std::wstring installedVersion;
    std::wstring pendingVersion;
    // The offered version so far: a document without a descriptor keeps it.
    std::wstring newVersion;
    // Raised when the page no longer waits (none: it always waits).
    StepFlag abandoned;
};

struct CheckResult {
    CheckOutcome outcome = CheckOutcome::Cancelled;
    // Null when the document held none.
    std::unique_ptr<KV::DataKey> descriptor;
    std::wstring newVersion;

    CheckResult();
    ~CheckResult();
    CheckResult(CheckResult&&) noexcept;
    CheckResult& operator=(CheckResult&&) noexcept;
};

// Newer than the installed version and newer than the pending one.
bool IsUpdateOffered(const std::wstring& newVersion, const std::wstring& installedVersion,
                     const std::wstring& pendingVersion);

// The request from the run state (UI thread).
CheckRequest MakeCheckRequest();
// The check itself, on any thread; cancel is read after the transfer.
CheckResult PerformCheck(const CheckRequest& request, const std::atomic<bool>& cancel);
// Takes a result into the run state (UI thread): the descriptor and its
// version when there was one, and the error kind.
void ApplyCheckResult(CheckResult& result);

// The whole check on the calling thread.
CheckOutcome RunCheck();

// Runs the check on a detached worker, which sends the outcome to
// reportWindow as WM_UPDATER_CHECK_DONE with its CheckResult in lParam (not
// when it was cancelled or abandoned).
bool StartCheck(HWND reportWindow, StepFlag abandoned = nullptr);
