#pragma once
// One entry of the records list: a recording to be made now, once at a set
// time or weekly on chosen days, or a finished recording file found in the
// records folder. A record that records holds its Recorder and turns the
// recorder's reports into the texts of its list item, the final name of its
// file and, for a weekly record, the next occurrence.
//
// User-interface thread only: the recorder's reports reach the record
// through the manager's report window (RecorderReportWindow.h).

#include "framework/Time.h"
#include "player/recording/RecordSchedule.h"

#include <cstdint>
#include <memory>
#include <string>

class CChannel;
class CRecordManager;
class Recorder;
class RecorderFactory;

namespace KV {
class DataKey;
}

class CRecord {
public:
    enum Type { Now = 0, Once = 1, Weekly = 2 };

    // A saved record: "n", "t", "d0".."d6", "st", "et" of key. A weekly
    // record moves to its next occurrence.
    CRecord(CRecordManager& manager, CChannel* channel, const KV::DataKey& key);
    // A new record; start, end and weekdays may be null (0 and none).
    CRecord(CRecordManager& manager, CChannel* channel, const std::wstring& name, int type, const CTime* start,
            const CTime* end, const bool* weekdays);
    // A file found in the records folder; channel may be null.
    CRecord(CRecordManager& manager, const std::wstring& name, const std::wstring& fileName, uint64_t size,
            int64_t seconds, CChannel* channel);
    // Asks a running recorder to stop; it finishes on its own thread and its
    // reports go nowhere.
    ~CRecord();

    CRecord(const CRecord&) = delete;
    CRecord& operator=(const CRecord&) = delete;

    CChannel* GetChannel() const { return m_channel; }
    int GetType() const { return m_type; }
    RecorderFactory* GetFactory() const { return m_factory; }
    const std::wstring& GetName() const { return m_name; }
    const std::wstring& GetFileName() const { return m_fileName; }
    // The name the record's files are named after: its own name, or a
    // numbered variant of it ("Show (2)") when files of that name exist.
    const std::wstring& GetFileStem() const { return m_fileStem.empty() ? m_name : m_fileStem; }
    const std::wstring& GetPath() const { return m_path; }
    // Second line of the list item.
    const std::wstring& GetStatusText() const { return m_statusText; }
    const std::wstring& GetDurationText() const { return m_durationText; }
    const std::wstring& GetExtension() const { return m_extension; }
    bool HasFile() const { return m_hasFile; }
    int GetState() const { return m_state; }
    // Neither idle/done (0) nor failed (-1).
    bool IsRecording() const { return m_state != 0 && m_state != -1; }
    bool IsClosing() const { return m_closing; }
    // Its recorder's worker is still at work (false without a recorder).
    bool IsRecorderRunning() const;
    // A weekly record whose occurrence ended and whose schedule a successor
    // carries on: it is neither started nor saved again.
    bool HasHandedOnSchedule() const { return m_scheduleHandedOn; }
    // Belongs in the saved "records" node: a scheduled record without a file
    // that has not failed, or a weekly record in the middle of an occurrence
    // (restored, it goes on to its next one).
    bool ShouldBeSaved() const;
    int GetListIndex() const { return m_listIndex; }
    void SetListIndex(int index) { m_listIndex = index; }
    uint64_t GetBytes() const { return m_bytes; }
    CTimeSpan GetDuration() const { return m_duration; }
    uint32_t GetBitsPerSecond() const { return m_bitsPerSecond; }
    void GetTimes(CTime& start, CTime& end) const;
    const bool* GetWeekdays() const { return m_weekdays; }
    // Whether recorder is the one this record runs.
    bool Owns(const Recorder* recorder) const { return recorder && m_recorder.get() == recorder; }

    // From the record dialog: new name, type, times and weekdays; a "now"
    // record starts recording.
    void SetProperties(const std::wstring& name, int type, const CTime& start, const CTime& end,
                       const bool weekdays[RecordSchedule::WeekdayCount]);
    // Gives the record the new name (null keeps it) and its file the name
    // built from name, channel, duration and extension, moving a file that
    // exists; a file that cannot be moved keeps its old name.
    void Rename(const wchar_t* newName);

    // Starts a recorder for the record; failing that, the record fails.
    void StartRecording();
    void StopRecording();
    // The schedule: starts a scheduled record in the 8 seconds from its
    // start on, stops it at any tick from its end on.
    void OnTick(const CTime& now);
    // A report of the record's recorder (user-interface thread).
    void OnRecorderStatus(int state, uint64_t bytes);
    // Ends the recording of a recorder whose worker ended without its final
    // report reaching the record (the reports could not be delivered), with
    // what the recorder knows: its final state and the file it made.
    void EndLostRecording();
    // Removes the record (with its file); a recording one first stops and
    // goes when its recorder's final report arrives.
    void Delete();
    void Save(KV::DataKey& key) const;

    // A weekly record moves to its next occurrence from now on.
    void ScheduleNext(const CTime& now);
    void ScheduleNext() { ScheduleNext(CTime::Now()); }

    // The factory's extension, else the path's own.
    void UpdateExtension();
    // Scheduled records: "start - end", each "%H:%M %d/%m/%Y".
    void UpdateScheduleText();
    // "%H:%M:%S" of the duration.
    void UpdateDurationText();
    // Repaints the list item, when listed.
    void Redraw();

private:
    void InitFactory();
    void SetRecordingText();
    void SetDoneText();
    // Ends a recording that could not start (no recorder, no thread).
    void FailToStart();
    void AddSuccessor();
    // A weekly occurrence whose start and end passed without a recording:
    // the record moves to its next occurrence.
    void SkipMissedOccurrence(const CTime& now);

    CRecordManager& m_manager;
    CChannel* m_channel = nullptr;
    int m_type = Now;
    RecorderFactory* m_factory = nullptr;
    std::wstring m_name;
    std::wstring m_fileStem;
    std::wstring m_fileName;
    std::wstring m_path;
    std::wstring m_statusText;
    std::wstring m_durationText;
    std::wstring m_extension;
    bool m_hasFile = false;
    int m_state = 0;
    int m_listIndex = -1;
    uint64_t m_bytes = 0;
    std::shared_ptr<Recorder> m_recorder;
    CTimeSpan m_duration;
    CTime m_start;
    CTime m_end;
    uint32_t m_bitsPerSecond = 0;
    bool m_closing = false;
    bool m_scheduleHandedOn = false;
    bool m_weekdays[RecordSchedule::WeekdayCount] = {};
};
