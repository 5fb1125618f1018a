#include "tests/grabbers/LocalHttpServer.h"

namespace {

std::string PathOf(const std::string& target)
{
    size_t start = 0;
    while (start < target.size() && target[start] == '/')
        ++start;
    return target.substr(start);
}

} // namespace

LocalHttpServer::LocalHttpServer() : m_server([this](SOCKET client) { Answer(client); })
{
}

void LocalHttpServer::SetPage(const std::string& path, const std::string& body, const std::string& extraHeaders)
{
    std::string response = "HTTP/1.0 200 OK\r\nContent-Type: text/html\r\n" + extraHeaders +
                           "Content-Length: " + std::to_string(body.size()) + "\r\nConnection: close\r\n\r\n" + body;
    std::lock_guard<std::mutex> lock(m_lock);
    m_responses[PathOf(path)] = response;
}

std::vector<LocalHttpServer::Request> LocalHttpServer::GetRequests() const
{
    std::lock_guard<std::mutex> lock(m_lock);
    return m_requests;
}

void LocalHttpServer::Answer(SOCKET client)
{
    std::string request;
    if (!LocalTcpServer::ReadRequestHead(client, request))
        return;
    const size_t lineEnd = request.find("\r\n");
    const std::string line = request.substr(0, lineEnd);
    const size_t firstBlank = line.find(' ');
    const size_t secondBlank = line.find(' ', firstBlank + 1);
    Request seen;
    if (firstBlank != std::string::npos)
        seen.target = line.substr(firstBlank + 1, secondBlank - firstBlank - 1);
    seen.headers = request.substr(lineEnd + 2);

    std::string response = "HTTP/1.0 404 Not Found\r\nContent-Length: 0\r\nConnection: close\r\n\r\n";
    {
        std::lock_guard<std::mutex> lock(m_lock);
        std::string path = PathOf(seen.target);
        auto found = m_responses.find(path);
        if (found == m_responses.end())
            found = m_responses.find(path.substr(0, path.find('?')));
        if (found != m_responses.end())
            response = found->second;
        m_requests.push_back(seen);
    }
    LocalTcpServer::SendAll(client, response);
    shutdown(client, SD_SEND);
}
