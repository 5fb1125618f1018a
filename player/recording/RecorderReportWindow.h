#pragma once
// Brings recorder reports from the recording workers to the user-interface
// thread: the worker's report is sent (SendMessage) to a message-only window
// created on that thread, whose handler runs there while the worker waits.
// Every record and list change a report causes therefore happens on the
// user-interface thread, between its other messages, and never at the same
// time as the schedule tick, painting or the user's commands.
//
// The sink the recorders hold is shared; once the window goes, the sink is
// cut off and later reports are dropped.

#include "framework/WindowImpl.h"
#include "player/recording/RecorderReportSink.h"

#include <cstdint>
#include <functional>
#include <memory>

class Recorder;

class CRecorderReportWindow : public CWindowImpl<CRecorderReportWindow> {
public:
    // Runs on the user-interface thread for every report.
    using Handler = std::function<void(Recorder* recorder, int state, uint64_t bytes)>;

    explicit CRecorderReportWindow(Handler handler);
    // Cuts the sink off, then destroys the window.
    ~CRecorderReportWindow() override;

    // The window's text, by which it can be found among the message-only
    // windows.
    static constexpr const wchar_t* WindowText = L"Brisvane recorder reports";

    // Creates the window on the calling thread; false when it cannot.
    bool CreateOnThisThread();
    // What recorders report into.
    const std::shared_ptr<RecorderReportSink>& GetSink() const { return m_sink; }

    MESSAGE_MAP_BEGIN(CRecorderReportWindow)
        ON_MESSAGE(ReportMessage(), OnReport)
    MESSAGE_MAP_END()

private:
    class Sink;

    static UINT ReportMessage();
    LRESULT OnReport(WindowMessage& msg);

    Handler m_handler;
    std::shared_ptr<Sink> m_sinkImpl;
    std::shared_ptr<RecorderReportSink> m_sink;
};
