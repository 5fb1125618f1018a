// Hostile stream servers on 127.0.0.1 against the real recorders: whatever a
// server sends, a recording ends with its one final report in a bounded
// time, and a stop (or the schedule's end, however late its tick) ends it
// within two seconds, keeping what was written.

#include "tests/recording/RecordingTestSupport.h"
#include "tests/recording/StreamServers.h"

#include "player/catalogue/Channel.h"
#include "player/playback/UrlGrabber.h"
#include "player/recording/MMSRecorder.h"
#include "player/recording/MP3Recorder.h"
#include "player/recording/Record.h"
#include "player/recording/RecordManager.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

// How long a stop, or a tick after the end, may take to end a recording.
constexpr DWORD StopBoundMs = 2000;
// Guards the waits of a case that does not end (a hang, not a timing check).
constexpr DWORD GuardMs = 20000;

// A web server that reads each request and never answers it; the
// connection stays open until the server goes.
class SilentPageServer {
public:
    SilentPageServer()
        : m_server([this](SOCKET client) {
              LoopbackServer::ReadRequest(client);
              while (!m_server.IsStopping())
                  Sleep(10);
          })
    {
    }
    unsigned short GetPort() const { return m_server.GetPort(); }

private:
    LoopbackServer m_server;
};

// A grabber that, like the sites' grabbers, fetches a page to find the
// address; its page server is set per case.
class PageFetchGrabber : public CUrlGrabber {
public:
    static constexpr const char* Key = "hostilepage";

    explicit PageFetchGrabber(const std::wstring& page) : CUrlGrabber(Key), m_page(page) {}
    std::wstring Grab(const std::wstring&) override { return GetPage(m_page); }

private:
    std::wstring m_page;
};

enum class Server {
    // FakeMmsServer serving its stream with the case's ASF header.
    Mms,
    MmsPingFlood,
    MmsDrip,
    // The HTTP audio recorder, its address from a grabber whose page fetch
    // never ends.
    SilentGrabberPage,
    // An endless HTTP audio stream.
    EndlessAudio,
};

enum class Ending {
    // Nobody stops the recording.
    ByItself,
    // Recorder::Stop after actionAfterMs.
    Stop,
    // A scheduled record on the stream, started at its start tick; the next
    // tick comes an hour after its end.
    LateEndTick,
};

struct HostileCase {
    const char* what;
    Server server;
    AsfFault fault;
    Ending ending;
    DWORD actionAfterMs;
    DWORD handshakeTimeoutMs;
    int finalState;
    // The output file exists and holds data.
    bool fileKept;
    // Bound of the final report: from the stop or the late tick; for
    // ByItself, from the start.
    DWORD withinMs;
};

const DWORD DefaultHandshake = RecordingJob::DefaultHandshakeTimeoutMs;

const HostileCase HostileCases[] = {
    // Malformed ASF headers over MMS over HTTP: a failed connection, no file.
    {"bitrate list claims 65535 records and holds one", Server::Mms, AsfFault::BitrateOverClaim, Ending::ByItself,
     0, DefaultHandshake, -1, false, 5000},
    {"object of size 0", Server::Mms, AsfFault::ZeroSizeObject, Ending::ByItself, 0, DefaultHandshake, -1, false,
     5000},
    {"object size wraps the walk round", Server::Mms, AsfFault::SizeWrapsRound, Ending::ByItself, 0,
     DefaultHandshake, -1, false, 5000},
    {"object past the end of the header", Server::Mms, AsfFault::ObjectPastTheEnd, Ending::ByItself, 0,
     DefaultHandshake, -1, false, 5000},
    {"header extension holds an object of size 0", Server::Mms, AsfFault::ZeroSizeExtensionObject,
     Ending::ByItself, 0, DefaultHandshake, -1, false, 5000},
    // Servers that keep the handshake going without end.
    {"pings without end over MMS, stopped after 3 s", Server::MmsPingFlood, AsfFault::None, Ending::Stop, 3000,
     DefaultHandshake, 0, false, StopBoundMs},
    {"pings without end over MMS, nobody stops", Server::MmsPingFlood, AsfFault::None, Ending::ByItself, 0, 2000,
     -1, false, 2000 + StopBoundMs},
    {"answer dripped a byte at a time, nobody stops", Server::MmsDrip, AsfFault::None, Ending::ByItself, 0, 2000,
     -1, false, 2000 + StopBoundMs},
    {"answer dripped a byte at a time, stopped after 1 s", Server::MmsDrip, AsfFault::None, Ending::Stop, 1000,
     DefaultHandshake, 0, false, StopBoundMs},
    // The grabber's fetch that never ends.
    {"grabber page never comes, stopped after 1 s", Server::SilentGrabberPage, AsfFault::None, Ending::Stop, 1000,
     DefaultHandshake, 0, false, StopBoundMs},
    // Streams without end: only a stop or the schedule ends them.
    {"endless audio, stopped after 1 s", Server::EndlessAudio, AsfFault::None, Ending::Stop, 1000,
     DefaultHandshake, 0, true, StopBoundMs},
    {"endless audio, end tick an hour late", Server::EndlessAudio, AsfFault::None, Ending::LateEndTick, 0,
     DefaultHandshake, 0, true, StopBoundMs},
};

class HostileServerTest : public testing::Test {
protected:
    void TearDown() override
    {
        manager.reset();
        EXPECT_TRUE(PumpUntil([] { return Recorder::GetRunningCount() == 0; }));
    }

