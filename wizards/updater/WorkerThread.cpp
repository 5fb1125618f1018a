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

bool StartDetachedThread(unsigned(__stdcall* proc)(void*), void* argument)
{
    // The holder goes at once: nobody waits for the thread.
    return StartThread(proc, argument).IsStarted();
}

std::atomic<WorkerThreadStarter>& Starter()
{
    static std::atomic<WorkerThreadStarter> starter{&StartDetachedThread};
    return starter;
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
    if (Starter().load()(proc, argument))
        return true;
    --ActiveWorkers();
    return false;
}

WorkerThreadStarter SetWorkerThreadStarter(WorkerThreadStarter starter)
{
    return Starter().exchange(starter ? starter : &StartDetachedThread);
}

void ReportToPage(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (GetCancelFlag())
        return;
    ::SendMessageW(window, message, wParam, lParam);
}
