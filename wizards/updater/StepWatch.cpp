#include "wizards/updater/StepWatch.h"

#include "wizards/updater/UrlTransfer.h"

DWORD CStepWatch::StepTimeMs()
{
    const TransferTimes times = GetTransferTimes();
    const ULONGLONG total = static_cast<ULONGLONG>(times.wholeMs) + 2ull * times.waitMs;
    return total < USER_TIMER_MAXIMUM ? static_cast<DWORD>(total) : USER_TIMER_MAXIMUM;
}

StepFlag CStepWatch::Start(HWND window)
{
    m_waiting = true;
    m_abandoned = std::make_shared<std::atomic<bool>>(false);
    ::SetTimer(window, TimerId, StepTimeMs(), nullptr);
    return m_abandoned;
}

bool CStepWatch::TakeReport(HWND window)
{
    if (!m_waiting)
        return false;
    m_waiting = false;
    ::KillTimer(window, TimerId);
    return true;
}

LRESULT CStepWatch::OnTimer(WindowMessage& msg, UINT doneMessage, WPARAM failed)
{
    if (static_cast<UINT_PTR>(msg.wParam) != TimerId) {
        msg.handled = false;
        return 0;
    }
    ::KillTimer(msg.hwnd, TimerId);
    if (m_waiting) {
        // The worker may still finish: it must then leave everything alone.
        if (m_abandoned)
            m_abandoned->store(true);
        ::PostMessageW(msg.hwnd, doneMessage, failed, 0);
    }
    return 0;
}
