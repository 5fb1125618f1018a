#include "player/recording/RecorderReportWindow.h"

#include <atomic>

namespace {

struct Report {
    Recorder* recorder;
    int state;
    uint64_t bytes;
};

} // namespace

class CRecorderReportWindow::Sink : public RecorderReportSink {
public:
    void Attach(HWND window) { m_window.store(window); }
    void Detach() { m_window.store(nullptr); }

    void OnRecorderReport(Recorder& recorder, int state, uint64_t bytes) override
    {
        // A window destroyed after this load makes the send fail; nothing
        // else of the window's owner is touched from this thread.
        const HWND window = m_window.load();
        if (!window)
            return;
        Report report{&recorder, state, bytes};
        ::SendMessageW(window, ReportMessage(), 0, reinterpret_cast<LPARAM>(&report));
    }

private:
    std::atomic<HWND> m_window{nullptr};
};

CRecorderReportWindow::CRecorderReportWindow(Handler handler)
    : m_handler(std::move(handler)), m_sinkImpl(std::make_shared<Sink>()), m_sink(m_sinkImpl)
{
}

CRecorderReportWindow::~CRecorderReportWindow()
{
    m_sinkImpl->Detach();
    if (IsWindow())
        DestroyWindow();
}

bool CRecorderReportWindow::CreateOnThisThread()
{
    if (!Create(HWND_MESSAGE, nullptr, WindowText, 0))
        return false;
    m_sinkImpl->Attach(m_hWnd);
    return true;
}

UINT CRecorderReportWindow::ReportMessage()
{
    // A message of its own, so that a stale send can mean nothing to any
    // other window.
    static const UINT message = ::RegisterWindowMessageW(L"BrisvaneRecorderReport");
    return message;
}

LRESULT CRecorderReportWindow::OnReport(WindowMessage& msg)
{
    const Report* report = reinterpret_cast<const Report*>(msg.lParam);
    if (report && m_handler)
        m_handler(report->recorder, report->state, report->bytes);
    return 0;
}
