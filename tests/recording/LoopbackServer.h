#pragma once
// The recorder tests' server on 127.0.0.1: every accepted connection runs the
// test's handler on a thread of its own, so that a stream can go on while
// another request comes. Handlers that stream until told to should watch
// IsStopping.

#include "tests/support/LocalTcpServer.h"

#include <string>
#include <utility>

class LoopbackServer : public LocalTcpServer {
public:
    explicit LoopbackServer(Handler handler) : LocalTcpServer(std::move(handler), Dispatch::ThreadPerConnection) {}

    // Reads until the blank line that ends an HTTP request's headers (or
    // until the peer stops sending); what came, prefix included.
    static std::string ReadRequest(SOCKET client, std::string prefix = std::string())
    {
        ReadRequestHead(client, prefix);
        return prefix;
    }
};
