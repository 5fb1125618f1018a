#pragma once
// A radio station on 127.0.0.1 for the recording roads: it answers the
// HTTP audio recorder's request (its "WinampMPEG" agent) with a response
// head and an endless stream of silent MPEG-1 Layer III frames, a few
// frames every 20 ms; other requests get 404. A test can hold the stream
// (nothing more is sent) and release it (a short last block goes out, then the
// connection stays open until the recorder closes it), so that a stopped
// recording can be compared byte for byte with what was sent.

#include "tests/support/LocalTcpServer.h"

#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

class Mp3StreamServer {
public:
    static const char ResponseHead[];
    // 128 kbit/s, 44.1 kHz, mono, no CRC.
    static constexpr size_t FrameLength = 417;

    Mp3StreamServer();
    ~Mp3StreamServer();

    bool IsRunning() const { return m_server->IsRunning(); }
    unsigned short GetPort() const { return m_server->GetPort(); }
    std::wstring GetUrl() const;

    // Stops every stream after the block under way; true once each stream
    // under way has stopped sending.
    void Hold();
    bool WaitUntilHeld(DWORD timeoutMs = 10000);
    // A short last block on each held stream.
    void Release();

    // Streams served so far, and what went out on each, head included.
    size_t GetStreamCount() const;
    std::string GetSent(size_t stream) const;

    // count silent frames.
    static std::string SilentFrames(size_t count);

private:
    void Handle(SOCKET client);
    // Sends and notes the bytes of a stream; false when the peer is gone.
    bool Put(SOCKET client, size_t stream, const std::string& bytes);
    // Waits for the release (true) or the server's end (false).
    bool WaitForRelease();
    void StopSending();

    mutable std::mutex m_lock;
    std::condition_variable m_changed;
    bool m_holding = false;
    bool m_released = false;
    int m_sending = 0;
    std::atomic<bool> m_stopping{false};
    std::vector<std::string> m_sent;
    std::unique_ptr<LocalTcpServer> m_server;
};