    std::wstring Local(unsigned short port, const std::wstring& rest) const
    {
        return L"http://127.0.0.1:" + std::to_wstring(port) + rest;
    }

    RecordingJob Job(const std::wstring& source, const HostileCase& c)
    {
        RecordingJob job;
        job.path = folder.File(L"out.bin");
        job.source = source;
        job.sink = sink;
        job.handshakeTimeoutMs = c.handshakeTimeoutMs;
        return job;
    }

    // Runs the recorder to its final report; the time of that report from
    // the case's action (or the start).
    DWORD RunRecorder(const std::shared_ptr<Recorder>& recorder, const HostileCase& c)
    {
        const DWORD started = GetTickCount();
        EXPECT_TRUE(recorder->Start());
        DWORD from = started;
        if (c.ending == Ending::Stop) {
            // Still going when the stop comes: it is the stop that ends it.
            EXPECT_FALSE(sink->WaitForFinal(c.actionAfterMs));
            from = GetTickCount();
            recorder->Stop();
        }
        EXPECT_TRUE(sink->WaitForFinal(GuardMs));
        const DWORD took = GetTickCount() - from;
        EXPECT_TRUE(PumpUntil([] { return Recorder::GetRunningCount() == 0; }, GuardMs));
        const std::vector<int> states = sink->States();
        EXPECT_EQ(c.finalState, states.empty() ? 99 : states.back());
        // Exactly one final report, the last one.
        EXPECT_EQ(1, std::count_if(states.begin(), states.end(), [](int s) { return s == 0 || s == -1; }));
        const std::string recorded = ReadFileBytes(folder.File(L"out.bin"));
        EXPECT_EQ(c.fileKept, FileExists(folder.File(L"out.bin")) && !recorded.empty());
        return took;
    }

    // A "once" record on the channel that records the endless audio stream,
    // its end an hour past when the tick comes; the time from that tick to
    // the record's end.
    DWORD RunLateTick(const HostileCase& c)
    {
        manager = std::make_unique<CRecordManager>(host.View(), folder.Path(), nullptr);
        const CTime start = CTime::Now();
        const CTime end = start + CTimeSpan(60);
        CRecord* record = manager->AddRecord(catalogue.Channel("ab_mp"), L"Late", CRecord::Once, &start, &end,
                                             nullptr);
        manager->OnTick(start);
        EXPECT_TRUE(PumpUntil([record] { return record->GetState() == 3 && record->GetBytes() > 4096; }, GuardMs));
        const DWORD from = GetTickCount();
        manager->OnTick(end + CTimeSpan(3600));
        EXPECT_TRUE(PumpUntil([record] { return !record->IsRecording(); }, GuardMs));
        const DWORD took = GetTickCount() - from;
        EXPECT_EQ(c.finalState, record->GetState());
        EXPECT_EQ(c.fileKept, record->HasFile());
        EXPECT_FALSE(ReadFileBytes(record->GetPath()).empty());
        return took;
    }

    TempRecordsFolder folder;
    TestCatalogue catalogue;
    RecordListHost host;
    std::shared_ptr<CollectingSink> sink;
    std::unique_ptr<CRecordManager> manager;
};

TEST_F(HostileServerTest, EveryRecordingEndsInTimeWithItsOneFinalReport)
{
    for (const HostileCase& c : HostileCases) {
        SCOPED_TRACE(c.what);
        sink = std::make_shared<CollectingSink>();
        DeleteFileW(folder.File(L"out.bin").c_str());
        std::unique_ptr<FakeMmsServer> mms;
        std::unique_ptr<AudioStreamServer> audio;
        std::unique_ptr<SilentPageServer> page;
        std::shared_ptr<Recorder> recorder;
        switch (c.server) {
        case Server::Mms:
        case Server::MmsPingFlood:
        case Server::MmsDrip: {
            const FakeMmsServer::Mode mode = c.server == Server::Mms            ? FakeMmsServer::Mode::Serve
                                             : c.server == Server::MmsDrip ? FakeMmsServer::Mode::DripAnswer
                                                                           : FakeMmsServer::Mode::PingFloodOverTcp;
            mms = std::make_unique<FakeMmsServer>(mode, 3, c.fault);
            recorder = std::make_shared<MMSRecorder>(Job(Local(mms->GetPort(), L"/live"), c));
            break;
        }
        case Server::SilentGrabberPage: {
            page = std::make_unique<SilentPageServer>();
            new PageFetchGrabber(Local(page->GetPort(), L"/page"));
            RecordingJob job = Job(L"channel", c);
            job.grabberKey = PageFetchGrabber::Key;
            recorder = std::make_shared<MP3Recorder>(job);
            break;
        }
        case Server::EndlessAudio:
            audio = std::make_unique<AudioStreamServer>(AudioStreamServer::Mode::Endless);
            AimTestGrabber(audio->GetPort());
            recorder = std::make_shared<MP3Recorder>(Job(Local(audio->GetPort(), L"/radio"), c));
            break;
        }

        const DWORD took = c.ending == Ending::LateEndTick ? RunLateTick(c) : RunRecorder(recorder, c);
        EXPECT_LE(took, c.withinMs);
        if (c.server == Server::MmsPingFlood) {
            // It was a flood: far more pings than any handshake has.
            EXPECT_GT(mms->GetPingsSent(), 1000);
        }
        TearDown();
    }
}

} // namespace
