// Scope and reports of the workers.

#include "wizards/updater/WorkerThread.h"

#include "framework/Thread.h"
#include "wizards/updater/UpdaterContext.h"

#include <atomic>

namespace {

std::atomic<int>& ActiveWorkers()
{
    static std::atomic<int> count{0};
    return count;
}

} // namespace

CWorkerScope::~CWorkerScope()
{
    --ActiveWorkers();
}

int GetActiveWorkerCount()
{
    return ActiveWorkers();
}

bool StartWorkerThread(unsigned(__stdcall* proc)(void*), void* argument)
{
    ++ActiveWorkers();
    // The holder goes at once: nobody waits for the thread.
    if (StartThread(proc, argument).IsStarted())
        return true;
    --ActiveWorkers();
    return false;
}

void ReportToPage(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (GetCancelFlag())
        return;
    ::SendMessageW(window, message, wParam, lParam);
}
