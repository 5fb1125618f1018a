#pragma once
// A tiny HTTP/1.0 server on 127.0.0.1 (ephemeral port) for the grabber
// tests: it answers each request from a table of canned responses, one
// request per connection, and records what it was asked.

#include <winsock2.h>

#include <atomic>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

class LocalHttpServer {
public:
    struct Request {
        std::string target;   // as sent in the request line
        std::string headers;  // everything after the request line
    };

    LocalHttpServer();
    ~LocalHttpServer();
    LocalHttpServer(const LocalHttpServer&) = delete;
    LocalHttpServer& operator=(const LocalHttpServer&) = delete;

    bool IsRunning() const { return m_listener != INVALID_SOCKET; }
    unsigned short GetPort() const { return m_port; }

    // The response for a path (the target with any leading "/" dropped, so
    // that "x.html" and "/x.html" meet); extraHeaders end with "\r\n" each.
    void SetPage(const std::string& path, const std::string& body, const std::string& extraHeaders = "");
    std::vector<Request> GetRequests() const;

private:
    void Serve();
    void Answer(SOCKET client);

    SOCKET m_listener = INVALID_SOCKET;
    unsigned short m_port = 0;
    bool m_winsockUp = false;
    std::atomic<bool> m_stopping{false};
    std::thread m_thread;
    mutable std::mutex m_lock;
    std::map<std::string, std::string> m_responses;
    std::vector<Request> m_requests;
};
