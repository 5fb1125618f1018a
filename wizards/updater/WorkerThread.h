#pragma once
// What every updater worker does around its work: COM for the URL moniker
// transfer on its thread, a count of the workers alive (nobody waits for
// them; the count only tells whether one is still busy), and the report to
// a page window, sent only while the run has not been cancelled.

#include <windows.h>

#include <atomic>

class CWorkerScope {
public:
    CWorkerScope();
    CWorkerScope(const CWorkerScope&) = delete;
    CWorkerScope& operator=(const CWorkerScope&) = delete;
    ~CWorkerScope();

private:
    bool m_comInitialised;
};

// Workers started and not yet ended.
int GetActiveWorkerCount();

// Starts proc(window) on a detached thread, counted from this moment; the
// thread must hold a CWorkerScope for its whole run. False when no thread
// could be started.
bool StartWorker(unsigned(__stdcall* proc)(void*), HWND window);

// Sends message to window unless the run was cancelled (the frame is gone
// or going); a window that no longer exists receives nothing.
void ReportToPage(HWND window, UINT message, WPARAM wParam);
