#include "tests/grabbers/LocalHttpServer.h"

#include <ws2tcpip.h>

namespace {

std::string PathOf(const std::string& target)
{
    size_t start = 0;
    while (start < target.size() && target[start] == '/')
        ++start;
    return target.substr(start);
}

} // namespace

LocalHttpServer::LocalHttpServer()
{
    WSADATA data;
    m_winsockUp = WSAStartup(MAKEWORD(2, 2), &data) == 0;
    if (!m_winsockUp)
        return;
    SOCKET listener = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (listener == INVALID_SOCKET)
        return;
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;
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

LocalHttpServer::~LocalHttpServer()
{
    if (m_thread.joinable()) {
        // A last connection of our own wakes the blocked accept.
        m_stopping = true;
        SOCKET waker = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        sockaddr_in address = {};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        address.sin_port = htons(m_port);
        connect(waker, reinterpret_cast<sockaddr*>(&address), sizeof(address));
        m_thread.join();
        closesocket(waker);
    }
    if (m_listener != INVALID_SOCKET)
        closesocket(m_listener);
    if (m_winsockUp)
        WSACleanup();
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

void LocalHttpServer::Serve()
{
    for (;;) {
        SOCKET client = accept(m_listener, nullptr, nullptr);
        if (client == INVALID_SOCKET)
            return;
        if (m_stopping) {
            closesocket(client);
            return;
        }
        Answer(client);
        closesocket(client);
    }
}

void LocalHttpServer::Answer(SOCKET client)
{
    std::string request;
    char buffer[4096];
    while (request.find("\r\n\r\n") == std::string::npos && request.size() < 65536) {
        const int got = recv(client, buffer, sizeof(buffer), 0);
        if (got <= 0)
            return;
        request.append(buffer, static_cast<size_t>(got));
    }
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
    size_t sent = 0;
    while (sent < response.size()) {
        const int put = send(client, response.data() + sent, static_cast<int>(response.size() - sent), 0);
        if (put <= 0)
            break;
        sent += static_cast<size_t>(put);
    }
    shutdown(client, SD_SEND);
}
