#pragma once
// One libmms session, over MMS (TCP) or, when that does not connect, over
// MMS over HTTP; closed with the object.

#include <string>

struct mms_s;
struct mmsh_s;

class MmsSession {
public:
    MmsSession() = default;
    ~MmsSession() { Close(); }

    MmsSession(const MmsSession&) = delete;
    MmsSession& operator=(const MmsSession&) = delete;

    // Tries MMS over TCP, then MMS over HTTP, with the same address and a
    // bandwidth of 2000; false when neither connects.
    bool Connect(const std::string& url);
    // Up to size bytes; 0 or less at the end of the stream or on an error.
    int Read(char* buffer, int size);
    void Close();

    bool IsOpen() const { return m_tcp || m_http; }
    bool IsOverHttp() const { return m_http != nullptr; }

private:
    mms_s* m_tcp = nullptr;
    mmsh_s* m_http = nullptr;
};
