#pragma once
// What every updater worker does around its work: a count of the workers
// alive (nobody waits for them; the count only tells whether one is still
// busy), the job it owns (its request, copied on the UI thread, and the
// window it reports to), and the report to that window, sent only while the
// run has not been cancelled.

#include <windows.h>

#include <memory>
#include <utility>

class CWorkerScope {
public:
    CWorkerScope() = default;
    CWorkerScope(const CWorkerScope&) = delete;
    CWorkerScope& operator=(const CWorkerScope&) = delete;
    ~CWorkerScope();
};

// What a worker reads, all of it its own.
template <class Request>
struct CWorkerJob {
    Request request;
    HWND window;
};

// Workers started and not yet ended.
int GetActiveWorkerCount();

// Starts proc(argument) on a detached thread, counted from this moment; the
// thread must hold a CWorkerScope for its whole run. False when no thread
// could be started.
bool StartWorkerThread(unsigned(__stdcall* proc)(void*), void* argument);

// The threads start through StartDetachedWorker (WorkerThreadStarter.h),
// whose starter a test can replace.

// Starts proc with a new CWorkerJob<Request>, which the thread takes over
// (it deletes it); when no thread starts, the job is deleted here.
template <class Request>
bool StartWorker(unsigned(__stdcall* proc)(void*), Request request, HWND window)
{
    auto job = std::make_unique<CWorkerJob<Request>>(CWorkerJob<Request>{std::move(request), window});
    if (!StartWorkerThread(proc, job.get()))
        return false;
    job.release();
    return true;
}

// Sends message to window unless the run was cancelled (the frame is gone
// or going); a window that no longer exists receives nothing.
void ReportToPage(HWND window, UINT message, WPARAM wParam, LPARAM lParam = 0);
