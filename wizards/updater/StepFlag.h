#pragma once
// The flag a page raises when it stops waiting for its worker (the step's
// time was up): the worker then aborts its transfer, changes nothing and
// reports nothing. Shared, as the worker may outlive the page's wait.

#include <atomic>
#include <memory>

using StepFlag = std::shared_ptr<std::atomic<bool>>;

inline bool IsRaised(const StepFlag& flag)
{
    return flag && flag->load();
}
