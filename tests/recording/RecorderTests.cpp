// The two recorders against local servers, through a sink that collects
// their reports on the worker thread.

#include "tests/recording/RecordingTestSupport.h"
#include "tests/recording/StreamServers.h"

#include "player/recording/AbandonableCall.h"
#include "player/recording/MMSRecorder.h"
#include "player/recording/MP3Recorder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <new>

namespace {

class RecorderTest : public testing::Test {
protected:
    RecordingJob Job(const std::wstring& address)
    {
        RecordingJob job;
        job.path = folder.File(L"out.bin");
        job.source = address;
        job.sink = sink;
        return job;
    }
    std::wstring Local(unsigned short port, const std::wstring& rest) const
    {
        return L"http://127.0.0.1:" + std::to_wstring(port) + rest;
    }
    std::string Output() const { return ReadFileBytes(folder.File(L"out.bin")); }

    TempRecordsFolder folder;
    std::shared_ptr<CollectingSink> sink = std::make_shared<CollectingSink>();
};

// --- HTTP audio ---

TEST_F(RecorderTest, Mp3RequestsPathWithoutQueryFromTheGivenPortAndStopsWithStateZero)
{
    AudioStreamServer server(AudioStreamServer::Mode::Endless);
    auto recorder = std::make_shared<MP3Recorder>(Job(Local(server.GetPort(), L"/live/a.mp3?id=3&x=y")));
    ASSERT_TRUE(recorder->Start());
    ASSERT_TRUE(sink->WaitForBytes(16 * 1024));
    recorder->Stop();
    ASSERT_TRUE(sink->WaitForFinal());
    PumpUntil([] { return Recorder::GetRunningCount() == 0; });

    EXPECT_EQ(MP3Recorder::MakeRequest("/live/a.mp3", "127.0.0.1"), server.GetRequest());

    const std::vector<CollectingSink::Report> reports = sink->Reports();
    ASSERT_GE(reports.size(), 4u);
    EXPECT_EQ(2, reports.front().state);
    EXPECT_EQ(0u, reports.front().bytes);
    EXPECT_EQ(0, reports.back().state);
    EXPECT_EQ(0u, reports.back().bytes);
    // A report after blocks 1, 11, 21, ...: at most one block, then at most
    // eleven blocks of 1024 bytes.
    EXPECT_EQ(3, reports[1].state);
    EXPECT_GT(reports[1].bytes, 0u);
    EXPECT_LE(reports[1].bytes, 1024u);
    EXPECT_EQ(3, reports[2].state);
    EXPECT_GT(reports[2].bytes, reports[1].bytes);
    EXPECT_LE(reports[2].bytes, 11u * 1024u);
    for (size_t i = 2; i + 1 < reports.size(); ++i) {
        EXPECT_EQ(3, reports[i].state);
        EXPECT_GE(reports[i].bytes, reports[i - 1].bytes);
    }

    // The file holds what came, response head first, and at least what the
    // last report counted.
    const std::string recorded = Output();
    const std::string sent = server.GetSent();
    EXPECT_GE(recorded.size(), reports[reports.size() - 2].bytes);
    ASSERT_LE(recorded.size(), sent.size());
    EXPECT_EQ(sent.substr(0, recorded.size()), recorded);
    EXPECT_EQ(0u, recorded.find(AudioStreamServer::ResponseHead));
}

TEST_F(RecorderTest, Mp3EndsInFailureWhenTheStreamEndsOrCannotBeHad)
{
    struct Case {
        const char* what;
        AudioStreamServer::Mode mode;
        size_t bytes;
        bool refused;
        bool fileCreated;
    };
    const Case cases[] = {
        {"server closes after data", AudioStreamServer::Mode::CloseAfterBytes, 5000, false, true},
        // No data, no file.
        {"server closes at once", AudioStreamServer::Mode::CloseAtOnce, 0, false, false},
        {"connection refused", AudioStreamServer::Mode::CloseAtOnce, 0, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        sink = std::make_shared<CollectingSink>();
        DeleteFileW(folder.File(L"out.bin").c_str());
        AudioStreamServer server(c.mode, c.bytes);
        const unsigned short port = c.refused ? LoopbackServer::UnusedPort() : server.GetPort();
        ASSERT_TRUE(RunToEnd(std::make_shared<MP3Recorder>(Job(Local(port, L"/radio"))), *sink));

        const std::vector<int> states = sink->States();
        ASSERT_GE(states.size(), 2u);
        EXPECT_EQ(2, states.front());
        EXPECT_EQ(-1, states.back());
        EXPECT_EQ(c.fileCreated, FileExists(folder.File(L"out.bin")));
        if (c.fileCreated) {
            EXPECT_EQ(server.GetSent(), Output());
        }
        if (c.bytes > 0) {
            EXPECT_EQ(c.bytes + strlen(AudioStreamServer::ResponseHead), Output().size());
        }
    }
}

TEST_F(RecorderTest, AnAddressThatCannotBeHadFailsAtOnceWithoutAFile)
{
    struct Case {
        const char* what;
        std::wstring source;
        std::string grabber;
    };
    const Case cases[] = {
        {"no address", L"", ""},
        {"no grabber under the key", L"anything", "no-such-grabber"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        sink = std::make_shared<CollectingSink>();
        RecordingJob job = Job(c.source);
        job.grabberKey = c.grabber;
        ASSERT_TRUE(RunToEnd(std::make_shared<MP3Recorder>(job), *sink));
        EXPECT_EQ(std::vector<int>{-1}, sink->States());
        EXPECT_FALSE(FileExists(folder.File(L"out.bin")));
    }
}

TEST_F(RecorderTest, TheGrabberResolvesTheSourceOnTheWorker)
{
    AudioStreamServer server(AudioStreamServer::Mode::CloseAfterBytes, 100);
    AimTestGrabber(server.GetPort());
    RecordingJob job = Job(L"grabbed?q=1");
    job.grabberKey = "rectest";
    auto recorder = std::make_shared<MP3Recorder>(job);
    ASSERT_TRUE(RunToEnd(recorder, *sink));
    EXPECT_EQ(Local(server.GetPort(), L"/grabbed?q=1"), recorder->GetAddress());
    EXPECT_EQ(0u, server.GetRequest().find("GET /grabbed HTTP/1.1\r\n"));
}

// --- MMS ---

TEST(MmsAddressTest, OnlyAnAddressThatBeginsWithHttpIsRewritten)
{
    const std::pair<const wchar_t*, const char*> cases[] = {
        {L"http://host/live", "mms://host/live"},
        {L"http://host/a?next=http://other/", "mms://host/a?next=mms://other/"},
        {L"mms://host/http://x", "mms://host/http://x"},
        {L"rtsp://host/live", "rtsp://host/live"},
        {L"HTTP://host/live", "HTTP://host/live"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.second, MMSRecorder::MakeMmsAddress(c.first)) << c.second;
}

TEST_F(RecorderTest, MmsFailsWithoutAFileWhenNeitherProtocolConnects)
{
    struct Case {
        const char* what;
        bool refused;
        int connections;
    };
    const Case cases[] = {
        {"connection refused", true, 0},
        // MMS over TCP, then MMS over HTTP.
        {"server closes every connection", false, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        sink = std::make_shared<CollectingSink>();
        FakeMmsServer server(FakeMmsServer::Mode::CloseEverything, 0);
        const unsigned short port = c.refused ? LoopbackServer::UnusedPort() : server.GetPort();
        ASSERT_TRUE(RunToEnd(std::make_shared<MMSRecorder>(Job(Local(port, L"/live"))), *sink));
        EXPECT_EQ((std::vector<int>{2, -1}), sink->States());
        EXPECT_FALSE(FileExists(folder.File(L"out.bin")));
        EXPECT_EQ(c.connections, server.GetConnectionCount());
    }
}

TEST_F(RecorderTest, MmsTriesTcpThenHttpWithTheRewrittenAddressAndKeepsTheStreamAsRead)
{
    FakeMmsServer server(FakeMmsServer::Mode::Serve, 40);
    ASSERT_TRUE(RunToEnd(std::make_shared<MMSRecorder>(Job(Local(server.GetPort(), L"/live"))), *sink));

    EXPECT_EQ(1, server.GetTcpAttempts());
    const std::vector<std::string> requests = server.GetRequestLines();
    ASSERT_EQ(2u, requests.size());
    EXPECT_EQ("GET /live HTTP/1.0", requests[0]);
    EXPECT_EQ("GET /live HTTP/1.0", requests[1]);

    // A stream that ends by itself is a failure; the data stays.
    const std::vector<CollectingSink::Report> reports = sink->Reports();
    ASSERT_GE(reports.size(), 4u);
    EXPECT_EQ(2, reports[0].state);
    EXPECT_EQ(3, reports[1].state);
    EXPECT_EQ(0u, reports[1].bytes);
    EXPECT_EQ(-1, reports.back().state);
    const std::string expected = server.ExpectedRecording();
    EXPECT_EQ(expected.size(), reports[reports.size() - 2].bytes);
    EXPECT_EQ(expected, Output());
}

TEST_F(RecorderTest, MmsStoppedWhileConnectingEndsWellWithoutAFile)
{
    FakeMmsServer server(FakeMmsServer::Mode::ServeAfterRelease, 5);
    auto recorder = std::make_shared<MMSRecorder>(Job(Local(server.GetPort(), L"/live")));
    ASSERT_TRUE(recorder->Start());
    ASSERT_TRUE(server.WaitForStreamRequest());
    recorder->Stop();
    server.Release();
    ASSERT_TRUE(sink->WaitForFinal());
    PumpUntil([] { return Recorder::GetRunningCount() == 0; });

    EXPECT_EQ((std::vector<int>{2, 0}), sink->States());
    EXPECT_FALSE(FileExists(folder.File(L"out.bin")));
}

// --- Both recorders ---

// A stream that sends some data and then falls silent with the connection
// open, for either recorder.
struct StallingStream {
    const char* what;
    bool mms;
};
const StallingStream StallingStreams[] = {{"HTTP audio", false}, {"MMS", true}};

class StallTest : public RecorderTest {
protected:
    // Starts a recorder of the kind against a stalling server; the expected
    // recording is what the server sent before it fell silent.
    void StartStalled(const StallingStream& stream, DWORD stallTimeoutMs)
    {
        sink = std::make_shared<CollectingSink>();
        DeleteFileW(folder.File(L"out.bin").c_str());
        if (stream.mms) {
            mmsServer = std::make_unique<FakeMmsServer>(FakeMmsServer::Mode::StallAfterPackets, 7);
            RecordingJob job = Job(Local(mmsServer->GetPort(), L"/live"));
            job.stallTimeoutMs = stallTimeoutMs;
            recorder = std::make_shared<MMSRecorder>(job);
            expected = mmsServer->ExpectedRecording();
        } else {
            audioServer = std::make_unique<AudioStreamServer>(AudioStreamServer::Mode::StallAfterBytes, 3000);
            RecordingJob job = Job(Local(audioServer->GetPort(), L"/radio"));
            job.stallTimeoutMs = stallTimeoutMs;
            recorder = std::make_shared<MP3Recorder>(job);
            expected = AudioStreamServer::ResponseHead + StreamBytes(0, 3000);
        }
        ASSERT_TRUE(recorder->Start());
    }

    // The server sent everything it will send: for the HTTP audio recorder,
    // which writes each block as it comes, once the file holds it; libmms
    // hands over its reads only whole, so for MMS once the server sent it
    // and the recorder connected.
    bool WaitUntilAllSent()
    {
        if (mmsServer)
            return mmsServer->WaitForStreamSent() && sink->WaitForBytes(0);
        return PumpUntil([this] { return Output().size() >= expected.size(); });
    }

    void TearDown() override
    {
        PumpUntil([] { return Recorder::GetRunningCount() == 0; });
        audioServer.reset();
        mmsServer.reset();
    }

    std::unique_ptr<AudioStreamServer> audioServer;
    std::unique_ptr<FakeMmsServer> mmsServer;
    std::shared_ptr<Recorder> recorder;
    std::string expected;
};

TEST_F(StallTest, AStopEndsTheRecordingWellWhileTheServerIsSilent)
{
    for (const StallingStream& stream : StallingStreams) {
        SCOPED_TRACE(stream.what);
        // The silence would end the recording only after ten minutes: the
        // stop must not wait for it.
        StartStalled(stream, 600000);
        ASSERT_TRUE(WaitUntilAllSent());
        recorder->Stop();
        ASSERT_TRUE(sink->WaitForFinal());
        EXPECT_EQ(0, sink->States().back());
        // Compared as a whole: a difference would print kilobytes.
        EXPECT_EQ(expected.size(), Output().size());
        EXPECT_TRUE(expected == Output());
        TearDown();
    }
}

TEST_F(StallTest, ASilentServerEndsTheRecordingAsFailedWithItsDataKept)
{
    for (const StallingStream& stream : StallingStreams) {
        SCOPED_TRACE(stream.what);
        StartStalled(stream, 300);
        ASSERT_TRUE(sink->WaitForFinal());
        EXPECT_EQ(-1, sink->States().back());
        EXPECT_EQ(expected.size(), Output().size());
        EXPECT_TRUE(expected == Output());
        TearDown();
    }
}

TEST_F(RecorderTest, ARecorderNeverOverwritesAFileThatExists)
{
    ASSERT_TRUE(WriteFileBytes(folder.File(L"out.bin"), "earlier recording"));
    AudioStreamServer server(AudioStreamServer::Mode::CloseAfterBytes, 5000);
    ASSERT_TRUE(RunToEnd(std::make_shared<MP3Recorder>(Job(Local(server.GetPort(), L"/radio"))), *sink));
    EXPECT_EQ(-1, sink->States().back());
    EXPECT_EQ("earlier recording", Output());
}

// A look-up or fetch that throws on its own thread (memory ran out) answers
// the empty result; nothing leaves that thread.
// A sink that fails by throwing at the first report of bytes (as one out
// of memory would), and takes the reports after it.
class ThrowingSink : public CollectingSink {
public:
    void OnRecorderReport(Recorder& recorder, int state, uint64_t bytes) override
    {
        CollectingSink::OnRecorderReport(recorder, state, bytes);
        if (state == Recorder::Recording && !m_thrown.exchange(true))
            throw std::bad_alloc();
    }

private:
    std::atomic<bool> m_thrown{false};
};

TEST_F(RecorderTest, AThrowOnTheWorkerEndsTheRecordingAsFailedWithItsFileKept)
{
    AudioStreamServer server(AudioStreamServer::Mode::Endless);
    auto throwing = std::make_shared<ThrowingSink>();
    RecordingJob job = Job(Local(server.GetPort(), L"/live/a.mp3"));
    job.sink = throwing;
    auto recorder = std::make_shared<MP3Recorder>(job);
    ASSERT_TRUE(recorder->Start());
    ASSERT_TRUE(throwing->WaitForFinal());
    ASSERT_TRUE(PumpUntil([&] { return recorder->HasEnded() && Recorder::GetRunningCount() == 0; }));
    const std::vector<int> states = throwing->States();
    ASSERT_GE(states.size(), 3u);
    EXPECT_EQ(Recorder::Connecting, states.front());
    EXPECT_EQ(Recorder::Recording, states[1]);
    EXPECT_EQ(Recorder::Failed, states.back());
    EXPECT_EQ(1, std::count(states.begin(), states.end(), static_cast<int>(Recorder::Failed)));
    EXPECT_EQ(Recorder::Failed, recorder->GetFinalState());
    EXPECT_TRUE(recorder->HasCreatedFile());
    EXPECT_FALSE(Output().empty());
}

TEST(AbandonableCall, ACallThatThrowsAnswersTheEmptyResult)
{
    std::wstring result = L"before";
    EXPECT_TRUE(RunAbandonable<std::wstring>([]() -> std::wstring { throw std::bad_alloc(); },
                                             [] { return false; }, result));
    EXPECT_EQ(result, L"");
}

} // namespace
