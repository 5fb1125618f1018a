#include "player/recording/Record.h"

#include "foundation/DataKey.h"
#include "foundation/Lang.h"
#include "foundation/UtilitiesCommon.h"
#include "player/catalogue/Channel.h"
#include "player/catalogue/SystemMessageBox.h"
#include "player/recording/RecordListView.h"
#include "player/recording/RecordManager.h"
#include "player/recording/RecordNaming.h"
#include "player/recording/Recorder.h"
#include "player/recording/RecorderFactory.h"
#include "player/recording/RecordingJob.h"

#include <cstring>

namespace {

const wchar_t ScheduleTimeFormat[] = L"%H:%M %d/%m/%Y";
const wchar_t DurationFormat[] = L"%H:%M:%S";
// Assumed when the channel's stream tells no bitrate.
constexpr uint32_t DefaultBitsPerSecond = 512000;

const char* const WeekdayValueNames[RecordSchedule::WeekdayCount] = {"d0", "d1", "d2", "d3", "d4", "d5", "d6"};

// Times are kept in the settings as the bit pattern of their 64-bit second
// count, carried in a double value.
CTime TimeFromBits(double bits)
{
    __time64_t seconds = 0;
    std::memcpy(&seconds, &bits, sizeof(seconds));
    return CTime(seconds);
}

double BitsFromTime(const CTime& time)
{
    const __time64_t seconds = time.GetTime();
    double bits = 0;
    std::memcpy(&bits, &seconds, sizeof(bits));
    return bits;
}

std::wstring SizeText(uint64_t bytes)
{
    return KV::FormatSizeKb(static_cast<uint32_t>(bytes), static_cast<uint32_t>(bytes >> 32));
}

void ShowNotice(const wchar_t* text)
{
    ShowSystemMessageBox(nullptr, text, nullptr, MB_OK);
}

} // namespace

CRecord::CRecord(CRecordManager& manager, CChannel* channel, const KV::DataKey& key)
    : m_manager(manager), m_channel(channel)
{
    m_name = key.GetStringW("n", L"");
    m_type = key.GetInt("t", Now);
    for (int day = 0; day < RecordSchedule::WeekdayCount; ++day)
        m_weekdays[day] = key.GetBool(WeekdayValueNames[day], false);
    m_start = TimeFromBits(key.GetDouble("st", 0.0));
    m_end = TimeFromBits(key.GetDouble("et", 0.0));
    InitFactory();
    if (!m_factory)
        ShowNotice(L"WAY0");
    UpdateExtension();
    Rename(nullptr);
    ScheduleNext();
    UpdateScheduleText();
}

CRecord::CRecord(CRecordManager& manager, CChannel* channel, const std::wstring& name, int type,
                 const CTime* start, const CTime* end, const bool* weekdays)
    : m_manager(manager), m_channel(channel), m_type(type)
{
    if (start)
        m_start = *start;
    if (end)
        m_end = *end;
    if (weekdays)
        std::memcpy(m_weekdays, weekdays, sizeof(m_weekdays));
    InitFactory();
    ScheduleNext();
    UpdateExtension();
    Rename(name.c_str());
    UpdateScheduleText();
}

CRecord::CRecord(CRecordManager& manager, const std::wstring& name, const std::wstring& fileName, uint64_t size,
                 int64_t seconds, CChannel* channel)
    : m_manager(manager), m_channel(channel), m_name(name), m_fileName(fileName), m_hasFile(true),
      m_bytes(size), m_duration(seconds)
{
    m_path = m_manager.GetFolder() + m_fileName;
    UpdateExtension();
    UpdateDurationText();
    SetDoneText();
}

CRecord::~CRecord()
{
    if (m_recorder)
        m_recorder->Stop();
}

void CRecord::InitFactory()
{
    m_factory = m_channel ? RecorderFactory::Find(m_channel->GetRecorderKey()) : nullptr;
}

void CRecord::GetTimes(CTime& start, CTime& end) const
{
    start = m_start;
    end = m_end;
}

void CRecord::UpdateExtension()
{
    m_extension = m_factory ? m_factory->GetExtension() : RecordNaming::ExtensionOf(m_path);
}

void CRecord::UpdateScheduleText()
{
    if (m_type == Once || m_type == Weekly)
        m_statusText = m_start.Format(ScheduleTimeFormat) + L" - " + m_end.Format(ScheduleTimeFormat);
}

void CRecord::UpdateDurationText()
{
    m_durationText = m_duration.Format(DurationFormat);
}

