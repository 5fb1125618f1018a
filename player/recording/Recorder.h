#pragma once
// A recorder captures one stream into one file on a worker thread of its
// own and reports its progress to a sink (for a record: the records
// manager, which hands the reports to the record on the user-interface
// thread).
//
// Ownership is shared: the record that starts the recording holds one
// reference and the worker holds another until its thread procedure ends,
// so a record deleted while its worker runs leaves the worker a live object
// to finish on. The worker touches only the recorder itself and the sink.
//
// Reports: 2 connecting, 3 recording (with the bytes written so far), and
// exactly one final report as the worker's last call into the sink: 0 when
// it ended on a stop request, -1 when it failed (a stream that ends by
// itself or stalls included). The recorder also keeps its final state, so
// that a final report the sink could not deliver is not lost.
//
// Whatever the server does, a stop ends the recording soon: the grabber's
// fetch and the host-name look-up are abandoned at once, and bytes that keep
// arriving are taken for at most StopGraceMs more. A recording that has not
// got past its handshake (address, look-up, connect and, for MMS, the
// stream's header) within the job's handshake time-out fails.
//
// The output file is created when the first bytes arrive (or at OpenFile)
// and never over a file that exists (RecordingFile.h).

#include "player/recording/RecordingFile.h"
#include "player/recording/RecordingJob.h"
#include "player/recording/StreamSocket.h"

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>

class Recorder : public std::enable_shared_from_this<Recorder> {
public:
    enum State { Done = 0, Connecting = 2, Recording = 3, Failed = -1 };

    // How long after a stop request the bytes that are still arriving are
    // taken.
    static constexpr DWORD StopGraceMs = 500;

    explicit Recorder(const RecordingJob& job);
    // Closes the output file if one is still open and the thread handle.
    virtual ~Recorder();

    Recorder(const Recorder&) = delete;
    Recorder& operator=(const Recorder&) = delete;

    // The recording loop, on the worker thread; returns after the final
    // report.
    virtual void Run() = 0;
    // Asks the worker to end; it does so after the read in progress.
    virtual void Stop();

    // Starts the worker thread (CreateThread), which resolves the address
    // and calls Run. Only once per recorder; false when the thread could not
    // be created (nothing is reported then).
    bool Start();

    bool IsStopRequested() const { return m_stop.load(); }
    // The worker thread procedure has returned: every report is made.
    bool HasEnded() const { return m_ended.load(); }
    // The state of the final report (0 or -1); -1 before it is made.
    int GetFinalState() const { return m_finalState.load(); }
    // The recording made its output file.
    bool HasCreatedFile() const { return m_file.WasCreated(); }
    // The address Run reads (set by the worker before Run).
    const std::wstring& GetAddress() const { return m_address; }
    const RecordingJob& GetJob() const { return m_job; }

    // Worker threads started and not yet ended, over all recorders.
    static int GetRunningCount();

protected:
    // Forwards a report to the sink (worker thread).
    void Notify(int state, uint64_t bytes);

    // Creates the job's file now rather than at the first bytes; false when
    // it exists already or cannot be made.
    bool OpenFile();
    // All n bytes written (the file is created at the first bytes); false
    // when the file cannot be made or written.
    bool Write(const void* data, size_t n);
    // What a read from the stream gave: n bytes to keep (written and
    // counted in m_byteCount), or n <= 0 for the end of the stream, a stall
    // or a stop request that cut the wait short. False when the recording
    // ends with this read; failed then tells whether it ended badly (only a
    // stop request ends it well).
    bool KeepReceived(const char* data, int n, bool& failed);
    void CloseFile();
    // What the recorder's network waits watch: its stop flag, the stop's
    // grace, the handshake time-out and the job's stall time-out.
    StreamWatch MakeWatch() const;
    // The recording got past its handshake: its time-out no longer counts.
    void EndHandshake() { m_inHandshake = false; }

    uint64_t m_byteCount = 0;

private:
    static DWORD WINAPI ThreadProc(void* parameter);
    // Resolves the address; false (and the final report made) when there is
    // none or a stop came first.
    bool ResolveAddress();
    // A stop was asked for more than StopGraceMs ago.
    bool IsStopOverdue() const;
    // Worker thread only.
    bool IsHandshakeOverdue() const;
    bool ShouldAbandonWait() const { return IsStopRequested() || IsHandshakeOverdue(); }
    // After something thrown on the worker: the final report is a failure,
    // made unless a final report was made already.
    void ReportFailureOnce();

    std::atomic<bool> m_stop{false};
    // GetTickCount of the first stop request (never 0 once made).
    std::atomic<DWORD> m_stopTick{0};
    bool m_inHandshake = false;
    DWORD m_handshakeStart = 0;
    std::atomic<bool> m_ended{false};
    std::atomic<int> m_finalState{Failed};
    // A final report went to the sink (worker thread only).
    bool m_finalReported = false;
    RecordingJob m_job;
    std::wstring m_address;
    RecordingFile m_file;
    HANDLE m_thread = nullptr;
};
