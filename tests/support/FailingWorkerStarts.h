// Thread starts of the wizards' workers, the first allowedStarts of them
// going through and every later one failing, for as long as the object
// lives.
#pragma once

#include "wizards/common/WorkerThreadStarter.h"

#include <atomic>

class FailingWorkerStarts {
public:
    explicit FailingWorkerStarts(int allowedStarts = 0)
    {
        AllowedStarts() = allowedStarts;
        RealStarter() = SetWorkerThreadStarter(&Start);
    }
    ~FailingWorkerStarts() { SetWorkerThreadStarter(RealStarter()); }
    FailingWorkerStarts(const FailingWorkerStarts&) = delete;
    FailingWorkerStarts& operator=(const FailingWorkerStarts&) = delete;

private:
    static std::atomic<int>& AllowedStarts()
    {
        static std::atomic<int> allowed{0};
        return allowed;
    }
    static std::atomic<WorkerThreadStarter>& RealStarter()
    {
        static std::atomic<WorkerThreadStarter> real{nullptr};
        return real;
    }
    static bool Start(ThreadProc proc, void* argument)
    {
        return AllowedStarts()-- > 0 && RealStarter().load()(proc, argument);
    }
};
