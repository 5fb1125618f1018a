// Records and the records manager: the records folder, the list, the
// schedule tick, the recorders' reports, names and files, and the "records"
// node of the settings. Recorders are the scripted ones (key "script")
// unless a test names the HTTP audio recorder.

#include "tests/recording/RecordingTestSupport.h"
#include "tests/recording/StreamServers.h"
#include "tests/support/RecordLookup.h"

#include "tests/catalogue/MessageBoxRecorder.h"

#include "foundation/DataKey.h"
#include "foundation/UtilitiesCommon.h"
#include "player/app/Settings.h"
#include "player/catalogue/Channel.h"
#include "player/recording/Record.h"
#include "player/recording/RecordManager.h"
#include "player/recording/RecordNaming.h"
#include "player/recording/RecorderReportWindow.h"

#include <gtest/gtest.h>

#include <shlobj.h>

#include <cstring>

namespace {

const bool AllDays[RecordSchedule::WeekdayCount] = {true, true, true, true, true, true, true};

std::string Ones(size_t count)
{
    return std::string(count, '\x5A');
}

class RecordManagerTest : public testing::Test {
protected:
    void SetUp() override { SetRecorderScript(RecorderScript()); }

    void TearDown() override
    {
        manager.reset();
        EXPECT_TRUE(PumpUntil([] { return Recorder::GetRunningCount() == 0; }));
    }

    CRecordManager& Start(const KV::DataKey* saved = nullptr)
    {
        manager.reset();
        manager = std::make_unique<CRecordManager>(host.View(), folder.Path(), saved);
        return *manager;
    }

    CRecord* Find(const std::wstring& name) const { return FindRecord(*manager, name); }

    bool WaitForState(const std::wstring& name, int state)
    {
        return PumpUntil([&] {
            const CRecord* record = Find(name);
            return record && record->GetState() == state;
        });
    }

    // Every record's list index names its item, and the tab shows the count.
    void ExpectListInStep() const
    {
        const std::vector<std::wstring> items = host.Items();
        EXPECT_EQ(static_cast<int>(items.size()), host.TabCount());
        EXPECT_EQ(manager->GetRecords().size(), items.size());
        for (const auto& record : manager->GetRecords()) {
            ASSERT_GE(record->GetListIndex(), 0);
            ASSERT_LT(record->GetListIndex(), static_cast<int>(items.size()));
            EXPECT_EQ(items[static_cast<size_t>(record->GetListIndex())], record->GetName());
            EXPECT_EQ(record.get(), host.View().GetItemRecord(record->GetListIndex()));
        }
    }

    CRecord* AddNow(const std::string& channel, const std::wstring& name)
    {
        return manager->AddRecord(catalogue.Channel(channel), name, CRecord::Now, nullptr, nullptr, nullptr);
    }

    CRecord* AddScheduled(const std::wstring& name, int type, const CTime& start, const CTime& end)
    {
        return manager->AddRecord(catalogue.Channel("ab_cd"), name, type, &start, &end, AllDays);
    }

    // Of records that share a name, the one with or without a file.
    CRecord* Find(const std::wstring& name, bool hasFile) const
    {
        for (const auto& record : manager->GetRecords()) {
            if (record->GetName() == name && record->HasFile() == hasFile)
                return record.get();
        }
        return nullptr;
    }

    // The next recorders write bytes, report them and wait for a stop.
    void ScriptRecording(const std::string& bytes)
    {
        RecorderScript script;
        script.fileBytes = bytes;
        script.reports = {{2, 0}, {3, bytes.size()}};
        SetRecorderScript(script);
    }

    // A "now" record on ab_cd whose recorder wrote bytes and reported them.
    CRecord* AddRecording(const std::wstring& name, const std::string& bytes)
    {
        ScriptRecording(bytes);
        CRecord* record = AddNow("ab_cd", name);
        EXPECT_TRUE(WaitForState(name, 3));
        return record;
    }

    // One occurrence of a scheduled record, from the tick at start to a stop,
    // its recorder writing bytes; the path the recorder was given.
    std::wstring RecordOccurrence(CRecord* record, const CTime& start, const std::string& bytes)
    {
        ScriptRecording(bytes);
        manager->OnTick(start);
        EXPECT_TRUE(PumpUntil([record] { return record->GetState() == 3; }));
        const std::wstring path = LastScriptedJob().path;
        record->StopRecording();
        EXPECT_TRUE(PumpUntil([record] { return record->GetState() == 0; }));
        return path;
    }

    // A weekly record (every day) from 10:00 to 11:00, first due tomorrow.
    CRecord* AddWeeklyFromTomorrow(const std::wstring& name)
    {
        const CTime now = CTime::Now();
        const CTime start(now.GetYear(), now.GetMonth(), now.GetDay() + 1, 10, 0, 0);
        return AddScheduled(name, CRecord::Weekly, start, start + CTimeSpan(3600));
    }

