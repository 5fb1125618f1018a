#include "player/recording/MP3Recorder.h"

#include "foundation/UtilitiesCommon.h"
#include "framework/Url.h"

namespace {

constexpr int ReceiveSize = 1024;
// A state-3 report after blocks 1, 11, 21, ...
constexpr unsigned ReportEveryBlocks = 10;

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

    const StreamWatch watch = MakeWatch();
    CUrl url;
    ScopedSocket socket;
    if (url.CrackUrl(GetAddress().c_str()) && !url.GetHostName().empty())
        socket.Reset(StreamIo::Connect(KV::WideToAnsi(url.GetHostName()), url.GetPortNumber(), watch));
    if (socket.Get() == INVALID_SOCKET) {
        // No file was made; a stop while connecting is no failure.
        Notify(IsStopRequested() ? Done : Failed, 0);
        return;
    }

    const std::string request = MakeRequest(KV::WideToAnsi(url.GetUrlPath()), KV::WideToAnsi(url.GetHostName()));
    // A request that did not go out shows as a receive that gives nothing.
    StreamIo::SendAll(socket.Get(), request.data(), request.size(), watch);
    EndHandshake();

    bool failed = false;
    unsigned blocks = 0;
    char buffer[ReceiveSize];
    while (!IsStopRequested()) {
        // Nothing received: the server closed the connection, an error, a
        // stall, or a stop request that cut the wait short.
        if (!KeepReceived(buffer, StreamIo::Receive(socket.Get(), buffer, ReceiveSize, watch), failed))
            break;
        ++blocks;
        if (blocks % ReportEveryBlocks == 1)
            Notify(Recording, m_byteCount);
    }

    CloseFile();
    socket.Reset();
    Notify(failed ? Failed : Done, 0);
}

std::shared_ptr<Recorder> MP3RecorderFactory::Create(const RecordingJob& job)
{
    return std::make_shared<MP3Recorder>(job);
}
