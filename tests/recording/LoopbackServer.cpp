#include "tests/recording/LoopbackServer.h"

namespace {

sockaddr_in Loopback(unsigned short port)
{
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(port);
    return address;
}

} // namespace

LoopbackServer::LoopbackServer(Handler handler) : m_handler(std::move(handler))
{
    SOCKET listener = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (listener == INVALID_SOCKET)
        return;
    sockaddr_in address = Loopback(0);
    int length = sizeof(address);
    if (bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0 ||
        listen(listener, 16) != 0 ||
        getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        closesocket(listener);
        return;
    }
    m_port = ntohs(address.sin_port);
    m_listener = listener;
    m_acceptor = std::thread([this] { Serve(); });
}

LoopbackServer::~LoopbackServer()
{
    m_stopping = true;
    if (m_acceptor.joinable()) {
        // A last connection of our own wakes the blocked accept.
        SOCKET waker = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        sockaddr_in address = Loopback(m_port);
        connect(waker, reinterpret_cast<sockaddr*>(&address), sizeof(address));
        m_acceptor.join();
        closesocket(waker);
    }
    if (m_listener != INVALID_SOCKET)
        closesocket(m_listener);
    std::vector<std::thread> workers;
    {
        std::lock_guard<std::mutex> lock(m_lock);
        workers.swap(m_workers);
    }
    for (std::thread& worker : workers)
        worker.join();
}

void LoopbackServer::Serve()
{
    for (;;) {
        SOCKET client = accept(m_listener, nullptr, nullptr);
        if (client == INVALID_SOCKET)
            return;
        if (m_stopping) {
            closesocket(client);
            return;
        }
        ++m_connections;
        std::lock_guard<std::mutex> lock(m_lock);
        m_workers.emplace_back([this, client] {
            m_handler(client);
            closesocket(client);
        });
    }
}

std::string LoopbackServer::ReadRequest(SOCKET client, std::string prefix)
{
    std::string request = std::move(prefix);
    char buffer[2048];
    while (request.find("\r\n\r\n") == std::string::npos && request.size() < 65536) {
        const int got = recv(client, buffer, sizeof(buffer), 0);
        if (got <= 0)
            break;
        request.append(buffer, static_cast<size_t>(got));
    }
    return request;
}

bool LoopbackServer::SendAll(SOCKET client, const std::string& bytes)
{
    size_t sent = 0;
    while (sent < bytes.size()) {
        const int put = send(client, bytes.data() + sent, static_cast<int>(bytes.size() - sent), 0);
        if (put <= 0)
            return false;
        sent += static_cast<size_t>(put);
    }
    return true;
}

unsigned short LoopbackServer::UnusedPort()
{
    SOCKET probe = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address = Loopback(0);
    int length = sizeof(address);
    unsigned short port = 0;
    if (bind(probe, reinterpret_cast<sockaddr*>(&address), sizeof(address)) == 0 &&
        getsockname(probe, reinterpret_cast<sockaddr*>(&address), &length) == 0)
        port = ntohs(address.sin_port);
    closesocket(probe);
    return port;
}
