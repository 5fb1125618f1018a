#pragma once
// One libmms session, over MMS (TCP) or, when that does not connect, over
// MMS over HTTP; closed with the object.
//
// The library's socket work goes through the session's own I/O table: its
// connects, sends and receives give up when the server stalls and return
// soon after a stop request (StreamSocket.h). The library closes its
// sockets itself.

#include "player/recording/StreamSocket.h"

#include <mmsio.h>

#include <string>

struct mms_s;
struct mmsh_s;

class MmsSession {
public:
    MmsSession();
    ~MmsSession() { Close(); }

    MmsSession(const MmsSession&) = delete;
    MmsSession& operator=(const MmsSession&) = delete;

    // Tries MMS over TCP, then MMS over HTTP, with the same address and a
    // bandwidth of 2000; false when neither connects. watch holds for every
    // later read too.
    bool Connect(const std::string& url, const StreamWatch& watch);
    // Up to size bytes; 0 or less at the end of the stream, on an error, a
    // stall or a stop request.
    int Read(char* buffer, int size);
    void Close();

    bool IsOpen() const { return m_tcp || m_http; }
    bool IsOverHttp() const { return m_http != nullptr; }

private:
    static int ConnectSocket(void* session, const char* host, int port);
    static mms_off_t ReadSocket(void* session, int socket, char* buffer, mms_off_t size);
    static mms_off_t WriteSocket(void* session, int socket, char* buffer, mms_off_t size);
    static int SelectSocket(void* session, int socket, int state, int timeoutMs);

    StreamWatch m_watch;
    mms_io_t m_io = {};
    mms_s* m_tcp = nullptr;
    mmsh_s* m_http = nullptr;
};
