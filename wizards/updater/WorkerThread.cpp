// Scope and reports of the workers.

#include "wizards/updater/WorkerThread.h"

#include "wizards/common/WorkerThreadStarter.h"
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
    if (StartDetachedWorker(proc, argument))
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
