#include "player/recording/MMSRecorder.h"

#include "foundation/UtilitiesCommon.h"
#include "player/recording/MmsSession.h"

namespace {

constexpr int ReadSize = 16384;

} // namespace

std::string MMSRecorder::MakeMmsAddress(const std::wstring& address)
{
    static const std::string http = "http://";
    static const std::string mms = "mms://";
    std::string result = KV::WideToAnsi(address);
    if (result.compare(0, http.size(), http) != 0)
        return result;
    for (size_t at = result.find(http); at != std::string::npos; at = result.find(http, at + mms.size()))
        result.replace(at, http.size(), mms);
    return result;
}

void MMSRecorder::Run()
{
    const std::string address = MakeMmsAddress(GetAddress());
    Notify(Connecting, 0);

    MmsSession session;
    if (!session.Connect(address, MakeWatch())) {
        // No file was made; a stop while connecting is no failure.
        Notify(IsStopRequested() ? Done : Failed, 0);
        return;
    }
    EndHandshake();

    bool failed = false;
    if (!IsStopRequested()) {
        Notify(Recording, 0);
        char buffer[ReadSize];
        for (;;) {
            // A read of nothing is the end of the stream (or a stall): only a
            // stop request, which also cuts a waiting read short, ends a
            // recording well.
            if (!KeepReceived(buffer, session.Read(buffer, ReadSize), failed))
                break;
            Notify(Recording, m_byteCount);
            if (IsStopRequested())
                break;
        }
    }

    CloseFile();
    session.Close();
    Notify(failed ? Failed : Done, 0);
}

std::shared_ptr<Recorder> MMSRecorderFactory::Create(const RecordingJob& job)
{
    return std::make_shared<MMSRecorder>(job);
}