void CRecord::SetRecordingText()
{
    m_statusText = KV::Lang::GetText("str_recording") + L": " + m_durationText + L"   " +
                   KV::Lang::GetText("str_size") + L": " + SizeText(m_bytes);
}

void CRecord::SetDoneText()
{
    m_statusText = m_durationText + L"   " + KV::Lang::GetText("str_size") + L": " + SizeText(m_bytes);
}

void CRecord::Redraw()
{
    if (m_listIndex >= 0)
        m_manager.GetView().RedrawItem(m_listIndex);
}

void CRecord::Rename(const wchar_t* newName)
{
    if (newName) {
        m_name = newName;
        m_fileStem.clear();
    }
    const std::wstring fileName =
        m_channel ? RecordNaming::MakeFileName(GetFileStem(), m_channel->GetId(),
                                               static_cast<uint64_t>(m_duration.GetTotalSeconds()), m_extension)
                  : m_fileName;
    const std::wstring path = m_manager.GetFolder() + fileName;
    if (m_hasFile && !m_path.empty() && path != m_path) {
        // The record must keep naming the file that holds its data.
        if (!::MoveFileW(m_path.c_str(), path.c_str()))
            return;
    }
    m_fileName = fileName;
    m_path = path;
}

void CRecord::SetProperties(const std::wstring& name, int type, const CTime& start, const CTime& end,
                            const bool weekdays[RecordSchedule::WeekdayCount])
{
    const bool renamed = name != m_name;
    Rename(name.c_str());
    m_type = type;
    m_start = start;
    m_end = end;
    std::memcpy(m_weekdays, weekdays, sizeof(m_weekdays));
    // New times give a failed record (one without data) another chance;
    // otherwise the tick would never start it and the save would drop it.
    if (m_state == Recorder::Failed && !m_hasFile)
        m_state = 0;
    m_scheduleHandedOn = false;
    ScheduleNext();
    UpdateScheduleText();
    if (renamed)
        m_manager.Relist(*this);
    Redraw();
    if (m_type == Now)
        StartRecording();
}

void CRecord::ScheduleNext(const CTime& now)
{
    if (m_type == Weekly)
        RecordSchedule::NextWeekly(now, m_weekdays, m_start, m_end);
}

void CRecord::StartRecording()
{
    // One recorder at a time, and never over a file that holds data.
    if (IsRecording() || m_hasFile)
        return;
    const CChannelSource* source = m_channel ? m_channel->GetCurrentSource() : nullptr;
    if (m_channel) {
        const int32_t bitrate = source ? source->GetBitrate() : 0;
        m_bitsPerSecond = (bitrate > 0 && bitrate <= static_cast<int32_t>(UINT32_MAX >> 10))
                              ? static_cast<uint32_t>(bitrate) << 10
                              : DefaultBitsPerSecond;
    }

    std::shared_ptr<Recorder> recorder;
    // A recorder whose reports cannot reach the record would record unseen
    // and never end for the list.
    if (m_factory && m_manager.CanReceiveReports()) {
        // A new recording writes to the name with duration 0, under a stem
        // that no file of the folder and no other record uses.
        m_bytes = 0;
        m_duration = CTimeSpan(0);
        UpdateDurationText();
        m_fileStem = m_manager.MakeFreeFileStem(*this);
        Rename(nullptr);
        RecordingJob job;
        job.path = m_path;
        job.source = source ? source->GetUrl() : std::wstring();
        job.grabberKey = m_channel->GetGrabberKey();
        job.sink = m_manager.GetReportSink();
        recorder = m_factory->Create(job);
    }
    if (!recorder) {
        FailToStart();
        // Last: the box runs a message loop in which the record may go.
        ShowNotice(L"Can't create recorder");
        return;
    }
    m_recorder = recorder;
    m_state = Recorder::Connecting;
    if (!m_recorder->Start()) {
        m_recorder.reset();
        FailToStart();
    }
}

void CRecord::FailToStart()
{
    m_state = Recorder::Failed;
    m_statusText = KV::Lang::GetText("str_error");
    Redraw();
}

void CRecord::StopRecording()
{
    if (m_recorder)
        m_recorder->Stop();
}

void CRecord::OnTick(const CTime& now)
{
    if (m_type == Now || m_scheduleHandedOn)
        return;
    if (IsRecording()) {
        // Not only in the window after the end: a tick that came late (the
        // window busy, the computer asleep, the clock moved) must not leave
        // the recording running without end.
        if (RecordSchedule::HasPassed(now, m_end))
            StopRecording();
    } else if (m_state != Recorder::Failed) {
        if (RecordSchedule::IsInTickWindow(now, m_start))
            StartRecording();
        else if (m_type == Weekly && RecordSchedule::IsTickWindowOver(now, m_start) &&
                 RecordSchedule::IsTickWindowOver(now, m_end))
            SkipMissedOccurrence(now);
    }
}

