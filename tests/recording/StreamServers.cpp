#include "tests/recording/StreamServers.h"

#include <chrono>

namespace {

void PutLE(std::string& out, uint64_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

void PutGuid(std::string& out, uint32_t data1, uint16_t data2, uint16_t data3, const uint8_t (&data4)[8])
{
    PutLE(out, data1, 4);
    PutLE(out, data2, 2);
    PutLE(out, data3, 2);
    out.append(reinterpret_cast<const char*>(data4), 8);
}

// An MMS-over-HTTP chunk: type, length (extension + payload), an 8-byte
// extension with the sequence number, then the payload.
std::string Chunk(uint16_t type, uint32_t sequence, const std::string& payload)
{
    std::string chunk;
    PutLE(chunk, type, 2);
    PutLE(chunk, 8 + payload.size(), 2);
    PutLE(chunk, sequence, 4);
    PutLE(chunk, 0, 2);
    PutLE(chunk, 8 + payload.size(), 2);
    return chunk + payload;
}

constexpr uint16_t HeaderChunk = 0x4824;
constexpr uint16_t DataChunk = 0x4424;

const char MmshAnswer[] =
    "HTTP/1.0 200 OK\r\nContent-Type: application/vnd.ms.wms-hdr.asfv1\r\n"
    "Pragma: features=\"broadcast\"\r\n\r\n";

std::string RequestLine(const std::string& request)
{
    return request.substr(0, request.find("\r\n"));
}

} // namespace

std::string StreamBytes(size_t offset, size_t count)
{
    std::string bytes(count, '\0');
    for (size_t i = 0; i < count; ++i)
        bytes[i] = static_cast<char>(((offset + i) * 7 + 3) & 0xFF);
    return bytes;
}

const char AudioStreamServer::ResponseHead[] = "HTTP/1.0 200 OK\r\nContent-Type: audio/mpeg\r\n\r\n";

AudioStreamServer::AudioStreamServer(Mode mode, size_t bytes)
    : m_mode(mode), m_bytes(bytes),
      m_server(std::make_unique<LoopbackServer>([this](SOCKET client) { Handle(client); }))
{
}

std::string AudioStreamServer::GetRequest() const
{
    std::lock_guard<std::mutex> lock(m_lock);
    return m_request;
}

std::string AudioStreamServer::GetSent() const
{
    std::lock_guard<std::mutex> lock(m_lock);
    return m_sent;
}

void AudioStreamServer::Handle(SOCKET client)
{
    if (m_mode == Mode::CloseAtOnce)
        return;
    const std::string request = LoopbackServer::ReadRequest(client);
    bool first = false;
    {
        std::lock_guard<std::mutex> lock(m_lock);
        first = !m_answered;
        if (first) {
            m_answered = true;
            m_request = request;
        }
    }
    auto put = [&](const std::string& bytes) {
        if (!LoopbackServer::SendAll(client, bytes))
            return false;
        if (first) {
            std::lock_guard<std::mutex> lock(m_lock);
            m_sent += bytes;
        }
        return true;
    };
    if (!put(ResponseHead))
        return;
    if (m_mode == Mode::CloseAfterBytes || m_mode == Mode::StallAfterBytes) {
        put(StreamBytes(0, m_bytes));
        if (m_mode == Mode::CloseAfterBytes) {
            shutdown(client, SD_SEND);
            return;
        }
        while (!m_server->IsStopping())
            Sleep(10);
        return;
    }
    for (size_t offset = 0; !m_server->IsStopping(); offset += 1024) {
        if (!put(StreamBytes(offset, 1024)))
            return;
        Sleep(2);
    }
}

FakeMmsServer::FakeMmsServer(Mode mode, int packets)
    : m_mode(mode), m_packets(packets),
      m_server(std::make_unique<LoopbackServer>([this](SOCKET client) { Handle(client); }))
{
}

FakeMmsServer::~FakeMmsServer()
{
    Release();
    m_server.reset();
}

int FakeMmsServer::GetTcpAttempts() const
{
    std::lock_guard<std::mutex> lock(m_lock);
    return m_tcpAttempts;
}

std::vector<std::string> FakeMmsServer::GetRequestLines() const
{
    std::lock_guard<std::mutex> lock(m_lock);
    return m_requestLines;
}

bool FakeMmsServer::WaitForStreamRequest(DWORD timeoutMs)
{
    std::unique_lock<std::mutex> lock(m_lock);
    return m_changed.wait_for(lock, std::chrono::milliseconds(timeoutMs), [this] { return m_streamRequested; });
}

bool FakeMmsServer::WaitForStreamSent(DWORD timeoutMs)
{
    std::unique_lock<std::mutex> lock(m_lock);
    return m_changed.wait_for(lock, std::chrono::milliseconds(timeoutMs), [this] { return m_streamSent; });
}

void FakeMmsServer::Release()
{
    std::lock_guard<std::mutex> lock(m_lock);
    m_released = true;
    m_changed.notify_all();
}

std::string FakeMmsServer::AsfHeader()
{
    static const uint8_t headerTail[8] = {0xa6, 0xd9, 0x00, 0xaa, 0x00, 0x62, 0xce, 0x6c};
    static const uint8_t filePropertiesTail[8] = {0x8e, 0xe4, 0x00, 0xc0, 0x0c, 0x20, 0x53, 0x65};
    static const uint8_t bitrateTail[8] = {0x8d, 0x82, 0x00, 0x60, 0x97, 0xc9, 0xa2, 0xb2};

    // File properties: the packet length lies 92 bytes into the object.
    std::string fileProperties;
    PutGuid(fileProperties, 0x8cabdca1, 0xa947, 0x11cf, filePropertiesTail);
    PutLE(fileProperties, 104, 8);
    fileProperties.append(92 - 24, '\0');
    PutLE(fileProperties, PacketLength, 4);
    PutLE(fileProperties, PacketLength, 4);
    PutLE(fileProperties, 0, 4);

    // Stream bitrate properties: one stream, number 1, bitrate 0.
    std::string bitrates;
    PutGuid(bitrates, 0x7bf875ce, 0x468d, 0x11d1, bitrateTail);
    PutLE(bitrates, 32, 8);
    PutLE(bitrates, 1, 2);
    PutLE(bitrates, 1, 2);
    PutLE(bitrates, 0, 4);

    std::string header;
    PutGuid(header, 0x75b22630, 0x668e, 0x11cf, headerTail);
    PutLE(header, 30 + fileProperties.size() + bitrates.size(), 8);
    PutLE(header, 2, 4);
    header += '\x01';
    header += '\x02';
    return header + fileProperties + bitrates;
}

std::string FakeMmsServer::ExpectedRecording() const
{
    std::string recording = AsfHeader();
    for (int packet = 0; packet < m_packets; ++packet)
        recording += StreamBytes(static_cast<size_t>(packet) * PacketLength, PacketLength);
    return recording;
}

void FakeMmsServer::Handle(SOCKET client)
{
    if (m_mode == Mode::CloseEverything)
        return;
    std::string start;
    char buffer[4];
    while (start.size() < 4) {
        const int got = recv(client, buffer, static_cast<int>(4 - start.size()), 0);
        if (got <= 0)
            return;
        start.append(buffer, static_cast<size_t>(got));
    }
    if (start != "GET ") {
        std::lock_guard<std::mutex> lock(m_lock);
        ++m_tcpAttempts;
        return;
    }
    const std::string request = LoopbackServer::ReadRequest(client, start);
    const bool streamRequest = request.find("xPlayStrm=1") != std::string::npos;
    {
        std::unique_lock<std::mutex> lock(m_lock);
        m_requestLines.push_back(RequestLine(request));
        if (streamRequest) {
            m_streamRequested = true;
            m_changed.notify_all();
            if (m_mode == Mode::ServeAfterRelease)
                m_changed.wait(lock, [this] { return m_released; });
        }
    }
    std::string answer = MmshAnswer + Chunk(HeaderChunk, 0, AsfHeader());
    if (streamRequest) {
        for (int packet = 0; packet < m_packets; ++packet)
            answer += Chunk(DataChunk, static_cast<uint32_t>(packet),
                            StreamBytes(static_cast<size_t>(packet) * PacketLength, PacketLength));
    }
    LoopbackServer::SendAll(client, answer);
    if (streamRequest) {
        std::lock_guard<std::mutex> lock(m_lock);
        m_streamSent = true;
        m_changed.notify_all();
    }
    if (streamRequest && m_mode == Mode::StallAfterPackets) {
        std::unique_lock<std::mutex> lock(m_lock);
        m_changed.wait(lock, [this] { return m_released; });
        return;
    }
    shutdown(client, SD_SEND);
    // Let the client read everything before the socket goes.
    while (recv(client, buffer, sizeof(buffer), 0) > 0) {
    }
}
