#pragma once
// A TCP server on 127.0.0.1 (ephemeral port) for the recorder tests: every
// accepted connection runs the test's handler on a thread of its own. The
// destructor tells the handlers to stop (IsStopping), closes the listener
// and joins every thread.

#include <winsock2.h>

#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

class LoopbackServer {
public:
    using Handler = std::function<void(SOCKET client)>;

    explicit LoopbackServer(Handler handler);
    ~LoopbackServer();
    LoopbackServer(const LoopbackServer&) = delete;
    LoopbackServer& operator=(const LoopbackServer&) = delete;

    bool IsRunning() const { return m_listener != INVALID_SOCKET; }
    unsigned short GetPort() const { return m_port; }
    bool IsStopping() const { return m_stopping.load(); }
    int GetConnectionCount() const { return m_connections.load(); }

    // Reads until the blank line that ends an HTTP request's headers (or
    // until the peer stops sending); what came, prefix included.
    static std::string ReadRequest(SOCKET client, std::string prefix = std::string());
    static bool SendAll(SOCKET client, const std::string& bytes);
    // A port on 127.0.0.1 on which nothing listens.
    static unsigned short UnusedPort();

private:
    void Serve();

    Handler m_handler;
    SOCKET m_listener = INVALID_SOCKET;
    unsigned short m_port = 0;
    std::atomic<bool> m_stopping{false};
    std::atomic<int> m_connections{0};
    std::thread m_acceptor;
    std::mutex m_lock;
    std::vector<std::thread> m_workers;
};
