#pragma once
// The two stream servers the recorders meet in the tests, on 127.0.0.1:
//  - AudioStreamServer: a plain HTTP audio stream (any bytes), endless,
//    closing or falling silent (the connection held open) after a given
//    count, or a connection closed at once;
//  - FakeMmsServer: MMS over HTTP as libmms speaks it (an ASF header, sound
//    or made hostile, and data packets), which turns away MMS over TCP, or
//    closes everything, or falls silent after its packets; or, as a hostile
//    server, floods MMS over TCP with pings in place of its first answer or
//    drips its MMS-over-HTTP answer a byte at a time.

#include "tests/recording/LoopbackServer.h"

#include <atomic>
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

// What is wrong with the ASF header a FakeMmsServer sends.
enum class AsfFault {
    None,
    // The stream bitrate object claims 65535 records and holds one.
    BitrateOverClaim,
    // An object of size 0 amid the header.
    ZeroSizeObject,
    // An object whose size wraps the walk round to before it.
    SizeWrapsRound,
    // The file properties object claims more bytes than the header has.
    ObjectPastTheEnd,
    // A header extension whose inner object has size 0.
    ZeroSizeExtensionObject,
};

class FakeMmsServer {
public:
    // StallAfterPackets: the stream's packets, then silence with the
    // connection open until the server goes. PingFloodOverTcp: MMS over TCP
    // is answered with pings without end (the replies are read and
    // dropped); MMS over HTTP is turned away. DripAnswer: MMS over HTTP is
    // answered one byte every DripIntervalMs.
    enum class Mode { CloseEverything, Serve, ServeAfterRelease, StallAfterPackets, PingFloodOverTcp, DripAnswer };

    static constexpr size_t PacketLength = 1000;
    static constexpr DWORD DripIntervalMs = 200;

    FakeMmsServer(Mode mode, int packets, AsfFault fault = AsfFault::None);
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
    // PingFloodOverTcp: pings sent so far.
    int GetPingsSent() const;

    // What a recording of the whole stream holds: the ASF header and the
    // packets.
    std::string ExpectedRecording() const;
    static std::string AsfHeader(AsfFault fault = AsfFault::None);

private:
    void Handle(SOCKET client);
    void FloodWithPings(SOCKET client);
    void Drip(SOCKET client, const std::string& answer);

    Mode m_mode;
    int m_packets;
    std::string m_header;
    std::atomic<int> m_pingsSent{0};
    // Set as the server goes: the endless handlers end (the server itself is
    // out of reach while it is being deleted).
    std::atomic<bool> m_closing{false};
    mutable std::mutex m_lock;
    std::condition_variable m_changed;
    int m_tcpAttempts = 0;
    std::vector<std::string> m_requestLines;
    bool m_streamRequested = false;
    bool m_streamSent = false;
    bool m_released = false;
    std::unique_ptr<LoopbackServer> m_server;
};
