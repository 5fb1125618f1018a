#pragma once
// TCP for the recorders' workers. Every wait (look-up, connect, send,
// receive) gives up when the peer stays silent for the stall time-out and
// returns soon after a stop request, so that a stalled server can neither keep a
// recording open for ever nor hold up a stop or the program's exit.

#include <winsock2.h>

#include <functional>
#include <string>

struct StreamWatch {
    // Polled while a wait lasts: a look-up, a connect or a send ends soon
    // after it holds. A receive goes on taking the bytes that still come
    // until mustEnd holds too (a stop keeps what arrived).
    std::function<bool()> stopRequested;
    // Polled before every wait and while it lasts; once it holds, every wait
    // fails at once, bytes ready or not: a stop asked long enough ago, or
    // the time for the handshake is up. A server that sends without end
    // cannot hold a stop or a handshake up.
    std::function<bool()> mustEnd;
    // A connect, send or receive that makes no progress for this long fails.
    DWORD stallTimeoutMs = 7000;
};

// Owns a socket and closes it when it goes.
class ScopedSocket {
public:
    ScopedSocket() = default;
    ~ScopedSocket() { Reset(); }
    ScopedSocket(const ScopedSocket&) = delete;
    ScopedSocket& operator=(const ScopedSocket&) = delete;

    void Reset(SOCKET socket = INVALID_SOCKET);
    SOCKET Get() const { return m_socket; }
    // Gives the socket up to a new owner.
    SOCKET Release();

private:
    SOCKET m_socket = INVALID_SOCKET;
};

namespace StreamIo {

// The watch asks a stop, or to end at once.
bool ShouldGiveUp(const StreamWatch& watch);

// A connected socket to the first address of host that answers on port, or
// INVALID_SOCKET (lookup failed, nothing answered, stop requested). The
// host-name look-up is abandoned at a stop request or when the watch must
// end. The socket is blocking again; its receive and send time-outs are the
// stall time-out.
SOCKET Connect(const std::string& host, unsigned short port, const StreamWatch& watch);

// Up to size bytes as soon as some came; 0 when the peer closed the
// connection; -1 on an error, a stall or a stop request.
int Receive(SOCKET socket, char* buffer, int size, const StreamWatch& watch);

// Every byte sent; false on an error, a stall or a stop request.
bool SendAll(SOCKET socket, const char* data, size_t size, const StreamWatch& watch);

} // namespace StreamIo
