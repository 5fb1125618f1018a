#include "tests/updater/UpdateServer.h"

#include <algorithm>

namespace {

constexpr const char* FolderPath = "/downloads/";

std::string StatusLine(int status)
{
    switch (status) {
    case 200:
        return "200 OK";
    case 302:
        return "302 Found";
    case 404:
        return "404 Not Found";
    case 500:
        return "500 Internal Server Error";
    default:
        return std::to_string(status) + " Status";
    }
}

} // namespace

UpdateServer::UpdateServer() : m_server([this](SOCKET client) { Answer(client); })
{
}

UpdateServer::~UpdateServer()
{
    // A held response must go on, or the server's thread never ends.
    Release();
}

std::wstring UpdateServer::FolderUrl() const
{
    return L"http://127.0.0.1:" + std::to_wstring(m_server.GetPort()) + L"/downloads/";
}

void UpdateServer::Put(const std::string& name, const File& file)
{
    std::lock_guard<std::mutex> lock(m_lock);
    m_files[name] = file;
}

void UpdateServer::Remove(const std::string& name)
{
    std::lock_guard<std::mutex> lock(m_lock);
    m_files.erase(name);
}

bool UpdateServer::IsDripEnded()
{
    std::lock_guard<std::mutex> lock(m_lock);
    return m_release || m_server.IsStopping();
}

void UpdateServer::Release()
{
    std::lock_guard<std::mutex> lock(m_lock);
    m_release = true;
    m_released.notify_all();
}

int UpdateServer::RequestCount(const std::string& name) const
{
    std::lock_guard<std::mutex> lock(m_lock);
    const auto found = m_requests.find(name);
    return found == m_requests.end() ? 0 : found->second;
}

void UpdateServer::Answer(SOCKET client)
{
    std::string request;
    if (!LocalTcpServer::ReadRequestHead(client, request))
        return;
    const size_t firstBlank = request.find(' ');
    const size_t secondBlank = request.find(' ', firstBlank + 1);
    std::string target = firstBlank == std::string::npos
                             ? std::string()
                             : request.substr(firstBlank + 1, secondBlank - firstBlank - 1);

    File file;
    file.status = 404;
    {
        std::lock_guard<std::mutex> lock(m_lock);
        if (target.compare(0, std::char_traits<char>::length(FolderPath), FolderPath) == 0) {
            const std::string name = target.substr(std::char_traits<char>::length(FolderPath));
            ++m_requests[name];
            const auto found = m_files.find(name);
            if (found != m_files.end())
                file = found->second;
        }
    }
    std::string head = "HTTP/1.0 " + StatusLine(file.status) +
                       "\r\nContent-Type: application/octet-stream\r\nCache-Control: no-store\r\n"
                       "Pragma: no-cache\r\nConnection: close\r\n";
    if (!file.location.empty())
        head += "Location: " + file.location + "\r\n";
    if (file.sendLength)
        head += "Content-Length: " +
                std::to_string(file.announcedLength != std::string::npos ? file.announcedLength : file.body.size()) +
                "\r\n";
    if (file.dripHeadEveryMs != 0) {
        head += "X-Padding: " + std::string(400, 'p') + "\r\n\r\n";
        for (char byte : head) {
            if (IsDripEnded() || !LocalTcpServer::SendAll(client, &byte, 1))
                return;
            ::Sleep(file.dripHeadEveryMs);
        }
        head.clear();
    } else {
        head += "\r\n";
    }
    if (!LocalTcpServer::SendAll(client, head.data(), head.size()))
        return;
    if (file.dripEveryMs != 0) {
        for (size_t at = 0; at < file.body.size() && !IsDripEnded() &&
                            LocalTcpServer::SendAll(client, file.body.data() + at, 1);
             ++at)
            ::Sleep(file.dripEveryMs);
        shutdown(client, SD_SEND);
        return;
    }
    size_t first = std::min(file.holdAfter, file.body.size());
    if (!LocalTcpServer::SendAll(client, file.body.data(), first))
        return;
    if (first < file.body.size()) {
        m_holding = true;
        std::unique_lock<std::mutex> lock(m_lock);
        m_released.wait(lock, [this] { return m_release; });
        lock.unlock();
        LocalTcpServer::SendAll(client, file.body.data() + first, file.body.size() - first);
    }
    if (file.endless) {
        const std::string filler(64 * 1024, 'F');
        m_fillerSent = 0;
        for (int block = 0; block < 8192 && LocalTcpServer::SendAll(client, filler.data(), filler.size()); ++block)
            m_fillerSent += filler.size();
    }
    shutdown(client, SD_SEND);
}
