#pragma once
// A tiny HTTP/1.0 server on 127.0.0.1 (ephemeral port) for the tests that
// fetch pages: it answers each request from a table of canned responses, one
// request per connection, and records what it was asked.

#include "tests/support/LocalTcpServer.h"

#include <map>
#include <mutex>
#include <string>
#include <vector>

class LocalHttpServer {
public:
    struct Request {
        std::string target;   // as sent in the request line
        std::string headers;  // everything after the request line
    };

    LocalHttpServer();
    LocalHttpServer(const LocalHttpServer&) = delete;
    LocalHttpServer& operator=(const LocalHttpServer&) = delete;

    bool IsRunning() const { return m_server.IsRunning(); }
    unsigned short GetPort() const { return m_server.GetPort(); }

    // The response for a path (the target with any leading "/" dropped, so
    // that "x.html" and "/x.html" meet); extraHeaders end with "\r\n" each.
    void SetPage(const std::string& path, const std::string& body, const std::string& extraHeaders = "");
    std::vector<Request> GetRequests() const;

private:
    void Answer(SOCKET client);

    mutable std::mutex m_lock;
    std::map<std::string, std::string> m_responses;
    std::vector<Request> m_requests;
    // Last: it goes first, so no answer runs once the tables are gone.
    LocalTcpServer m_server;
};