void CRecord::SkipMissedOccurrence(const CTime& now)
{
    // Missed while the computer slept or the window was busy: the record
    // does not start late, but its schedule goes on.
    ScheduleNext(now);
    UpdateScheduleText();
    Redraw();
}

void CRecord::OnRecorderStatus(int state, uint64_t bytes)
{
    m_state = state;
    const bool final = state == Recorder::Done || state == Recorder::Failed;
    if (!m_closing) {
        if (state == Recorder::Recording && bytes > 0)
            m_hasFile = true;
        if (state == Recorder::Connecting) {
            m_statusText = KV::Lang::GetText("str_connecting");
        } else if (state == Recorder::Recording) {
            m_bytes = bytes;
            const uint32_t bytesPerSecond = m_bitsPerSecond >> 3;
            m_duration = CTimeSpan(bytesPerSecond ? static_cast<__int64>(m_bytes / bytesPerSecond) : 0);
            UpdateDurationText();
            SetRecordingText();
        }
        if (state == Recorder::Done || (state == Recorder::Failed && m_hasFile)) {
            Rename(nullptr);
            SetDoneText();
        }
        // The occurrence is over, however it ended (a failure before any
        // data included): it is not run again, but the weekly schedule goes
        // on in a successor.
        if (final && m_type == Weekly && !m_scheduleHandedOn)
            AddSuccessor();
        Redraw();
    }
    if (!final)
        return;

    // The worker keeps its own reference until its thread ends.
    const bool madeFile = m_recorder && m_recorder->HasCreatedFile();
    m_recorder.reset();
    if (m_closing) {
        // The recording was deleted: its output goes with it (and only its
        // own: a file it did not make is not touched).
        if (!m_hasFile && madeFile)
            ::DeleteFileW(m_path.c_str());
        m_manager.RemoveRecord(this);
        return;
    }
    if (state == Recorder::Failed) {
        m_statusText = KV::Lang::GetText("str_error");
        Redraw();
    }
}

bool CRecord::IsRecorderRunning() const
{
    return m_recorder && !m_recorder->HasEnded();
}

void CRecord::EndLostRecording()
{
    if (!m_recorder || !m_recorder->HasEnded())
        return;
    const int finalState = m_recorder->GetFinalState();
    // The reports that never came would have counted the file's bytes.
    WIN32_FILE_ATTRIBUTE_DATA file{};
    if (m_recorder->HasCreatedFile() && ::GetFileAttributesExW(m_path.c_str(), GetFileExInfoStandard, &file)) {
        const uint64_t size = KV::MakeUInt64(file.nFileSizeHigh, file.nFileSizeLow);
        if (size > 0)
            OnRecorderStatus(Recorder::Recording, size);
    }
    OnRecorderStatus(finalState, 0);
}

bool CRecord::ShouldBeSaved() const
{
    if (m_closing || m_scheduleHandedOn || m_state == Recorder::Failed || (m_type != Once && m_type != Weekly))
        return false;
    return !m_hasFile || (m_type == Weekly && IsRecording());
}

void CRecord::AddSuccessor()
{
    m_scheduleHandedOn = true;
    const CTime start = m_start;
    const CTime end = m_end;
    bool weekdays[RecordSchedule::WeekdayCount];
    std::memcpy(weekdays, m_weekdays, sizeof(weekdays));
    m_manager.AddRecord(m_channel, m_manager.MakeUniqueName(RecordNaming::SuccessorBaseName(m_name)), Weekly,
                        &start, &end, weekdays);
}

void CRecord::Delete()
{
    if (m_closing)
        return;
    m_closing = true;
    if (!IsRecording()) {
        m_manager.RemoveRecord(this);
        return;
    }
    StopRecording();
    m_statusText = KV::Lang::GetText("str_deleting");
    Redraw();
}

void CRecord::Save(KV::DataKey& key) const
{
    key.SetStringW("n", m_name);
    key.SetInt("t", m_type);
    for (int day = 0; day < RecordSchedule::WeekdayCount; ++day)
        key.SetBool(WeekdayValueNames[day], m_weekdays[day]);
    key.SetStringA("c", m_channel ? m_channel->GetId() : std::string());
    key.SetDouble("st", BitsFromTime(m_start));
    key.SetDouble("et", BitsFromTime(m_end));
}
