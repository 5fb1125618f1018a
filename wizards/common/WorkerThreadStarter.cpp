// The starter of the wizards' worker threads.

#include "wizards/common/WorkerThreadStarter.h"

#include <atomic>

namespace {

bool StartWithThreadHolder(ThreadProc proc, void* argument)
{
    // The holder goes at once: nobody waits for the thread.
    return StartThread(proc, argument).IsStarted();
}

std::atomic<WorkerThreadStarter>& Starter()
{
    static std::atomic<WorkerThreadStarter> starter{&StartWithThreadHolder};
    return starter;
}

} // namespace

bool StartDetachedWorker(ThreadProc proc, void* argument)
{
    return Starter().load()(proc, argument);
}

WorkerThreadStarter SetWorkerThreadStarter(WorkerThreadStarter starter)
{
    return Starter().exchange(starter ? starter : &StartWithThreadHolder);
}
