#pragma once
// The buffering flag of the Media Player back-end and the poll that keeps the
// status line fresh while the control buffers: a worker thread that, up to
// MaxPasses times, checks the flag, has a status report made and sleeps.
// The control lives in the user-interface thread's apartment, so the worker
// never touches it: it hands each report to a message-only window of that
// thread (SendMessage) and the report is made there. The worker reads only
// the flag and the window handle.

#include "framework/WindowImpl.h"

#include <atomic>

class CBufferingPoll : public CWindowImpl<CBufferingPoll> {
public:
    static constexpr int MaxPasses = 500;
    static constexpr DWORD DefaultInterval = 50;  // ms between two passes

    CBufferingPoll() = default;
    ~CBufferingPoll() override;

    // The window that makes the reports, on the calling thread.
    bool Create();

    // Buffering started: set the flag and start a poll thread (another one
    // when an earlier poll still runs).
    static void Begin();
    // Buffering ended: every poll stops within one interval, without a
    // further report.
    static void End();
    static bool IsBuffering();
    // Time between two passes; tests shorten it.
    static void SetInterval(DWORD milliseconds);

    static unsigned __stdcall BufferingPollThread(void*);

    MESSAGE_MAP_BEGIN(CBufferingPoll)
        ON_MESSAGE(WM_BUFFERING_POLL, OnPoll)
    MESSAGE_MAP_END()

private:
    static constexpr UINT WM_BUFFERING_POLL = WM_APP + 1;

    LRESULT OnPoll(WindowMessage& msg);
};
