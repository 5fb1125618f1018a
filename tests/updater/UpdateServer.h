#pragma once
// A small HTTP/1.0 server on 127.0.0.1 (ephemeral port) standing in for the
// maker's download folder: it serves files by path from a table, one request
// per connection, with or without a Content-Length, with any status, and can
// hold a response half-sent until the test releases it.

#include "tests/support/LocalTcpServer.h"

#include <atomic>
#include <cstdint>
#include <condition_variable>
#include <map>
#include <mutex>
#include <string>

class UpdateServer {
public:
    struct File {
        std::string body;
        int status = 200;
        bool sendLength = true;
        // Send the headers and this many bytes of the body, then wait for
        // Release() before the rest.
        size_t holdAfter = std::string::npos;
        // Sent as a Location header (with a 3xx status: a redirect).
        std::string location;
        // The Content-Length sent, when not the body's own (a response that
        // breaks off).
        size_t announcedLength = std::string::npos;
        // After the body, filler bytes for as long as the client reads them
        // (at most a few hundred megabytes): a server that never ends.
        bool endless = false;
        // The body a byte at a time, this long apart (0: at once).
        unsigned dripEveryMs = 0;
        // The head so, with a long padding header, before the rest (0: at
        // once): a server that never lets the request end.
        unsigned dripHeadEveryMs = 0;
    };

    UpdateServer();
    ~UpdateServer();
    UpdateServer(const UpdateServer&) = delete;
    UpdateServer& operator=(const UpdateServer&) = delete;

    bool IsRunning() const { return m_server.IsRunning(); }
    // "http://127.0.0.1:<port>/downloads/": the folder the files lie in.
    std::wstring FolderUrl() const;
    unsigned short Port() const { return m_server.GetPort(); }

    // Serves file at /downloads/<name>; other paths get 404.
    void Put(const std::string& name, const File& file);
    void Put(const std::string& name, const std::string& body)
    {
        File file;
        file.body = body;
        Put(name, file);
    }
    void Remove(const std::string& name);
    // Lets held responses go on (also those that start later).
    void Release();
    // Requests that asked for /downloads/<name> so far.
    int RequestCount(const std::string& name) const;
    // A held response has sent its first part.
    bool IsHolding() const { return m_holding; }
    // Filler bytes an endless file sent before its client went away.
    uint64_t FillerSent() const { return m_fillerSent; }

private:
    void Answer(SOCKET client);

    std::atomic<bool> m_holding{false};
    std::atomic<uint64_t> m_fillerSent{0};
    mutable std::mutex m_lock;
    std::condition_variable m_released;
    bool m_release = false;
    std::map<std::string, File> m_files;
    std::map<std::string, int> m_requests;
    // Last, so that it stops (and no request is answered) before the rest goes.
    // A dripping answer ends (the connection is closed) at Release or when
    // the server stops.
    bool IsDripEnded();
    LocalTcpServer m_server;
};
