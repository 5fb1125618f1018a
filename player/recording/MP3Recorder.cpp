#include "player/recording/MP3Recorder.h"

#include "foundation/UtilitiesCommon.h"
#include "framework/Url.h"

#include <winsock2.h>

namespace {

constexpr int ReceiveSize = 1024;
constexpr DWORD SocketTimeoutMs = 7000;
// A state-3 report after blocks 1, 11, 21, ...
constexpr unsigned ReportEveryBlocks = 10;

class ScopedSocket {
public:
    ScopedSocket() = default;
    ~ScopedSocket() { Close(); }
    ScopedSocket(const ScopedSocket&) = delete;
    ScopedSocket& operator=(const ScopedSocket&) = delete;

    bool Open()
    {
        Close();
        m_socket = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        return m_socket != INVALID_SOCKET;
    }
    void Close()
    {
        if (m_socket != INVALID_SOCKET) {
            ::closesocket(m_socket);
            m_socket = INVALID_SOCKET;
        }
    }
    SOCKET Get() const { return m_socket; }

private:
    SOCKET m_socket = INVALID_SOCKET;
};

void SetTimeouts(SOCKET socket)
{
    const DWORD timeout = SocketTimeoutMs;
    const char* value = reinterpret_cast<const char*>(&timeout);
    if (::setsockopt(socket, SOL_SOCKET, SO_RCVTIMEO, value, sizeof(timeout)) == 0)
        ::setsockopt(socket, SOL_SOCKET, SO_SNDTIMEO, value, sizeof(timeout));
}

// Tries the host's addresses in turn, each with a fresh socket.
bool ConnectToHost(ScopedSocket& socket, const std::string& host, INTERNET_PORT port)
{
    const hostent* entry = ::gethostbyname(host.c_str());
    if (!entry || entry->h_addrtype != AF_INET || !entry->h_addr_list)
        return false;
    for (char** address = entry->h_addr_list; *address; ++address) {
        if (!socket.Open())
            return false;
        SetTimeouts(socket.Get());
        sockaddr_in target = {};
        target.sin_family = AF_INET;
        target.sin_port = htons(port);
        memcpy(&target.sin_addr, *address, sizeof(target.sin_addr));
        if (::connect(socket.Get(), reinterpret_cast<const sockaddr*>(&target), sizeof(target)) == 0)
            return true;
    }
    socket.Close();
    return false;
}

} // namespace

std::string MP3Recorder::MakeRequest(const std::string& path, const std::string& host)
{
    return "GET " + path +
           " HTTP/1.1\r\nUser-Agent: WinampMPEG/5.09\r\nHost: " + host +
           "\r\nAccept: */*\r\nPragma: no-cache\r\nCache-Control: no-cache\r\nConnection: close\r\n\r\n";
}

void MP3Recorder::Run()
{
    Notify(Connecting, 0);

    CUrl url;
    ScopedSocket socket;
    if (!url.CrackUrl(GetAddress().c_str()) || url.GetHostName().empty() ||
        !ConnectToHost(socket, KV::WideToAnsi(url.GetHostName()), url.GetPortNumber())) {
        Notify(Failed, 0);
        return;
    }

    const std::string request = MakeRequest(KV::WideToAnsi(url.GetUrlPath()), KV::WideToAnsi(url.GetHostName()));
    // A request that did not go out shows as a receive that gives nothing.
    ::send(socket.Get(), request.data(), static_cast<int>(request.size()), 0);

    if (!OpenFile()) {
        Notify(Failed, 0);
        return;
    }
    bool failed = false;
    unsigned blocks = 0;
    char buffer[ReceiveSize];
    while (!IsStopRequested()) {
        const int n = ::recv(socket.Get(), buffer, ReceiveSize, 0);
        // A time-out, an error or the server closing the connection.
        if (n <= 0 || !Write(buffer, static_cast<size_t>(n))) {
            failed = true;
            break;
        }
        m_byteCount += static_cast<uint64_t>(n);
        ++blocks;
        if (blocks % ReportEveryBlocks == 1)
            Notify(Recording, m_byteCount);
    }

    CloseFile();
    socket.Close();
    Notify(failed ? Failed : Done, 0);
}

std::shared_ptr<Recorder> MP3RecorderFactory::Create(const RecordingJob& job)
{
    return std::make_shared<MP3Recorder>(job);
}