    MessageBoxRecorder boxes;
    TempRecordsFolder folder;
    TestCatalogue catalogue;
    RecordListHost host;
    std::unique_ptr<CRecordManager> manager;
};

TEST_F(RecordManagerTest, TheFolderScanListsRecordingFilesOnly)
{
    ASSERT_TRUE(WriteFileBytes(folder.File(L"Show#ab_cd#125.mp3"), Ones(3000)));
    ASSERT_TRUE(WriteFileBytes(folder.File(L"Gone#zz_old#7.asf"), Ones(10)));
    ASSERT_TRUE(WriteFileBytes(folder.File(L"Empty#ab_cd#5.mp3"), ""));
    ASSERT_TRUE(WriteFileBytes(folder.File(L"NoHashes.mp3"), Ones(10)));
    ASSERT_TRUE(WriteFileBytes(folder.File(L"One#part.mp3"), Ones(10)));
    ASSERT_TRUE(CreateDirectoryW(folder.File(L"Dir#ab_cd#9.mp3").c_str(), nullptr));
    Start();

    ASSERT_EQ(2u, manager->GetRecords().size());
    const CRecord* show = Find(L"Show");
    ASSERT_NE(nullptr, show);
    EXPECT_EQ(catalogue.Channel("ab_cd"), show->GetChannel());
    EXPECT_TRUE(show->HasFile());
    EXPECT_EQ(CRecord::Now, show->GetType());
    EXPECT_EQ(0, show->GetState());
    EXPECT_EQ(125, show->GetDuration().GetTotalSeconds());
    EXPECT_EQ(3000u, show->GetBytes());
    EXPECT_EQ(L"mp3", show->GetExtension());
    EXPECT_EQ(folder.File(L"Show#ab_cd#125.mp3"), show->GetPath());
    EXPECT_EQ(L"00:02:05   Size: 3 Kb", show->GetStatusText());

    const CRecord* gone = Find(L"Gone");
    ASSERT_NE(nullptr, gone);
    EXPECT_EQ(nullptr, gone->GetChannel());
    EXPECT_EQ(L"asf", gone->GetExtension());
    EXPECT_EQ((std::vector<std::wstring>{L"Gone", L"Show"}), host.Items());
    ExpectListInStep();
}

TEST_F(RecordManagerTest, ANowRecordRecordsAndEndsUnderItsFinalName)
{
    struct Case {
        const char* channel;
        uint32_t bitsPerSecond;
        const wchar_t* finalName;
        const wchar_t* durationText;
    };
    // 1,000,000 bytes at 128 kbit/s are 61 seconds; a stream without a
    // bitrate counts as 512,000 bits per second.
    const Case cases[] = {
        {"ab_cd", 131072, L"Show#ab_cd#61.bin", L"00:01:01"},
        {"ab_zero", 512000, L"Show#ab_zero#15.bin", L"00:00:15"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.channel);
        Start();
        RecorderScript script;
        script.fileBytes = Ones(1000000);
        script.reports = {{2, 0}, {3, 1000000}};
        SetRecorderScript(script);

        CRecord* record = AddNow(c.channel, L"Show");
        ASSERT_EQ(1u, manager->GetRecords().size());
        EXPECT_TRUE(record->IsRecording());
        EXPECT_EQ(0, host.Selection());
        ASSERT_TRUE(WaitForState(L"Show", 3));

        const RecordingJob job = LastScriptedJob();
        EXPECT_EQ(folder.Path() + RecordNaming::MakeFileName(L"Show", c.channel, 0, L"bin"), job.path);
        EXPECT_EQ(catalogue.Channel(c.channel)->GetCurrentSource()->GetUrl(), job.source);
        EXPECT_EQ("", job.grabberKey);
        EXPECT_EQ(c.bitsPerSecond, record->GetBitsPerSecond());
        EXPECT_TRUE(record->HasFile());
        EXPECT_EQ(std::wstring(L"Recording: ") + c.durationText + L"   Size: 977 Kb", record->GetStatusText());
        EXPECT_FALSE(manager->IsIdle());

        manager->StopAll();
        ASSERT_TRUE(WaitForState(L"Show", 0));
        EXPECT_TRUE(manager->IsIdle());
        EXPECT_EQ(std::wstring(c.durationText) + L"   Size: 977 Kb", record->GetStatusText());
        EXPECT_EQ(c.finalName, record->GetFileName());
        EXPECT_EQ((std::vector<std::wstring>{c.finalName}), folder.Files());
        EXPECT_EQ(1000000u, ReadFileBytes(record->GetPath()).size());
        ExpectListInStep();

        manager.reset();
        PumpUntil([] { return Recorder::GetRunningCount() == 0; });
        DeleteFileW(folder.File(c.finalName).c_str());
    }
}

TEST_F(RecordManagerTest, AnHttpAudioRecordingThroughTheGrabber)
{
    AudioStreamServer server(AudioStreamServer::Mode::Endless);
    AimTestGrabber(server.GetPort());
    Start();
    CRecord* record = AddNow("ab_mp", L"Radio");
    ASSERT_TRUE(PumpUntil([record] { return record->GetState() == 3 && record->GetBytes() > 20000; }));
    record->StopRecording();
    ASSERT_TRUE(WaitForState(L"Radio", 0));

    EXPECT_EQ(0u, server.GetRequest().find("GET /live HTTP/1.1\r\n"));
    const std::wstring expectedName = RecordNaming::MakeFileName(
        L"Radio", "ab_mp", static_cast<uint64_t>(record->GetDuration().GetTotalSeconds()), L"mp3");
    EXPECT_EQ(expectedName, record->GetFileName());
    EXPECT_EQ((std::vector<std::wstring>{expectedName}), folder.Files());
    EXPECT_EQ(0u, ReadFileBytes(record->GetPath()).find(AudioStreamServer::ResponseHead));
}

TEST_F(RecordManagerTest, AFailedRecordingShowsTheErrorAndKeepsNoFile)
{
    AimTestGrabber(LoopbackServer::UnusedPort());
    Start();
    CRecord* record = AddNow("ab_mp", L"Radio");
    ASSERT_TRUE(WaitForState(L"Radio", -1));
    EXPECT_EQ(L"Error", record->GetStatusText());
    EXPECT_FALSE(record->HasFile());
    EXPECT_TRUE(folder.Files().empty());
    EXPECT_TRUE(manager->IsIdle());
}

TEST_F(RecordManagerTest, AFailedRecordGivenNewTimesIsScheduledAgain)
{
    AimTestGrabber(LoopbackServer::UnusedPort());
    Start();
    CRecord* record = AddNow("ab_mp", L"Radio");
    ASSERT_TRUE(WaitForState(L"Radio", -1));

    const CTime start = CTime::Now() + CTimeSpan(3600);
    record->SetProperties(L"Radio", CRecord::Once, start, start + CTimeSpan(600), AllDays);
    EXPECT_EQ(0, record->GetState());
    manager->OnTick(start);
    EXPECT_TRUE(record->IsRecording());
}

TEST_F(RecordManagerTest, ScheduledRecordsStartAndStopWithinEightSecondsOfTheirTimes)
{
    for (int type : {CRecord::Once, CRecord::Weekly}) {
        SCOPED_TRACE(type);
        Start();
        RecorderScript script;
        script.fileBytes = Ones(64);
        script.reports = {{2, 0}, {3, 64}};
        SetRecorderScript(script);
        const CTime now = CTime::Now();
        const CTime wantedStart(now.GetYear(), now.GetMonth(), now.GetDay() + 1, 10, 0, 0);
        CRecord* record = AddScheduled(L"Sched", type, wantedStart, wantedStart + CTimeSpan(3600));
        CTime start, end;
        record->GetTimes(start, end);
        EXPECT_EQ(start.Format(L"%H:%M %d/%m/%Y") + L" - " + end.Format(L"%H:%M %d/%m/%Y"), record->GetStatusText());

        const int made = ScriptedRecordersMade();
        for (int offset : {-1, 8, 3600}) {
            manager->OnTick(start + CTimeSpan(offset));
            EXPECT_EQ(0, record->GetState()) << offset;
        }
        manager->OnTick(start + CTimeSpan(7));
        EXPECT_EQ(made + 1, ScriptedRecordersMade());
        ASSERT_TRUE(WaitForState(L"Sched", 3));

        manager->OnTick(end + CTimeSpan(-1));
        PumpUntil([] { return false; }, 50);
        EXPECT_EQ(3, record->GetState());
        manager->OnTick(end + CTimeSpan(7));
        ASSERT_TRUE(WaitForState(L"Sched", 0));
        EXPECT_TRUE(record->HasFile());
        EXPECT_EQ(made + 1, ScriptedRecordersMade());

        if (type == CRecord::Weekly) {
            // The finished record stays as a file; its successor takes the
            // next occurrence from now on.
            ASSERT_EQ(2u, manager->GetRecords().size());
            const CRecord* next = Find(L"Sched (2)");
            ASSERT_NE(nullptr, next);
            EXPECT_EQ(CRecord::Weekly, next->GetType());
            EXPECT_FALSE(next->HasFile());
            EXPECT_EQ(0, std::memcmp(AllDays, next->GetWeekdays(), sizeof(AllDays)));
            CTime nextStart, nextEnd, expectedStart = start, expectedEnd = end;
            next->GetTimes(nextStart, nextEnd);
            RecordSchedule::NextWeekly(CTime::Now(), AllDays, expectedStart, expectedEnd);
            EXPECT_EQ(expectedStart.GetTime(), nextStart.GetTime());
            EXPECT_EQ(expectedEnd.GetTime(), nextEnd.GetTime());
            EXPECT_EQ((std::vector<std::wstring>{L"Sched", L"Sched (2)"}), host.Items());
        } else {
            EXPECT_EQ(1u, manager->GetRecords().size());
        }
        ExpectListInStep();
        manager.reset();
        PumpUntil([] { return Recorder::GetRunningCount() == 0; });
        for (const std::wstring& file : folder.Files())
            DeleteFileW(folder.File(file).c_str());
    }
}

TEST_F(RecordManagerTest, ARecordingWhoseEndTickWasMissedStopsAtTheNextTickHoweverLate)
{
    // The window busy, the computer asleep or the clock moved: the first
    // tick after the end comes late.
    for (int type : {CRecord::Once, CRecord::Weekly}) {
        for (int late : {8, 3600, 3 * 86400}) {
            SCOPED_TRACE(std::to_string(type) + " late by " + std::to_string(late) + " s");
            Start();
            const CTime now = CTime::Now();
            const CTime wanted(now.GetYear(), now.GetMonth(), now.GetDay() + 1, 10, 0, 0);
            CRecord* record = AddScheduled(L"Late", type, wanted, wanted + CTimeSpan(3600));
            const std::wstring name = record->GetName();
            CTime start, end;
            record->GetTimes(start, end);
            ScriptRecording(Ones(64));
            manager->OnTick(start);
            ASSERT_TRUE(WaitForState(name, 3));

            manager->OnTick(end + CTimeSpan(late));
            ASSERT_TRUE(WaitForState(name, 0));
            EXPECT_TRUE(Find(name, true) != nullptr);
            if (type == CRecord::Weekly) {
                // The schedule goes on from now, as after any occurrence.
                const CRecord* next = Find(name + L" (2)");
                ASSERT_NE(nullptr, next);
                CTime nextStart, nextEnd, expectedStart = start, expectedEnd = end;
                next->GetTimes(nextStart, nextEnd);
                RecordSchedule::NextWeekly(CTime::Now(), AllDays, expectedStart, expectedEnd);
                EXPECT_EQ(expectedStart.GetTime(), nextStart.GetTime());
                EXPECT_EQ(expectedEnd.GetTime(), nextEnd.GetTime());
            }
            manager.reset();
            PumpUntil([] { return Recorder::GetRunningCount() == 0; });
            for (const std::wstring& file : folder.Files())
                DeleteFileW(folder.File(file).c_str());
        }
    }
}

TEST_F(RecordManagerTest, AFailedWeeklyOccurrenceIsNotRunAgainButTheScheduleGoesOn)
{
    struct Case {
        const char* what;
        std::string data;
        size_t recordsAfter;
        bool hasFile;
    };
    const Case cases[] = {
        // Not even connected: the schedule goes on all the same.
        {"fails before data", "", 2, false},
        {"fails after data", "abc", 2, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Start();
        RecorderScript script;
        script.fileBytes = c.data;
        script.reports = {{2, 0}};
        if (!c.data.empty())
            script.reports.push_back({3, c.data.size()});
        script.waitForStop = false;
        script.finalState = -1;
        SetRecorderScript(script);
        CRecord* record = AddScheduled(L"Weekly", CRecord::Weekly, CTime::Now(), CTime::Now() + CTimeSpan(600));
        CTime start, end;
        record->GetTimes(start, end);
        manager->OnTick(start);
        ASSERT_TRUE(WaitForState(L"Weekly", -1));

        EXPECT_EQ(L"Error", record->GetStatusText());
        EXPECT_EQ(c.hasFile, record->HasFile());
        EXPECT_EQ(c.recordsAfter, manager->GetRecords().size());
        KV::DataKey saved("records");
        manager->Save(saved);
        // A failed record is not saved; a successor is.
        EXPECT_EQ(c.recordsAfter - 1, saved.GetKeyCount());

        // The failed record never runs again; a successor (here due at the
        // same time tomorrow) runs in its own window.
        const int made = ScriptedRecordersMade();
        manager->OnTick(start + CTimeSpan(1));
        EXPECT_EQ(-1, record->GetState());
        EXPECT_EQ(made + static_cast<int>(c.recordsAfter) - 1, ScriptedRecordersMade());
        const CRecord* successor = Find(L"Weekly (2)");
        EXPECT_EQ(c.recordsAfter == 2, successor && successor->IsRecording());
        ExpectListInStep();
        manager.reset();
        PumpUntil([] { return Recorder::GetRunningCount() == 0; });
        for (const std::wstring& file : folder.Files())
            DeleteFileW(folder.File(file).c_str());
    }
}

TEST_F(RecordManagerTest, DeletingWhileRecordingRemovesRecordAndOutputWhenTheRecorderEnds)
{
    struct Case {
        const char* what;
        std::vector<std::pair<int, uint64_t>> reports;
    };
    const Case cases[] = {
        {"after data", {{2, 0}, {3, 5}}},
        {"before data", {{2, 0}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Start();
        RecorderScript script;
        script.fileBytes = "12345";
        script.reports = c.reports;
        SetRecorderScript(script);
        CRecord* record = AddNow("ab_cd", L"Doomed");
        AddScheduled(L"Other", CRecord::Once, CTime::Now() + CTimeSpan(3600), CTime::Now() + CTimeSpan(7200));
        ASSERT_TRUE(WaitForState(L"Doomed", c.reports.back().first));

        record->Delete();
        EXPECT_TRUE(record->IsClosing());
        EXPECT_EQ(L"Deleting", record->GetStatusText());
        record->Delete();
        ASSERT_TRUE(PumpUntil([this] { return Find(L"Doomed") == nullptr; }));
        EXPECT_TRUE(folder.Files().empty());
        EXPECT_EQ((std::vector<std::wstring>{L"Other"}), host.Items());
        ExpectListInStep();
    }
}

TEST_F(RecordManagerTest, DeletingAnIdleRecordRemovesItAtOnceWithItsFile)
{
    ASSERT_TRUE(WriteFileBytes(folder.File(L"Show#ab_cd#125.mp3"), Ones(10)));
    Start();
    CRecord* show = Find(L"Show");
    manager->SetCurrentRecord(show);
    show->Delete();
    EXPECT_TRUE(manager->GetRecords().empty());
    EXPECT_EQ(nullptr, manager->GetCurrentRecord());
    EXPECT_TRUE(folder.Files().empty());
    EXPECT_EQ(0, host.TabCount());
}

TEST_F(RecordManagerTest, TheManagerGoingWhileARecorderRunsLeavesTheWorkerToEndAlone)
{
    Start();
    AddRecording(L"Running", "data");

    manager.reset();
    EXPECT_TRUE(host.Items().empty());
    EXPECT_EQ(nullptr, CRecordManager::Instance());
    ASSERT_TRUE(PumpUntil([] { return Recorder::GetRunningCount() == 0; }));
    // The worker's last reports went nowhere: the output keeps its first name.
    EXPECT_EQ((std::vector<std::wstring>{L"Running#ab_cd#0.bin"}), folder.Files());
}

TEST_F(RecordManagerTest, AChannelWithoutARecorderFailsOnceAndIsNotRetried)
{
    Start();
    CRecord* record = AddNow("ab_none", L"Nothing");
    EXPECT_EQ(std::vector<std::wstring>{L"Can't create recorder"}, boxes.Texts());
    EXPECT_EQ(-1, record->GetState());
    EXPECT_EQ(L"Error", record->GetStatusText());
    EXPECT_EQ(L"", record->GetExtension());

    CRecord* scheduled = manager->AddRecord(catalogue.Channel("ab_none"), L"Later", CRecord::Once, nullptr,
                                            nullptr, nullptr);
    CTime start, end;
    scheduled->GetTimes(start, end);
    manager->OnTick(start);
    manager->OnTick(start + CTimeSpan(1));
    EXPECT_EQ(2u, boxes.Texts().size());
    EXPECT_TRUE(manager->IsIdle());
}

TEST_F(RecordManagerTest, UniqueNamesAndWeeklySuccessorBases)
{
    struct Case {
        std::vector<std::wstring> existing;
        const wchar_t* finished;
        const wchar_t* successor;
    };
    const Case cases[] = {
        {{L"Film (3)"}, L"Film (3)", L"Film"},
        {{L"Film", L"Film (3)"}, L"Film (3)", L"Film (2)"},
        {{L"film", L"FILM (2)", L"Film (3)"}, L"Film (3)", L"Film (4)"},
        {{L"Film (12)"}, L"Film (12)", L"Film (12) (2)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.successor);
        Start();
        for (const std::wstring& name : c.existing)
            manager->AddRecord(catalogue.Channel("ab_cd"), name, CRecord::Once, nullptr, nullptr, nullptr);
        EXPECT_TRUE(manager->NameExists(c.finished));
        EXPECT_EQ(c.successor, manager->MakeUniqueName(RecordNaming::SuccessorBaseName(c.finished)));
    }
    EXPECT_FALSE(manager->NameExists(L"Other"));
    EXPECT_EQ(L"Other", manager->MakeUniqueName(L"Other"));
}

TEST_F(RecordManagerTest, FileNamesStayInsideTheRecordsFolder)
{
    Start();
    RecorderScript script;
    script.waitForStop = false;
    script.finalState = -1;
    SetRecorderScript(script);
    AddNow("ab_cd", L"..\\..\\evil:#1");
    ASSERT_TRUE(WaitForState(L"..\\..\\evil:#1", -1));
    EXPECT_EQ(folder.Path() + L".._.._evil__1#ab_cd#0.bin", LastScriptedJob().path);
}

TEST_F(RecordManagerTest, AFileThatCannotTakeItsFinalNameKeepsItsName)
{
    Start();
    CRecord* record = AddRecording(L"Show", Ones(1000000));
    ASSERT_TRUE(WriteFileBytes(folder.File(L"Show#ab_cd#61.bin"), "taken"));
    record->StopRecording();
    ASSERT_TRUE(WaitForState(L"Show", 0));

    EXPECT_EQ(L"Show#ab_cd#0.bin", record->GetFileName());
    EXPECT_EQ(1000000u, ReadFileBytes(record->GetPath()).size());
    EXPECT_EQ("taken", ReadFileBytes(folder.File(L"Show#ab_cd#61.bin")));
}

TEST_F(RecordManagerTest, NewPropertiesRelistTheRecordAndANowTypeStartsIt)
{
    Start();
    const CTime start = CTime::Now() + CTimeSpan(3600);
    const CTime end = start + CTimeSpan(600);
    CRecord* beta = AddScheduled(L"Beta", CRecord::Once, start, end);
    AddScheduled(L"Alpha", CRecord::Once, start, end);
    EXPECT_EQ((std::vector<std::wstring>{L"Alpha", L"Beta"}), host.Items());

    const CTime later = start + CTimeSpan(86400);
    beta->SetProperties(L"Aaron", CRecord::Once, later, later + CTimeSpan(60), AllDays);
    EXPECT_EQ((std::vector<std::wstring>{L"Aaron", L"Alpha"}), host.Items());
    EXPECT_EQ(0, host.Selection());
    EXPECT_EQ(later.Format(L"%H:%M %d/%m/%Y") + L" - " + (later + CTimeSpan(60)).Format(L"%H:%M %d/%m/%Y"),
              beta->GetStatusText());
    EXPECT_EQ(RecordNaming::MakeFileName(L"Aaron", "ab_cd", 0, L"bin"), beta->GetFileName());
    ExpectListInStep();

    RecorderScript script;
    script.reports = {{2, 0}};
    SetRecorderScript(script);
    beta->SetProperties(L"Aaron", CRecord::Now, later, later, AllDays);
    EXPECT_TRUE(beta->IsRecording());
    EXPECT_TRUE(PumpUntil([beta] { return beta->GetStatusText() == L"Connecting"; }));
}

TEST_F(RecordManagerTest, SavedRecordsComeBackAndOnlyScheduledOnesWithoutFilesAreSaved)
{
    ASSERT_TRUE(WriteFileBytes(folder.File(L"Done#ab_cd#10.bin"), Ones(100)));
    Start();
    const CTime onceStart = LocalTime(2031, 5, 6, 7, 8, 9);
    const CTime onceEnd = LocalTime(2031, 5, 6, 9, 0, 0);
    const bool someDays[RecordSchedule::WeekdayCount] = {false, true, false, false, true, false, true};
    manager->AddRecord(catalogue.Channel("ab_cd"), L"Once", CRecord::Once, &onceStart, &onceEnd, someDays);
    manager->AddRecord(catalogue.Channel("ab_zero"), L"Weekly", CRecord::Weekly, &onceStart, &onceEnd, someDays);

    KV::DataKey node("records");
    manager->Save(node);
    ASSERT_EQ(2u, node.GetKeyCount());
    const KV::DataKey* first = node.GetKey(std::string("0"));
    ASSERT_NE(nullptr, first);
    EXPECT_EQ(L"Once", first->GetStringW("n", L""));
    EXPECT_EQ(CRecord::Once, first->GetInt("t", -1));
    EXPECT_EQ("ab_cd", first->GetStringA("c", ""));
    const char* const days[] = {"d0", "d1", "d2", "d3", "d4", "d5", "d6"};
    for (int day = 0; day < 7; ++day)
        EXPECT_EQ(someDays[day], first->GetBool(days[day], !someDays[day])) << days[day];
    // The time's 64-bit count travels as the bit pattern of a double.
    const double stored = first->GetDouble("st", 0.0);
    int64_t bits = 0;
    std::memcpy(&bits, &stored, sizeof(bits));
    EXPECT_EQ(onceStart.GetTime(), bits);
    ASSERT_NE(nullptr, node.GetKey(std::string("1")));
    EXPECT_EQ(L"Weekly", node.GetKey(std::string("1"))->GetStringW("n", L""));

    // A saved record of a channel that left the catalogue is dropped, and
    // the numbering ends at the first gap.
    node.AddKey("2")->SetStringA("c", "zz_gone");
    node.AddKey("4")->SetStringA("c", "ab_cd");
    Start(&node);
    ASSERT_EQ(3u, manager->GetRecords().size());
    const CRecord* once = Find(L"Once");
    ASSERT_NE(nullptr, once);
    CTime start, end;
    once->GetTimes(start, end);
    EXPECT_EQ(onceStart.GetTime(), start.GetTime());
    EXPECT_EQ(onceEnd.GetTime(), end.GetTime());
    EXPECT_EQ(0, std::memcmp(someDays, once->GetWeekdays(), sizeof(someDays)));
    EXPECT_FALSE(once->HasFile());
    EXPECT_EQ(L"bin", once->GetExtension());

    const CRecord* weekly = Find(L"Weekly");
    ASSERT_NE(nullptr, weekly);
    weekly->GetTimes(start, end);
    CTime expectedStart = onceStart, expectedEnd = onceEnd;
    RecordSchedule::NextWeekly(CTime::Now(), someDays, expectedStart, expectedEnd);
    EXPECT_EQ(expectedStart.GetTime(), start.GetTime());
    EXPECT_EQ(expectedEnd.GetTime(), end.GetTime());
    EXPECT_NE(nullptr, Find(L"Done"));
    EXPECT_TRUE(boxes.Texts().empty());
    ExpectListInStep();
}

TEST_F(RecordManagerTest, ARestoredRecordWithoutAFactoryIsKeptAfterANotice)
{
    KV::DataKey node("records");
    KV::DataKey* key = node.AddKey("0");
    key->SetStringW("n", L"Orphan");
    key->SetInt("t", CRecord::Once);
    key->SetStringA("c", "ab_none");
    Start(&node);
    EXPECT_EQ(std::vector<std::wstring>{L"WAY0"}, boxes.Texts());
    const CRecord* orphan = Find(L"Orphan");
    ASSERT_NE(nullptr, orphan);
    EXPECT_EQ(nullptr, orphan->GetFactory());
    EXPECT_EQ(L"", orphan->GetExtension());
}

TEST_F(RecordManagerTest, TheSettingsKeepTheRecordsNodeTheManagerWroteLast)
{
    CSettings::Load(L"recording_tests.cfg");
    Start();
    AddScheduled(L"Kept", CRecord::Once, CTime::Now() + CTimeSpan(3600), CTime::Now() + CTimeSpan(7200));
    ASSERT_TRUE(CSettings::Save());
    CSettings::Load(L"recording_tests.cfg");
    const KV::DataKey* records = CSettings::GetRecordsNode();
    ASSERT_NE(nullptr, records);
    ASSERT_NE(nullptr, records->GetKey(std::string("0")));
    EXPECT_EQ(L"Kept", records->GetKey(std::string("0"))->GetStringW("n", L""));

    // Without its manager a save keeps the records it last wrote.
    manager.reset();
    ASSERT_TRUE(CSettings::Save());
    CSettings::Load(L"recording_tests.cfg");
    records = CSettings::GetRecordsNode();
    ASSERT_NE(nullptr, records);
    ASSERT_NE(nullptr, records->GetKey(std::string("0")));
    EXPECT_EQ(L"Kept", records->GetKey(std::string("0"))->GetStringW("n", L""));
    DeleteFileW(CSettings::GetFilePath().c_str());
}

TEST(RecordManagerFolderTest, TheDefaultFolderLiesUnderMyDocuments)
{
    const std::wstring folder = CRecordManager::DefaultFolder();
    const std::wstring suffix = L"\\Brisvane\\Records\\";
    ASSERT_GT(folder.size(), suffix.size());
    EXPECT_EQ(suffix, folder.substr(folder.size() - suffix.size()));
    EXPECT_EQ(0u, folder.find(KV::GetShellFolder(CSIDL_PERSONAL, L"")));
}

} // namespace

namespace {

TEST_F(RecordManagerTest, ARestoredRecordNeverOverwritesTheFileOfARunThatDied)
{
    Start();
    const CTime start = CTime::Now() + CTimeSpan(3600);
    AddScheduled(L"Show", CRecord::Once, start, start + CTimeSpan(600));
    KV::DataKey node("records");
    manager->Save(node);
    // The run died while the record was recording: its file keeps the
    // duration 0 in its name.
    ASSERT_TRUE(WriteFileBytes(folder.File(L"Show#ab_cd#0.bin"), "earlier run"));
    Start(&node);
    CRecord* restored = Find(L"Show", false);
    ASSERT_NE(nullptr, restored);
    ASSERT_NE(nullptr, Find(L"Show", true));

    EXPECT_EQ(folder.File(L"Show (2)#ab_cd#0.bin"), RecordOccurrence(restored, start, "restored"));
    EXPECT_EQ("earlier run", ReadFileBytes(folder.File(L"Show#ab_cd#0.bin")));
    EXPECT_EQ(L"Show (2)#ab_cd#0.bin", restored->GetFileName());
    EXPECT_EQ("restored", ReadFileBytes(restored->GetPath()));
    EXPECT_EQ(L"Show", restored->GetName());
}

TEST_F(RecordManagerTest, RecordsWhoseNamesMapToOneFileNameRecordIntoFilesOfTheirOwn)
{
    Start();
    const std::pair<const wchar_t*, const char*> recordings[] = {{L"A?B", "first"}, {L"A_B", "second"}};
    std::vector<CRecord*> records;
    for (const auto& recording : recordings)
        records.push_back(AddRecording(recording.first, recording.second));
    manager->StopAll();
    ASSERT_TRUE(PumpUntil([this] { return manager->IsIdle(); }));

    EXPECT_EQ((std::vector<std::wstring>{L"A_B (2)#ab_cd#0.bin", L"A_B#ab_cd#0.bin"}), folder.Files());
    for (size_t i = 0; i < records.size(); ++i) {
        EXPECT_EQ(0, records[i]->GetState());
        EXPECT_EQ(recordings[i].second, ReadFileBytes(records[i]->GetPath()));
    }
}

TEST_F(RecordManagerTest, AWeeklyRecordWhoseWholeOccurrenceWasMissedMovesToTheNextOne)
{
    Start();
    CRecord* record = AddWeeklyFromTomorrow(L"Weekly");
    CTime start, end;
    record->GetTimes(start, end);
    const int made = ScriptedRecordersMade();

    // The computer slept from before the start until after the end.
    const CTime woke = end + CTimeSpan(8);
    manager->OnTick(woke);
    EXPECT_EQ(made, ScriptedRecordersMade());
    EXPECT_EQ(0, record->GetState());
    CTime nextStart, nextEnd, expectedStart = start, expectedEnd = end;
    RecordSchedule::NextWeekly(woke, AllDays, expectedStart, expectedEnd);
    record->GetTimes(nextStart, nextEnd);
    EXPECT_EQ(expectedStart.GetTime(), nextStart.GetTime());
    EXPECT_EQ(expectedEnd.GetTime(), nextEnd.GetTime());
    EXPECT_EQ(start.GetTime() + 86400, nextStart.GetTime());
    EXPECT_EQ(nextStart.Format(L"%H:%M %d/%m/%Y") + L" - " + nextEnd.Format(L"%H:%M %d/%m/%Y"),
              record->GetStatusText());

    manager->OnTick(nextStart);
    EXPECT_EQ(made + 1, ScriptedRecordersMade());
    EXPECT_TRUE(record->IsRecording());
}

TEST_F(RecordManagerTest, AWeeklyRecordSavedDuringAnOccurrenceComesBackForTheNextOne)
{
    Start();
    ScriptRecording("abc");
    CRecord* record = AddWeeklyFromTomorrow(L"Weekly");
    CTime start, end;
    record->GetTimes(start, end);
    manager->OnTick(start);
    ASSERT_TRUE(WaitForState(L"Weekly", 3));
    ASSERT_TRUE(record->HasFile());

    KV::DataKey node("records");
    manager->Save(node);
    ASSERT_EQ(1u, node.GetKeyCount());
    ASSERT_NE(nullptr, node.GetKey(std::string("0")));
    EXPECT_EQ(L"Weekly", node.GetKey(std::string("0"))->GetStringW("n", L""));
    EXPECT_EQ(CRecord::Weekly, node.GetKey(std::string("0"))->GetInt("t", -1));

    // The program ends here without a word from the recorder and starts
    // again: the schedule is back, and the interrupted file stays as it is.
    Start(&node);
    ASSERT_TRUE(PumpUntil([] { return Recorder::GetRunningCount() == 0; }));
    CRecord* restored = Find(L"Weekly", false);
    ASSERT_NE(nullptr, restored);
    EXPECT_EQ(CRecord::Weekly, restored->GetType());
    CTime restoredStart, restoredEnd, expectedStart = start, expectedEnd = end;
    restored->GetTimes(restoredStart, restoredEnd);
    RecordSchedule::NextWeekly(CTime::Now(), AllDays, expectedStart, expectedEnd);
    EXPECT_EQ(expectedStart.GetTime(), restoredStart.GetTime());

    // Its next occurrence records into a file of its own and hands the
    // schedule on once: only the successor is saved then.
    EXPECT_EQ(folder.File(L"Weekly (2)#ab_cd#0.bin"), RecordOccurrence(restored, restoredStart, "next"));
    EXPECT_EQ("abc", ReadFileBytes(folder.File(L"Weekly#ab_cd#0.bin")));
    KV::DataKey again("records");
    manager->Save(again);
    ASSERT_EQ(1u, again.GetKeyCount());
    EXPECT_EQ(L"Weekly (2)", again.GetKey(std::string("0"))->GetStringW("n", L""));
}

TEST_F(RecordManagerTest, AStopWhileTheServerIsSilentKeepsEveryByteUnderTheFinalName)
{
    struct Case {
        const char* channel;
        const wchar_t* extension;
    };
    const Case cases[] = {{"ab_mp", L"mp3"}, {"ab_mm", L"asf"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.channel);
        AudioStreamServer audio(AudioStreamServer::Mode::StallAfterBytes, 3000);
        FakeMmsServer mms(FakeMmsServer::Mode::StallAfterPackets, 7);
        const bool isMms = std::string(c.channel) == "ab_mm";
        AimTestGrabber(isMms ? mms.GetPort() : audio.GetPort());
        const std::string expected =
            isMms ? mms.ExpectedRecording() : AudioStreamServer::ResponseHead + StreamBytes(0, 3000);
        Start();
        CRecord* record = AddNow(c.channel, L"Live");
        // libmms hands over its reads only whole: the MMS stream is all out
        // once the server sent it and the recorder connected.
        if (isMms) {
            ASSERT_TRUE(PumpUntil([&mms] { return mms.WaitForStreamSent(0); }));
            ASSERT_TRUE(PumpUntil([record] { return record->GetState() == 3; }));
        } else {
            ASSERT_TRUE(PumpUntil(
                [record, &expected] { return ReadFileBytes(record->GetPath()).size() >= expected.size(); }));
            ASSERT_TRUE(PumpUntil([record] { return record->HasFile(); }));
        }
        record->StopRecording();
        ASSERT_TRUE(WaitForState(L"Live", 0));

        const std::wstring finalName = RecordNaming::MakeFileName(
            L"Live", c.channel, static_cast<uint64_t>(record->GetDuration().GetTotalSeconds()), c.extension);
        EXPECT_EQ(finalName, record->GetFileName());
        EXPECT_EQ((std::vector<std::wstring>{finalName}), folder.Files());
        // Compared as a whole: a difference would print kilobytes.
        EXPECT_TRUE(expected == ReadFileBytes(record->GetPath()));
        manager.reset();
        PumpUntil([] { return Recorder::GetRunningCount() == 0; });
        DeleteFileW(folder.File(finalName).c_str());
    }
}

TEST_F(RecordManagerTest, ARecordingThatGetsNoDataLeavesNoFile)
{
    {
        SCOPED_TRACE("the HTTP audio server closes at once");
        AudioStreamServer server(AudioStreamServer::Mode::CloseAtOnce);
        AimTestGrabber(server.GetPort());
        Start();
        AddNow("ab_mp", L"Radio");
        ASSERT_TRUE(WaitForState(L"Radio", -1));
        EXPECT_TRUE(folder.Files().empty());
    }
    {
        SCOPED_TRACE("the MMS recording is stopped while it connects");
        FakeMmsServer server(FakeMmsServer::Mode::ServeAfterRelease, 5);
        AimTestGrabber(server.GetPort());
        Start();
        CRecord* record = AddNow("ab_mm", L"Tele");
        ASSERT_TRUE(PumpUntil([&server] { return server.WaitForStreamRequest(0); }));
        record->StopRecording();
        server.Release();
        ASSERT_TRUE(WaitForState(L"Tele", 0));
        EXPECT_TRUE(folder.Files().empty());
        manager.reset();
        PumpUntil([] { return Recorder::GetRunningCount() == 0; });
    }
}

TEST_F(RecordManagerTest, ReportsThatCannotBeDeliveredLeaveNoRecordRecording)
{
    Start();
    CRecord* record = AddRecording(L"Lost", Ones(1000000));

    // The window that carries the reports is gone: nothing of the worker's
    // reaches the record from here on.
    const HWND reports = FindWindowExW(HWND_MESSAGE, nullptr, nullptr, CRecorderReportWindow::WindowText);
    ASSERT_NE(nullptr, reports);
    ASSERT_TRUE(DestroyWindow(reports));
    record->StopRecording();
    ASSERT_TRUE(PumpUntil([] { return Recorder::GetRunningCount() == 0; }));
    EXPECT_TRUE(manager->IsIdle());
    manager->OnTick();
    EXPECT_EQ(0, record->GetState());
    EXPECT_FALSE(record->IsRecording());
    EXPECT_EQ(L"Lost#ab_cd#61.bin", record->GetFileName());
    EXPECT_EQ((std::vector<std::wstring>{L"Lost#ab_cd#61.bin"}), folder.Files());

    // A recording that could not report is not started at all.
    CRecord* later = AddNow("ab_cd", L"Later");
    EXPECT_EQ(-1, later->GetState());
    EXPECT_EQ(L"Error", later->GetStatusText());
    EXPECT_EQ(std::vector<std::wstring>{L"Can't create recorder"}, boxes.Texts());
    EXPECT_TRUE(manager->IsIdle());
}

} // namespace
