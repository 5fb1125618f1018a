#pragma once
// The records manager: owns every record, keeps them in step with the
// records list, finds the finished recordings in the records folder, restores
// the scheduled records from the settings and saves them again ("records"
// node), and drives the schedule from the records list's 500 ms timer. One
// instance, created and deleted by the main window.
//
// Threads: everything here runs on the user-interface thread. Recorder
// reports come in through the manager's report window (a SendMessage from
// the worker), so a record's state, texts and list item, and the records
// list when a weekly record adds its next occurrence, are only ever changed
// on this thread.

#include "framework/Time.h"
#include "player/recording/Record.h"

#include <memory>
#include <string>
#include <vector>

class CChannel;
class CRecordListView;
class CRecorderReportWindow;
class Recorder;
class RecorderReportSink;

namespace KV {
class DataKey;
}

class CRecordManager {
public:
    // Records folder under My Documents, the saved records from the
    // settings (CSettings::GetRecordsNode). view (the records panel's list
    // and tab count) must outlive the manager. While the manager lives it
    // is the settings' "records" writer (CSettings::SetRecordsWriter).
    explicit CRecordManager(CRecordListView& view);
    // folder: the records folder (created when missing; a trailing backslash
    // is added); savedRecords: a "records" node, or null for none.
    CRecordManager(CRecordListView& view, const std::wstring& folder, const KV::DataKey* savedRecords);
    // Deletes every record and empties the list. Running recorders are asked
    // to stop; their workers finish on their own and report to nobody.
    ~CRecordManager();

    CRecordManager(const CRecordManager&) = delete;
    CRecordManager& operator=(const CRecordManager&) = delete;

    // The manager most recently created and not yet deleted, or null.
    static CRecordManager* Instance();
    // "<My Documents>\Brisvane\Records\"; empty when the documents folder is
    // unknown. Nothing is created.
    static std::wstring DefaultFolder();

    // Ends with a backslash.
    const std::wstring& GetFolder() const { return m_folder; }
    CRecordListView& GetView() { return m_view; }
    // In order of adding.
    const std::vector<std::unique_ptr<CRecord>>& GetRecords() const { return m_records; }
    // Whether record is one of the manager's (a pointer from a message may
    // be anything, or a record that has gone).
    bool Holds(const CRecord* record) const;
    // What the records' recorders report into.
    std::shared_ptr<RecorderReportSink> GetReportSink() const;
    // The reports of recorders can reach the records (the report window
    // exists).
    bool CanReceiveReports() const;
    // The record's name, else "name (2)", "name (3)", ...: the first under
    // which neither a file of the records folder nor another record's file
    // name begins (ignoring case) with "<name>#<channel id>#".
    std::wstring MakeFreeFileStem(const CRecord& record) const;

    // A new record, listed and selected; a "now" record starts recording.
    CRecord* AddRecord(CChannel* channel, const std::wstring& name, int type, const CTime* start,
                       const CTime* end, const bool* weekdays);
    // name when no record has it (ignoring case), else "name (2)", "name (3)", ...
    std::wstring MakeUniqueName(const std::wstring& name) const;
    bool NameExists(const std::wstring& name) const;
    // Unlists and deletes the record, and its file when it has one.
    void RemoveRecord(CRecord* record);
    // Lists the record again under its present name (the list sorts by it).
    void Relist(CRecord& record);
    // Gives every listed record its list index; the records tab gets the
    // count.
    void Renumber();

    // The schedule tick (the records list's timer).
    void OnTick();
    void OnTick(const CTime& now);

    void StopAll();
    // No record is recording with its recorder's worker still at work.
    bool IsIdle() const;

    // One sub-key "0", "1", ... per record that CRecord::ShouldBeSaved.
    void Save(KV::DataKey& recordsNode) const;

    // The record being played, or null.
    CRecord* GetCurrentRecord() const { return m_currentRecord; }
    void SetCurrentRecord(CRecord* record) { m_currentRecord = record; }

private:
    void ScanFolder();
    void Restore(const KV::DataKey& recordsNode);
    void Append(std::unique_ptr<CRecord> record);
    void DeliverReport(Recorder* recorder, int state, uint64_t bytes);
    // Ends the recordings whose workers ended unheard.
    void EndLostRecordings();
    bool IsFileStemTaken(const std::wstring& prefix, const CRecord& record) const;

    std::wstring m_folder;
    CRecordListView& m_view;
    std::vector<std::unique_ptr<CRecord>> m_records;
    CRecord* m_currentRecord = nullptr;
    std::unique_ptr<CRecorderReportWindow> m_reportWindow;
};
