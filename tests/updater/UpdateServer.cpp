#include "tests/updater/UpdateServer.h"

#include <algorithm>

namespace {

constexpr const char* FolderPath = "/downloads/";

std::string StatusLine(int status)
{
    switch (status) {
    case 200:
        return "200 OK";
    case 404:
        return "404 Not Found";
    case 500:
        return "500 Internal Server Error";
    default:
        return std::to_string(status) + " Status";
    }
}

} // namespace

UpdateServer::UpdateServer()
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

UpdateServer::~UpdateServer()
{
    Release();
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

std::wstring UpdateServer::FolderUrl() const
{
    return L"http://127.0.0.1:" + std::to_wstring(m_port) + L"/downloads/";
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

void UpdateServer::Serve()
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

bool UpdateServer::SendAll(SOCKET client, const char* data, size_t size)
{
    size_t sent = 0;
    while (sent < size) {
        const int put = send(client, data + sent, static_cast<int>(size - sent), 0);
        if (put <= 0)
            return false;
        sent += static_cast<size_t>(put);
    }
    return true;
}

void UpdateServer::Answer(SOCKET client)
{
    std::string request;
    char buffer[4096];
    while (request.find("\r\n\r\n") == std::string::npos && request.size() < 65536) {
        const int got = recv(client, buffer, sizeof(buffer), 0);
        if (got <= 0)
            return;
        request.append(buffer, static_cast<size_t>(got));
    }
    const size_t firstBlank = request.find(' ');
    const size_t secondBlank = request.find(' ', firstBlank + 1);
    std::string target = firstBlank == std::string::npos
                             ? std::string()
                             : request.substr(firstBlank + 1, secondBlank - firstBlank - 1);

    File file{std::string(), 404, true};
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
    if (file.sendLength)
        head += "Content-Length: " + std::to_string(file.body.size()) + "\r\n";
    head += "\r\n";
    if (!SendAll(client, head.data(), head.size()))
        return;
    size_t first = std::min(file.holdAfter, file.body.size());
    if (!SendAll(client, file.body.data(), first))
        return;
    if (first < file.body.size()) {
        m_holding = true;
        std::unique_lock<std::mutex> lock(m_lock);
        m_released.wait(lock, [this] { return m_release; });
        lock.unlock();
        SendAll(client, file.body.data() + first, file.body.size() - first);
    }
    shutdown(client, SD_SEND);
}
