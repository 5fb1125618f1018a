#include "tests/player/Mp3StreamServer.h"

#include <chrono>

namespace {

const char NotFound[] = "HTTP/1.0 404 Not Found\r\nContent-Length: 0\r\n\r\n";
// What the HTTP audio recorder says it is.
const char RecorderAgent[] = "WinampMPEG";
constexpr size_t FramesPerBlock = 4;
// The last block after a release: less than one receive of the recorder,
// so that a recorder asked to stop takes all of it.
constexpr size_t LastBlockLength = 400;
constexpr DWORD BlockPause = 20;

// Until the peer closes the connection or the server ends.
void DrainUntilClosed(SOCKET client, const std::atomic<bool>& stopping)
{
    char buffer[512];
    while (!stopping.load()) {
        fd_set readable;
        FD_ZERO(&readable);
        FD_SET(client, &readable);
        timeval wait{0, 100 * 1000};
        const int ready = select(0, &readable, nullptr, nullptr, &wait);
        if (ready < 0)
            return;
        if (ready > 0 && recv(client, buffer, sizeof(buffer), 0) <= 0)
            return;
    }
}

} // namespace

const char Mp3StreamServer::ResponseHead[] = "HTTP/1.0 200 OK\r\nContent-Type: audio/mpeg\r\nicy-br: 128\r\n\r\n";

Mp3StreamServer::Mp3StreamServer()
    : m_server(std::make_unique<LocalTcpServer>([this](SOCKET client) { Handle(client); },
                                                LocalTcpServer::Dispatch::ThreadPerConnection))
{
}

Mp3StreamServer::~Mp3StreamServer()
{
    m_stopping = true;
    m_changed.notify_all();
    m_server.reset();
}

std::wstring Mp3StreamServer::GetUrl() const
{
    return L"http://127.0.0.1:" + std::to_wstring(GetPort()) + L"/live.mp3";
}

std::string Mp3StreamServer::SilentFrames(size_t count)
{
    // MPEG-1 Layer III, 128 kbit/s, 44.1 kHz, mono; all-zero side
    // information and main data decode to silence.
    std::string frame(FrameLength, '\0');
    frame[0] = static_cast<char>(0xFF);
    frame[1] = static_cast<char>(0xFB);
    frame[2] = static_cast<char>(0x90);
    frame[3] = static_cast<char>(0xC0);
    std::string frames;
    for (size_t i = 0; i < count; ++i)
        frames += frame;
    return frames;
}

void Mp3StreamServer::Hold()
{
    std::lock_guard<std::mutex> lock(m_lock);
    m_holding = true;
}

bool Mp3StreamServer::WaitUntilHeld(DWORD timeoutMs)
{
    std::unique_lock<std::mutex> lock(m_lock);
    return m_changed.wait_for(lock, std::chrono::milliseconds(timeoutMs), [this] { return m_sending == 0; });
}

void Mp3StreamServer::Release()
{
    {
        std::lock_guard<std::mutex> lock(m_lock);
        m_released = true;
    }
    m_changed.notify_all();
}

size_t Mp3StreamServer::GetStreamCount() const
{
    std::lock_guard<std::mutex> lock(m_lock);
    return m_sent.size();
}

std::string Mp3StreamServer::GetSent(size_t stream) const
{
    std::lock_guard<std::mutex> lock(m_lock);
    return stream < m_sent.size() ? m_sent[stream] : std::string();
}

bool Mp3StreamServer::Put(SOCKET client, size_t stream, const std::string& bytes)
{
    if (!LocalTcpServer::SendAll(client, bytes))
        return false;
    std::lock_guard<std::mutex> lock(m_lock);
    m_sent[stream] += bytes;
    return true;
}

void Mp3StreamServer::StopSending()
{
    {
        std::lock_guard<std::mutex> lock(m_lock);
        --m_sending;
    }
    m_changed.notify_all();
}

bool Mp3StreamServer::WaitForRelease()
{
    std::unique_lock<std::mutex> lock(m_lock);
    while (!m_released && !m_stopping.load())
        m_changed.wait_for(lock, std::chrono::milliseconds(100));
    return m_released;
}

void Mp3StreamServer::Handle(SOCKET client)
{
    std::string request;
    if (!LocalTcpServer::ReadRequestHead(client, request))
        return;
    if (request.find(RecorderAgent) == std::string::npos) {
        LocalTcpServer::SendAll(client, NotFound);
        return;
    }
    size_t stream = 0;
    {
        std::lock_guard<std::mutex> lock(m_lock);
        stream = m_sent.size();
        m_sent.emplace_back();
        ++m_sending;
    }
    const std::string block = SilentFrames(FramesPerBlock);
    bool connected = Put(client, stream, ResponseHead);
    while (connected && !m_stopping.load()) {
        {
            std::lock_guard<std::mutex> lock(m_lock);
            if (m_holding)
                break;
        }
        connected = Put(client, stream, block);
        ::Sleep(BlockPause);
    }
    StopSending();
    if (!connected || !WaitForRelease())
        return;
    if (Put(client, stream, block.substr(0, LastBlockLength)))
        DrainUntilClosed(client, m_stopping);
}
