#pragma once
// A blocking call that cannot be cut short (a host-name look-up, a web page
// fetch) run on a detached thread of its own, so that a recording's worker
// can stop waiting for it at a stop request: the call then finishes alone,
// unheard, and its result goes with whichever of the two lets go last.
// The call must own everything it uses (capture by value).

#include "framework/Thread.h"

#include <windows.h>

#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <utility>

template <typename Result>
struct AbandonableCallState {
    std::function<Result()> call;
    std::mutex lock;
    std::condition_variable finished;
    bool done = false;
    Result result{};
};

template <typename Result>
unsigned __stdcall RunAbandonableCall(void* parameter)
{
    std::shared_ptr<AbandonableCallState<Result>> state =
        std::move(*static_cast<std::shared_ptr<AbandonableCallState<Result>>*>(parameter));
    delete static_cast<std::shared_ptr<AbandonableCallState<Result>>*>(parameter);
    // Nothing may leave a thread: a call that throws (memory ran out)
    // answers the empty result.
    Result result{};
    try {
        result = state->call();
    } catch (...) {
        result = Result{};
    }
    std::lock_guard<std::mutex> guard(state->lock);
    state->result = std::move(result);
    state->done = true;
    state->finished.notify_all();
    return 0;
}

// Runs call and waits for it, asking giveUp every pollMs; true with its
// result, false when giveUp held first (the call is abandoned). Without a
// thread of its own the call runs here, to its end.
template <typename Result>
bool RunAbandonable(std::function<Result()> call, const std::function<bool()>& giveUp, Result& result,
                    DWORD pollMs = 50)
{
    auto state = std::make_shared<AbandonableCallState<Result>>();
    state->call = std::move(call);
    auto* parameter = new std::shared_ptr<AbandonableCallState<Result>>(state);
    if (!StartThread(&RunAbandonableCall<Result>, parameter).IsStarted()) {
        delete parameter;
        result = state->call();
        return true;
    }
    std::unique_lock<std::mutex> guard(state->lock);
    while (!state->finished.wait_for(guard, std::chrono::milliseconds(pollMs), [&state] { return state->done; })) {
        if (giveUp())
            return false;
    }
    result = std::move(state->result);
    return true;
}
