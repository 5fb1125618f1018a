#include "player/recording/StreamSocket.h"

#include "player/recording/AbandonableCall.h"

#include <ws2tcpip.h>

#include <algorithm>
#include <memory>

namespace {

// How often a wait looks at the stop request.
constexpr DWORD PollSliceMs = 100;

bool StopRequested(const StreamWatch& watch)
{
    return watch.stopRequested && watch.stopRequested();
}

bool MustEnd(const StreamWatch& watch)
{
    return watch.mustEnd && watch.mustEnd();
}

// How often the wait for an abandoned look-up looks at the watch.
constexpr DWORD LookupPollMs = 50;

using AddressList = std::shared_ptr<addrinfo>;

// The addresses of host, or null. The look-up runs on a thread of its own
// and is left to finish alone when the watch gives up.
AddressList LookUp(const std::string& host, unsigned short port, const StreamWatch& watch)
{
    AddressList found;
    auto lookUp = [host, port]() {
        addrinfo hints = {};
        hints.ai_family = AF_UNSPEC;
        hints.ai_socktype = SOCK_STREAM;
        hints.ai_protocol = IPPROTO_TCP;
        addrinfo* list = nullptr;
        if (::getaddrinfo(host.c_str(), std::to_string(port).c_str(), &hints, &list) != 0)
            return AddressList();
        return AddressList(list, &::freeaddrinfo);
    };
    if (!RunAbandonable<AddressList>(lookUp, [&watch] { return StreamIo::ShouldGiveUp(watch); }, found,
                                     LookupPollMs))
        return AddressList();
    return found;
}

enum class Direction { Read, Write };

// Waits until the socket can be read or written (a connect has ended, for
// Write); false on a stall, a stop request, an error or a failed connect.
// What is ready is taken before a stop counts, so that bytes that arrived
// are never left behind; once the watch must end, nothing more is.
bool WaitFor(SOCKET socket, Direction direction, const StreamWatch& watch)
{
    const DWORD started = ::GetTickCount();
    for (;;) {
        if (MustEnd(watch))
            return false;
        const DWORD elapsed = ::GetTickCount() - started;
        const DWORD slice = elapsed < watch.stallTimeoutMs ? std::min(PollSliceMs, watch.stallTimeoutMs - elapsed) : 0;
        fd_set ready;
        fd_set failed;
        FD_ZERO(&ready);
        FD_ZERO(&failed);
        FD_SET(socket, &ready);
        FD_SET(socket, &failed);
        timeval timeout = {static_cast<long>(slice / 1000), static_cast<long>((slice % 1000) * 1000)};
        const int result = ::select(0, direction == Direction::Read ? &ready : nullptr,
                                    direction == Direction::Write ? &ready : nullptr, &failed, &timeout);
        if (result < 0)
            return false;
        if (result > 0)
            return !FD_ISSET(socket, &failed);
        // Bytes still on their way when a stop comes are waited for until the
        // stop is overdue (mustEnd); a connect or a send ends at the stop.
        const bool stopped = direction == Direction::Read ? MustEnd(watch) : StopRequested(watch);
        if (stopped || ::GetTickCount() - started >= watch.stallTimeoutMs)
            return false;
    }
}

bool SetBlocking(SOCKET socket, bool blocking)
{
    u_long nonBlocking = blocking ? 0 : 1;
    return ::ioctlsocket(socket, FIONBIO, &nonBlocking) == 0;
}

// Backstops for the waits: a blocking call on the socket never outlasts a
// stall.
void SetTimeouts(SOCKET socket, DWORD timeoutMs)
{
    const char* value = reinterpret_cast<const char*>(&timeoutMs);
    if (::setsockopt(socket, SOL_SOCKET, SO_RCVTIMEO, value, sizeof(timeoutMs)) == 0)
        ::setsockopt(socket, SOL_SOCKET, SO_SNDTIMEO, value, sizeof(timeoutMs));
}

SOCKET ConnectTo(const addrinfo& address, const StreamWatch& watch)
{
    ScopedSocket socket;
    socket.Reset(::socket(address.ai_family, address.ai_socktype, address.ai_protocol));
    if (socket.Get() == INVALID_SOCKET || !SetBlocking(socket.Get(), false))
        return INVALID_SOCKET;
    if (::connect(socket.Get(), address.ai_addr, static_cast<int>(address.ai_addrlen)) != 0) {
        if (::WSAGetLastError() != WSAEWOULDBLOCK || !WaitFor(socket.Get(), Direction::Write, watch))
            return INVALID_SOCKET;
        int error = 0;
        int length = sizeof(error);
        if (::getsockopt(socket.Get(), SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&error), &length) != 0 ||
            error != 0)
            return INVALID_SOCKET;
    }
    if (!SetBlocking(socket.Get(), true))
        return INVALID_SOCKET;
    SetTimeouts(socket.Get(), watch.stallTimeoutMs);
    return socket.Release();
}

} // namespace

void ScopedSocket::Reset(SOCKET socket)
{
    if (m_socket != INVALID_SOCKET)
        ::closesocket(m_socket);
    m_socket = socket;
}

SOCKET ScopedSocket::Release()
{
    const SOCKET socket = m_socket;
    m_socket = INVALID_SOCKET;
    return socket;
}

namespace StreamIo {

bool ShouldGiveUp(const StreamWatch& watch)
{
    return StopRequested(watch) || MustEnd(watch);
}

SOCKET Connect(const std::string& host, unsigned short port, const StreamWatch& watch)
{
    if (host.empty() || ShouldGiveUp(watch))
        return INVALID_SOCKET;
    const AddressList found = LookUp(host, port, watch);
    SOCKET connected = INVALID_SOCKET;
    for (const addrinfo* address = found.get(); address && connected == INVALID_SOCKET;
         address = address->ai_next) {
        if (ShouldGiveUp(watch))
            break;
        connected = ConnectTo(*address, watch);
    }
    return connected;
}

int Receive(SOCKET socket, char* buffer, int size, const StreamWatch& watch)
{
    if (!WaitFor(socket, Direction::Read, watch))
        return -1;
    const int received = ::recv(socket, buffer, size, 0);
    return received < 0 ? -1 : received;
}

bool SendAll(SOCKET socket, const char* data, size_t size, const StreamWatch& watch)
{
    size_t sent = 0;
    while (sent < size) {
        if (!WaitFor(socket, Direction::Write, watch))
            return false;
        const int put = ::send(socket, data + sent, static_cast<int>(size - sent), 0);
        if (put <= 0)
            return false;
        sent += static_cast<size_t>(put);
    }
    return true;
}

} // namespace StreamIo
