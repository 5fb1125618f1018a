#pragma once
// A TCP server on 127.0.0.1 at a port the system picks, for tests that talk
// to a small server of their own: connections are accepted on the server's
// thread, and each goes to the handler (one after the other, or each on a
// thread of its own) and is closed after it. The destructor stops the server
// (IsStopping; a last connection of its own wakes the blocked accept) and
// waits for every thread, so that no handler runs once it is gone. Header-only, so that a server built on it stays the
// one source file its tests compile.

#include <winsock2.h>

#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

class LocalTcpServer {
public:
    using Handler = std::function<void(SOCKET client)>;

    enum class Dispatch { OneAtATime, ThreadPerConnection };

    explicit LocalTcpServer(Handler handler, Dispatch dispatch = Dispatch::OneAtATime)
        : m_handler(std::move(handler)), m_dispatch(dispatch)
    {
        WSADATA data;
        m_winsockUp = WSAStartup(MAKEWORD(2, 2), &data) == 0;
        if (!m_winsockUp)
            return;
        SOCKET listener = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        if (listener == INVALID_SOCKET)
            return;
        sockaddr_in address = LoopbackAddress(0);
        int length = sizeof(address);
        if (bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0 ||
            listen(listener, 16) != 0 ||
            getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
            closesocket(listener);
            return;
        }
        m_port = ntohs(address.sin_port);
        m_listener = listener;
        m_thread = std::thread([this] { Serve(); });
    }

    ~LocalTcpServer()
    {
        m_stopping = true;
        if (m_thread.joinable()) {
            SOCKET waker = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
            sockaddr_in address = LoopbackAddress(m_port);
            connect(waker, reinterpret_cast<sockaddr*>(&address), sizeof(address));
            m_thread.join();
            closesocket(waker);
        }
        if (m_listener != INVALID_SOCKET)
            closesocket(m_listener);
        std::vector<std::thread> workers;
        {
            std::lock_guard<std::mutex> lock(m_workersLock);
            workers.swap(m_workers);
        }
        for (std::thread& worker : workers)
            worker.join();
        if (m_winsockUp)
            WSACleanup();
    }

    LocalTcpServer(const LocalTcpServer&) = delete;
    LocalTcpServer& operator=(const LocalTcpServer&) = delete;

    bool IsRunning() const { return m_listener != INVALID_SOCKET; }
    unsigned short GetPort() const { return m_port; }
    // The destructor has begun: long-running handlers should return.
    bool IsStopping() const { return m_stopping.load(); }
    // Connections handed to the handler so far.
    int GetConnectionCount() const { return m_connections.load(); }

    // Reads up to the blank line that ends a request's head (or 64 KiB of
    // it) into head; false when the peer stopped sending before that.
    static bool ReadRequestHead(SOCKET client, std::string& head)
    {
        char buffer[4096];
        while (head.find("\r\n\r\n") == std::string::npos && head.size() < 65536) {
            const int got = recv(client, buffer, sizeof(buffer), 0);
            if (got <= 0)
                return false;
            head.append(buffer, static_cast<size_t>(got));
        }
        return true;
    }

    // Sends every byte; false when the connection failed first.
    static bool SendAll(SOCKET client, const char* data, size_t size)
    {
        size_t sent = 0;
        while (sent < size) {
            const int put = send(client, data + sent, static_cast<int>(size - sent), 0);
            if (put <= 0)
                return false;
            sent += static_cast<size_t>(put);
        }
        return true;
    }
    static bool SendAll(SOCKET client, const std::string& bytes) { return SendAll(client, bytes.data(), bytes.size()); }

    // A port on 127.0.0.1 on which nothing listens.
    static unsigned short UnusedPort()
    {
        SOCKET probe = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        sockaddr_in address = LoopbackAddress(0);
        int length = sizeof(address);
        unsigned short port = 0;
        if (bind(probe, reinterpret_cast<sockaddr*>(&address), sizeof(address)) == 0 &&
            getsockname(probe, reinterpret_cast<sockaddr*>(&address), &length) == 0)
            port = ntohs(address.sin_port);
        closesocket(probe);
        return port;
    }

private:
    static sockaddr_in LoopbackAddress(unsigned short port)
    {
        sockaddr_in address = {};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        address.sin_port = htons(port);
        return address;
    }

    void Serve()
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
            if (m_dispatch == Dispatch::OneAtATime) {
                m_handler(client);
                closesocket(client);
                continue;
            }
            std::lock_guard<std::mutex> lock(m_workersLock);
            m_workers.emplace_back([this, client] {
                m_handler(client);
                closesocket(client);
            });
        }
    }

    Handler m_handler;
    Dispatch m_dispatch;
    SOCKET m_listener = INVALID_SOCKET;
    unsigned short m_port = 0;
    bool m_winsockUp = false;
    std::atomic<bool> m_stopping{false};
    std::atomic<int> m_connections{0};
    std::mutex m_workersLock;
    std::vector<std::thread> m_workers;
    std::thread m_thread;
};
