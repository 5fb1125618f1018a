#include "player/recording/MmsSession.h"

#include <mms.h>
#include <mmsh.h>

namespace {

constexpr int Bandwidth = 2000;

} // namespace

bool MmsSession::Connect(const std::string& url)
{
    Close();
    m_tcp = mms_connect(nullptr, nullptr, url.c_str(), Bandwidth);
    if (!m_tcp)
        m_http = mmsh_connect(nullptr, nullptr, url.c_str(), Bandwidth);
    return IsOpen();
}

int MmsSession::Read(char* buffer, int size)
{
    if (m_tcp)
        return mms_read(nullptr, m_tcp, buffer, size);
    if (m_http)
        return mmsh_read(nullptr, m_http, buffer, size);
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
