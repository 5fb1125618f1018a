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

FakeMmsServer::FakeMmsServer(Mode mode, int packets, AsfFault fault)
    : m_mode(mode), m_packets(packets), m_header(AsfHeader(fault)),
      m_server(std::make_unique<LoopbackServer>([this](SOCKET client) { Handle(client); }))
{
}

FakeMmsServer::~FakeMmsServer()
{
    m_closing = true;
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

std::string FakeMmsServer::AsfHeader(AsfFault fault)
{
    static const uint8_t headerTail[8] = {0xa6, 0xd9, 0x00, 0xaa, 0x00, 0x62, 0xce, 0x6c};
    static const uint8_t filePropertiesTail[8] = {0x8e, 0xe4, 0x00, 0xc0, 0x0c, 0x20, 0x53, 0x65};
    static const uint8_t bitrateTail[8] = {0x8d, 0x82, 0x00, 0x60, 0x97, 0xc9, 0xa2, 0xb2};
    static const uint8_t extensionTail[8] = {0x8e, 0xe3, 0x00, 0xc0, 0x0c, 0x20, 0x53, 0x65};
    static const uint8_t paddingTail[8] = {0x89, 0x6d, 0x00, 0xa0, 0xc9, 0x03, 0x48, 0xf6};

    // File properties: the packet length lies 92 bytes into the object.
    std::string fileProperties;
    PutGuid(fileProperties, 0x8cabdca1, 0xa947, 0x11cf, filePropertiesTail);
    PutLE(fileProperties, fault == AsfFault::ObjectPastTheEnd ? 100000 : 104, 8);
    fileProperties.append(92 - 24, '\0');
    PutLE(fileProperties, PacketLength, 4);
    PutLE(fileProperties, PacketLength, 4);
    PutLE(fileProperties, 0, 4);

    // Stream bitrate properties: one stream, number 1, bitrate 0.
    std::string bitrates;
    PutGuid(bitrates, 0x7bf875ce, 0x468d, 0x11d1, bitrateTail);
    const uint64_t bitratesSize = fault == AsfFault::SizeWrapsRound ? ~uint64_t(0) - 7 : 32;
    PutLE(bitrates, bitratesSize, 8);
    PutLE(bitrates, fault == AsfFault::BitrateOverClaim ? 0xFFFF : 1, 2);
    PutLE(bitrates, 1, 2);
    PutLE(bitrates, 0, 4);

    std::string extra;
    if (fault == AsfFault::ZeroSizeObject) {
        // An object of a kind libmms does not know, claiming no size at all.
        PutGuid(extra, 0x1806d474, 0xcadf, 0x4509, paddingTail);
        PutLE(extra, 0, 8);
    } else if (fault == AsfFault::ZeroSizeExtensionObject) {
        // Reserved GUID, reserved 6, data size, then an inner object of size 0.
        PutGuid(extra, 0x5fbf03b5, 0xa92e, 0x11cf, extensionTail);
        PutLE(extra, 24 + 22 + 24, 8);
        PutGuid(extra, 0xabd3d211, 0xa9ba, 0x11cf, extensionTail);
        PutLE(extra, 6, 2);
        PutLE(extra, 24, 4);
        PutGuid(extra, 0x1806d474, 0xcadf, 0x4509, paddingTail);
        PutLE(extra, 0, 8);
    }

    std::string header;
    PutGuid(header, 0x75b22630, 0x668e, 0x11cf, headerTail);
    PutLE(header, 30 + fileProperties.size() + extra.size() + bitrates.size(), 8);
    PutLE(header, extra.empty() ? 2 : 3, 4);
    header += '\x01';
    header += '\x02';
    return header + fileProperties + extra + bitrates;
}

int FakeMmsServer::GetPingsSent() const
{
    return m_pingsSent.load();
}

std::string FakeMmsServer::ExpectedRecording() const
{
    std::string recording = m_header;
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
        {
            std::lock_guard<std::mutex> lock(m_lock);
            ++m_tcpAttempts;
        }
        if (m_mode == Mode::PingFloodOverTcp)
            FloodWithPings(client);
        return;
    }
    if (m_mode == Mode::PingFloodOverTcp)
        return;
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
    std::string answer = MmshAnswer + Chunk(HeaderChunk, 0, m_header);
    if (m_mode == Mode::DripAnswer) {
        Drip(client, answer);
        return;
    }
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

void FakeMmsServer::FloodWithPings(SOCKET client)
{
    // A whole MMS command: 16 bytes of framing, then the 32 that its length
    // counts; command 0x1b is a ping.
    std::string ping;
    PutLE(ping, 1, 4);
    PutLE(ping, 0xB00BFACE, 4);
    PutLE(ping, 32, 4);
    PutLE(ping, 0x20534D4D, 4);
    PutLE(ping, 4, 4);
    PutLE(ping, 0, 4);
    PutLE(ping, 0, 8);
    PutLE(ping, 2, 4);
    PutLE(ping, 0x0004001B, 4);
    PutLE(ping, 0, 8);
    std::string pings;
    for (int i = 0; i < 64; ++i)
        pings += ping;

    u_long nonBlocking = 1;
    ioctlsocket(client, FIONBIO, &nonBlocking);
    char drop[4096];
    // One endless stream of pings: a send that took part of them goes on
    // where it stopped.
    size_t at = 0;
    while (!m_closing) {
        // The client's ping replies are read so that its sends never wait.
        while (recv(client, drop, sizeof(drop), 0) > 0) {
        }
        const int sent = send(client, pings.data() + at, static_cast<int>(pings.size() - at), 0);
        if (sent > 0) {
            m_pingsSent += static_cast<int>((at + static_cast<size_t>(sent)) / ping.size() - at / ping.size());
            at = (at + static_cast<size_t>(sent)) % pings.size();
        } else if (WSAGetLastError() == WSAEWOULDBLOCK) {
            Sleep(1);
        } else {
            return;
        }
    }
}

void FakeMmsServer::Drip(SOCKET client, const std::string& answer)
{
    for (size_t at = 0; at < answer.size() && !m_closing; ++at) {
        if (send(client, answer.data() + at, 1, 0) != 1)
            return;
        Sleep(DripIntervalMs);
    }
}
