#include "player/recording/Recorder.h"

#include "player/playback/UrlGrabber.h"
#include "player/recording/AbandonableCall.h"
#include "player/recording/RecorderReportSink.h"

namespace {

std::atomic<int> g_runningWorkers{0};

} // namespace

Recorder::Recorder(const RecordingJob& job) : m_job(job), m_file(job.path) {}

Recorder::~Recorder()
{
    CloseFile();
    if (m_thread)
        ::CloseHandle(m_thread);
}

void Recorder::Stop()
{
    // The grace counts from the first request; 0 means "none yet", so a
    // tick count of 0 is kept as 1.
    const DWORD now = ::GetTickCount();
    DWORD none = 0;
    m_stopTick.compare_exchange_strong(none, now ? now : 1);
    m_stop.store(true);
}

bool Recorder::IsStopOverdue() const
{
    const DWORD asked = m_stopTick.load();
    // Signed: the tick kept may lie a millisecond after the one read here.
    return asked != 0 && static_cast<LONG>(::GetTickCount() - asked) >= static_cast<LONG>(StopGraceMs);
}

bool Recorder::IsHandshakeOverdue() const
{
    return m_inHandshake && ::GetTickCount() - m_handshakeStart >= m_job.handshakeTimeoutMs;
}

bool Recorder::Start()
{
    if (m_thread)
        return false;
    // The worker's own reference: the recorder lives until the thread
    // procedure is done with it, whatever becomes of the record.
    auto* self = new std::shared_ptr<Recorder>(shared_from_this());
    ++g_runningWorkers;
    m_thread = ::CreateThread(nullptr, 0, &Recorder::ThreadProc, self, 0, nullptr);
    if (!m_thread) {
        --g_runningWorkers;
        delete self;
        return false;
    }
    return true;
}

int Recorder::GetRunningCount()
{
    return g_runningWorkers.load();
}

DWORD WINAPI Recorder::ThreadProc(void* parameter)
{
    {
        std::shared_ptr<Recorder> recorder = std::move(*static_cast<std::shared_ptr<Recorder>*>(parameter));
        delete static_cast<std::shared_ptr<Recorder>*>(parameter);
        recorder->m_inHandshake = true;
        recorder->m_handshakeStart = ::GetTickCount();
        // Nothing thrown may leave a thread's procedure: a recording that
        // fails so (out of memory, or a sink that does) ends as failed, with
        // its one final report and what it wrote kept.
        try {
            if (recorder->ResolveAddress())
                recorder->Run();
        } catch (...) {
            recorder->ReportFailureOnce();
        }
        recorder->CloseFile();
        recorder->m_ended.store(true);
    }
    --g_runningWorkers;
    return 0;
}

bool Recorder::ResolveAddress()
{
    if (m_job.grabberKey.empty()) {
        m_address = m_job.source;
    } else {
        // The grabber's page fetch is left to finish alone at a stop.
        const std::wstring source = m_job.source;
        const std::string key = m_job.grabberKey;
        std::wstring grabbed;
        if (RunAbandonable<std::wstring>([source, key] { return CUrlGrabber::Resolve(source, key); },
                                         [this] { return ShouldAbandonWait(); }, grabbed))
            m_address = grabbed;
    }
    if (m_address.empty() || IsStopRequested()) {
        // A stop before the stream was reached is no failure.
        Notify(IsStopRequested() ? Done : Failed, 0);
        return false;
    }
    return true;
}

void Recorder::ReportFailureOnce()
{
    if (m_finalReported)
        return;
    try {
        Notify(Failed, 0);
    } catch (...) {
        // The state stays for whoever asks.
    }
}

void Recorder::Notify(int state, uint64_t bytes)
{
    if (state == Done || state == Failed) {
        m_finalState.store(state);
        m_finalReported = true;
    }
    if (m_job.sink)
        m_job.sink->OnRecorderReport(*this, state, bytes);
}

bool Recorder::OpenFile()
{
    return m_file.Create();
}

bool Recorder::Write(const void* data, size_t n)
{
    return m_file.Write(data, n);
}

bool Recorder::KeepReceived(const char* data, int n, bool& failed)
{
    if (n <= 0) {
        failed = !IsStopRequested();
        return false;
    }
    if (!Write(data, static_cast<size_t>(n))) {
        failed = true;
        return false;
    }
    m_byteCount += static_cast<uint64_t>(n);
    return true;
}

void Recorder::CloseFile()
{
    m_file.Close();
}

StreamWatch Recorder::MakeWatch() const
{
    StreamWatch watch;
    watch.stopRequested = [this] { return IsStopRequested(); };
    watch.mustEnd = [this] { return IsStopOverdue() || IsHandshakeOverdue(); };
    watch.stallTimeoutMs = m_job.stallTimeoutMs;
    return watch;
}
