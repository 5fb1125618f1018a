// A records page in its stand-in windows over a real records manager in a
// temporary folder, with the test catalogue; records made as a user's
// would be: found files, scheduled records, recordings.
#pragma once

#include "tests/recordsui/RecordsUiSupport.h"
#include "tests/support/RecordLookup.h"

#include "foundation/Lang.h"
#include "player/recording/Record.h"
#include "player/recording/RecordManager.h"
#include "player/recording/Recorder.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace RecordsUiTest {

class RecordsPageTest : public testing::Test {
protected:
    void SetUp() override
    {
        ::SetCursorPos(1270, 1010);
        SetRecorderPlan(RecorderPlan::ConnectOnly);
        HoldRecorderStops(false);
        PrepareSkin();
        folder = std::make_unique<TempRecordsFolder>();
        catalogue = std::make_unique<TestCatalogue>();
        host = std::make_unique<PageHost>();
    }

    void TearDown() override
    {
        HoldRecorderStops(false);
        manager.reset();
        EXPECT_TRUE(WaitFor([] { return Recorder::GetRunningCount() == 0; }));
        host.reset();
        catalogue.reset();
        folder.reset();
        RestoreSkin();
    }

    // Before the catalogue and the page take their images.
    virtual void PrepareSkin() {}
    virtual void RestoreSkin() {}

    CRecordManager& Start()
    {
        manager = std::make_unique<CRecordManager>(host->List(), folder->Path(), nullptr);
        return *manager;
    }

    CRecord* Find(const std::wstring& name) const { return FindRecord(*manager, name); }

    CChannel* Tv() const { return catalogue->Channel(TvId); }
    CChannel* Radio() const { return catalogue->Channel(RadioId); }

    // Tomorrow 20:00 to 21:00, every day.
    CRecord* AddScheduled(const std::wstring& name, CChannel* channel, int type = CRecord::Once)
    {
        const CTime now = CTime::Now();
        const CTime start = LocalTime(now.GetYear(), now.GetMonth(), now.GetDay() + 1, 20, 0);
        const CTime end = LocalTime(now.GetYear(), now.GetMonth(), now.GetDay() + 1, 21, 0);
        const bool days[RecordSchedule::WeekdayCount] = {true, true, true, true, true, true, true};
        return manager->AddRecord(channel, name, type, &start, &end, days);
    }

    // A "now" record whose recorder connected (and, for RecordData,
    // recorded some bytes).
    CRecord* AddRecording(const std::wstring& name, RecorderPlan plan = RecorderPlan::ConnectOnly)
    {
        SetRecorderPlan(plan);
        CRecord* record = manager->AddRecord(Tv(), name, CRecord::Now, nullptr, nullptr, nullptr);
        // The state is "connecting" from the start; the report sets the text.
        const std::wstring& connecting = KV::Lang::GetText("str_connecting");
        EXPECT_TRUE(WaitFor([&] {
            return plan == RecorderPlan::RecordData ? record->HasFile() : record->GetStatusText() == connecting;
        }));
        return record;
    }

    // A record whose recorder failed before any data.
    CRecord* AddFailed(const std::wstring& name)
    {
        CRecord* record = AddScheduled(name, Tv());
        SetRecorderPlan(RecorderPlan::FailAtOnce);
        record->StartRecording();
        EXPECT_TRUE(WaitFor([&] { return record->GetState() == Recorder::Failed; }));
        return record;
    }

    // One record in each state a recorder gives: connecting ("Verbinden"),
    // recording with data ("Laufend"), failed ("Kaputt"), a scheduled radio
    // record ("Bald"), and one being deleted ("Weg") whose recorder is held
    // (HoldRecorderStops), so that it stays until its last report is taken.
    struct RecordsInEachState {
        CRecord* connecting;
        CRecord* recording;
        CRecord* failed;
        CRecord* scheduled;
        CRecord* deleting;
    };
    RecordsInEachState AddOneInEachState()
    {
        RecordsInEachState records{};
        records.connecting = AddRecording(L"Verbinden");
        records.recording = AddRecording(L"Laufend", RecorderPlan::RecordData);
        records.failed = AddFailed(L"Kaputt");
        records.scheduled = AddScheduled(L"Bald", Radio());
        records.deleting = AddRecording(L"Weg");
        HoldRecorderStops(true);
        records.deleting->Delete();
        return records;
    }

    // Sends a command of the popup menu to the page, as the menu does.
    void Command(UINT id) { host->page.SendMessage(WM_COMMAND, MAKEWPARAM(id, 0), 0); }

    std::unique_ptr<TempRecordsFolder> folder;
    std::unique_ptr<TestCatalogue> catalogue;
    std::unique_ptr<PageHost> host;
    std::unique_ptr<CRecordManager> manager;
};

} // namespace RecordsUiTest
