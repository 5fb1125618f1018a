#pragma once
// The two stream servers the recorders meet in the tests, on 127.0.0.1:
//  - AudioStreamServer: a plain HTTP audio stream (any bytes), endless,
//    closing or falling silent (the connection held open) after a given
//    count, or a connection closed at once;
//  - FakeMmsServer: MMS over HTTP as libmms speaks it (an ASF header and
//    data packets), which turns away MMS over TCP, or closes everything, or
//    falls silent after its packets.

#include "tests/recording/LoopbackServer.h"

#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

// The bytes a stream server sends from offset on.
std::string StreamBytes(size_t offset, size_t count);

class AudioStreamServer {
public:
    enum class Mode { Endless, CloseAfterBytes, StallAfterBytes, CloseAtOnce };

    static const char ResponseHead[];

    explicit AudioStreamServer(Mode mode, size_t bytes = 0);

    unsigned short GetPort() const { return m_server->GetPort(); }
    // The first request, as it came.
    std::string GetRequest() const;
    // Everything sent on the first connection.
    std::string GetSent() const;

private:
    void Handle(SOCKET client);

    Mode m_mode;
    size_t m_bytes;
    mutable std::mutex m_lock;
    std::string m_request;
    std::string m_sent;
    bool m_answered = false;
    std::unique_ptr<LoopbackServer> m_server;
};

class FakeMmsServer {
public:
    // StallAfterPackets: the stream's packets, then silence with the
    // connection open until the server goes.
    enum class Mode { CloseEverything, Serve, ServeAfterRelease, StallAfterPackets };

    static constexpr size_t PacketLength = 1000;

    FakeMmsServer(Mode mode, int packets);
    // Releases a held stream so that the server can end.
    ~FakeMmsServer();

    unsigned short GetPort() const { return m_server->GetPort(); }
    int GetConnectionCount() const { return m_server->GetConnectionCount(); }
    // Connections that spoke MMS over TCP (turned away).
    int GetTcpAttempts() const;
    // Request lines of the HTTP requests, in order.
    std::vector<std::string> GetRequestLines() const;

    // ServeAfterRelease: waits until the stream request arrived; Release
    // lets the server answer it.
    bool WaitForStreamRequest(DWORD timeoutMs = 30000);
    void Release();
    // Waits until the whole stream answer went out.
    bool WaitForStreamSent(DWORD timeoutMs = 30000);

    // What a recording of the whole stream holds: the ASF header and the
    // packets.
    std::string ExpectedRecording() const;
    static std::string AsfHeader();

private:
    void Handle(SOCKET client);

    Mode m_mode;
    int m_packets;
    mutable std::mutex m_lock;
    std::condition_variable m_changed;
    int m_tcpAttempts = 0;
    std::vector<std::string> m_requestLines;
    bool m_streamRequested = false;
    bool m_streamSent = false;
    bool m_released = false;
    std::unique_ptr<LoopbackServer> m_server;
};
