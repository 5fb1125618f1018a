#pragma once
// How long a page waits for its worker's report. A worker can be stuck in a
// call that never returns (a server that goes silent where the system's own
// waits do not end it): the step then fails when its time is up, as if the
// worker had reported the failure, and a report that comes after that is
// dropped. A hidden run has nobody to cancel it otherwise.

#include "framework/MessageMap.h"
#include "wizards/updater/StepFlag.h"

#include <windows.h>

class CStepWatch {
public:
    // The longest a step waits: the transfer's own limits (UrlTransfer.h)
    // and a margin, so that a worker that keeps to them always reports first.
    static DWORD StepTimeMs();

    // The worker is to be started: the window's timer runs from now. The
    // flag is the one to hand to the worker; it is raised when the time is up.
    StepFlag Start(HWND window);
    // A report arrived: true when the step still waited for it (it counts),
    // false when the step had ended already.
    bool TakeReport(HWND window);
    // The page's WM_TIMER: when it is the watch's and the step still waits,
    // the page is posted doneMessage with failed (as a worker's report);
    // other timers are left to the page's other handlers.
    LRESULT OnTimer(WindowMessage& msg, UINT doneMessage, WPARAM failed);

private:
    static constexpr UINT_PTR TimerId = 0x5745;

    bool m_waiting = false;
    StepFlag m_abandoned;
};
