#include "player/recording/MmsSession.h"

#include <mms.h>
#include <mmsh.h>

namespace {

constexpr int Bandwidth = 2000;

} // namespace

MmsSession::MmsSession()
{
    m_io.select = &MmsSession::SelectSocket;
    m_io.select_data = this;
    m_io.read = &MmsSession::ReadSocket;
    m_io.read_data = this;
    m_io.write = &MmsSession::WriteSocket;
    m_io.write_data = this;
    m_io.connect = &MmsSession::ConnectSocket;
    m_io.connect_data = this;
}

bool MmsSession::Connect(const std::string& url, const StreamWatch& watch)
{
    Close();
    m_watch = watch;
    m_tcp = mms_connect(&m_io, nullptr, url.c_str(), Bandwidth);
    // After a stop or when the handshake's time is up, the second protocol
    // is not tried.
    if (!m_tcp && !StreamIo::ShouldGiveUp(m_watch))
        m_http = mmsh_connect(&m_io, nullptr, url.c_str(), Bandwidth);
    return IsOpen();
}

int MmsSession::Read(char* buffer, int size)
{
    if (m_tcp)
        return mms_read(&m_io, m_tcp, buffer, size);
    if (m_http)
        return mmsh_read(&m_io, m_http, buffer, size);
    return -1;
}

void MmsSession::Close()
{
    if (m_tcp) {
        mms_close(m_tcp);
        m_tcp = nullptr;
    }
    if (m_http) {
        mmsh_close(m_http);
        m_http = nullptr;
    }
}

int MmsSession::ConnectSocket(void* session, const char* host, int port)
{
    const MmsSession& self = *static_cast<const MmsSession*>(session);
    if (!host || port <= 0 || port > 0xFFFF)
        return -1;
    const SOCKET socket = StreamIo::Connect(host, static_cast<unsigned short>(port), self.m_watch);
    return socket == INVALID_SOCKET ? -1 : static_cast<int>(socket);
}

// The library asks for whole units (a header, a packet): the read goes on
// until size bytes came, the stream ended or the connection failed; what
// came before a failure is given, and the next read fails.
mms_off_t MmsSession::ReadSocket(void* session, int socket, char* buffer, mms_off_t size)
{
    const MmsSession& self = *static_cast<const MmsSession*>(session);
    mms_off_t done = 0;
    while (done < size) {
        const mms_off_t left = size - done;
        const int wanted = left > 0x10000 ? 0x10000 : static_cast<int>(left);
        const int got = StreamIo::Receive(static_cast<SOCKET>(socket), buffer + done, wanted, self.m_watch);
        if (got == 0)
            break;
        if (got < 0)
            return done > 0 ? done : -1;
        done += got;
    }
    return done;
}

mms_off_t MmsSession::WriteSocket(void* session, int socket, char* buffer, mms_off_t size)
{
    const MmsSession& self = *static_cast<const MmsSession*>(session);
    if (size < 0)
        return -1;
    return StreamIo::SendAll(static_cast<SOCKET>(socket), buffer, static_cast<size_t>(size), self.m_watch) ? size
                                                                                                            : -1;
}

// The library's own select, kept for completeness: nothing of its MMS and
// MMS over HTTP code calls it.
int MmsSession::SelectSocket(void*, int socket, int state, int timeoutMs)
{
    fd_set set;
    FD_ZERO(&set);
    FD_SET(static_cast<SOCKET>(socket), &set);
    timeval timeout = {timeoutMs / 1000, (timeoutMs % 1000) * 1000};
    return ::select(0, state == MMS_IO_READ_READY ? &set : nullptr, state == MMS_IO_WRITE_READY ? &set : nullptr,
                    nullptr, &timeout);
}
