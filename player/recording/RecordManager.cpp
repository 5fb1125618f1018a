#include "player/recording/RecordManager.h"

#include "foundation/DataKey.h"
#include "foundation/UtilitiesCommon.h"
#include "player/app/Settings.h"
#include "player/catalogue/Channel.h"
#include "player/catalogue/ChannelList.h"
#include "player/recording/RecordListView.h"
#include "player/recording/RecordNaming.h"
#include "player/recording/RecorderReportWindow.h"

#include <shlobj.h>
#include <shlwapi.h>

#include <algorithm>

namespace {

CRecordManager* g_instance = nullptr;

std::wstring WithTrailingBackslash(const std::wstring& folder)
{
    if (folder.empty() || folder.back() == L'\\')
        return folder;
    return folder + L"\\";
}

CChannel* FindChannel(const std::string& id)
{
    CChannelList* catalogue = CChannelList::Instance();
    return catalogue ? catalogue->FindChannel(id) : nullptr;
}

} // namespace

CRecordManager::CRecordManager(CRecordListView& view)
    : CRecordManager(view, DefaultFolder(), CSettings::GetRecordsNode())
{
}

CRecordManager::CRecordManager(CRecordListView& view, const std::wstring& folder, const KV::DataKey* savedRecords)
    : m_folder(WithTrailingBackslash(folder)), m_view(view)
{
    g_instance = this;
    m_reportWindow = std::make_unique<CRecorderReportWindow>(
        [this](Recorder* recorder, int state, uint64_t bytes) { DeliverReport(recorder, state, bytes); });
    m_reportWindow->CreateOnThisThread();
    if (!m_folder.empty())
        ::SHCreateDirectoryExW(nullptr, m_folder.c_str(), nullptr);
    ScanFolder();
    if (savedRecords)
        Restore(*savedRecords);
    Renumber();
    CSettings::SetRecordsWriter([this](KV::DataKey& node) { Save(node); });
}

CRecordManager::~CRecordManager()
{
    CSettings::SetRecordsWriter(nullptr);
    // First cut the workers off: from here on their reports go nowhere.
    m_reportWindow.reset();
    for (int index = m_view.GetItemCount() - 1; index >= 0; --index)
        m_view.DeleteItem(index);
    m_currentRecord = nullptr;
    std::vector<std::unique_ptr<CRecord>> records;
    records.swap(m_records);
    records.clear();
    if (g_instance == this)
        g_instance = nullptr;
}

CRecordManager* CRecordManager::Instance()
{
    return g_instance;
}

std::wstring CRecordManager::DefaultFolder()
{
    const std::wstring documents = KV::GetShellFolder(CSIDL_PERSONAL, L"");
    if (documents.empty())
        return std::wstring();
    return WithTrailingBackslash(documents) + L"Brisvane\\Records\\";
}

std::shared_ptr<RecorderReportSink> CRecordManager::GetReportSink() const
{
    return m_reportWindow ? m_reportWindow->GetSink() : nullptr;
}

bool CRecordManager::CanReceiveReports() const
{
    return m_reportWindow && m_reportWindow->IsWindow();
}

std::wstring CRecordManager::MakeFreeFileStem(const CRecord& record) const
{
    const std::string channelId = record.GetChannel() ? record.GetChannel()->GetId() : std::string();
    for (int number = 1;; ++number) {
        const std::wstring stem =
            number == 1 ? record.GetName() : record.GetName() + L" (" + std::to_wstring(number) + L")";
        if (!IsFileStemTaken(RecordNaming::MakeFileNamePrefix(stem, channelId), record))
            return stem;
    }
}

bool CRecordManager::IsFileStemTaken(const std::wstring& prefix, const CRecord& record) const
{
    // The prefix holds no wildcard: SafeFileNameText replaced them.
    WIN32_FIND_DATAW found{};
    const HANDLE search = ::FindFirstFileW((m_folder + prefix + L"*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        ::FindClose(search);
        return true;
    }
    return std::any_of(m_records.begin(), m_records.end(), [&](const std::unique_ptr<CRecord>& other) {
        return other.get() != &record &&
               ::StrCmpNIW(other->GetFileName().c_str(), prefix.c_str(), static_cast<int>(prefix.size())) == 0;
    });
}

void CRecordManager::ScanFolder()
{
    WIN32_FIND_DATAW found{};
    const HANDLE search = ::FindFirstFileW((m_folder + L"*.*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return;
    do {
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            continue;
        const uint64_t size = KV::MakeUInt64(found.nFileSizeHigh, found.nFileSizeLow);
        if (size == 0)
            continue;
        RecordNaming::ParsedFileName parsed;
        if (!RecordNaming::ParseFileName(found.cFileName, parsed))
            continue;
        Append(std::make_unique<CRecord>(*this, parsed.name, found.cFileName, size, parsed.seconds,
                                         FindChannel(parsed.channelId)));
    } while (::FindNextFileW(search, &found));
    ::FindClose(search);
}

void CRecordManager::Restore(const KV::DataKey& recordsNode)
{
    for (int32_t n = 0;; ++n) {
        const KV::DataKey* key = recordsNode.GetKey(KV::IntToString(n));
        if (!key)
            break;
        // A record whose channel left the catalogue is dropped.
        CChannel* channel = FindChannel(key->GetStringA("c", ""));
        if (channel)
            Append(std::make_unique<CRecord>(*this, channel, *key));
    }
}

void CRecordManager::Append(std::unique_ptr<CRecord> record)
{
    CRecord* listed = record.get();
    m_records.push_back(std::move(record));
    m_view.AddItem(listed->GetName(), listed);
}

CRecord* CRecordManager::AddRecord(CChannel* channel, const std::wstring& name, int type, const CTime* start,
                                   const CTime* end, const bool* weekdays)
{
    CRecord* record = new CRecord(*this, channel, name, type, start, end, weekdays);
    m_records.emplace_back(record);
    const int index = m_view.AddItem(record->GetName(), record);
    if (index >= 0)
        m_view.SelectItem(index);
    Renumber();
    if (type == CRecord::Now)
        record->StartRecording();
    return record;
}

bool CRecordManager::Holds(const CRecord* record) const
{
    return std::any_of(m_records.begin(), m_records.end(),
                       [record](const std::unique_ptr<CRecord>& item) { return item.get() == record; });
}

bool CRecordManager::NameExists(const std::wstring& name) const
{
    return std::any_of(m_records.begin(), m_records.end(), [&name](const std::unique_ptr<CRecord>& record) {
        return ::StrCmpIW(record->GetName().c_str(), name.c_str()) == 0;
    });
}

std::wstring CRecordManager::MakeUniqueName(const std::wstring& name) const
{
    if (!NameExists(name))
        return name;
    for (int number = 2;; ++number) {
        std::wstring candidate = name + L" (" + std::to_wstring(number) + L")";
        if (!NameExists(candidate))
            return candidate;
    }
}

void CRecordManager::RemoveRecord(CRecord* record)
{
    const auto found = std::find_if(m_records.begin(), m_records.end(),
                                    [record](const std::unique_ptr<CRecord>& item) { return item.get() == record; });
    if (found != m_records.end()) {
        if (m_currentRecord == record)
            m_currentRecord = nullptr;
        if (record->GetListIndex() >= 0)
            m_view.DeleteItem(record->GetListIndex());
        std::unique_ptr<CRecord> doomed = std::move(*found);
        m_records.erase(found);
        if (doomed->HasFile())
            ::DeleteFileW(doomed->GetPath().c_str());
    }
    Renumber();
}

void CRecordManager::Relist(CRecord& record)
{
    if (record.GetListIndex() < 0)
        return;
    m_view.DeleteItem(record.GetListIndex());
    record.SetListIndex(-1);
    const int index = m_view.AddItem(record.GetName(), &record);
    if (index >= 0)
        m_view.SelectItem(index);
    Renumber();
}

void CRecordManager::Renumber()
{
    const int count = m_view.GetItemCount();
    for (int index = 0; index < count; ++index) {
        if (CRecord* record = m_view.GetItemRecord(index))
            record->SetListIndex(index);
    }
    m_view.SetRecordCount(count);
}

void CRecordManager::OnTick()
{
    OnTick(CTime::Now());
}

void CRecordManager::OnTick(const CTime& now)
{
    EndLostRecordings();
    // By index: a record's tick may show a message box, in whose loop
    // records come and go.
    for (size_t index = 0; index < m_records.size(); ++index) {
        CRecord& record = *m_records[index];
        if (record.HasFile() && !record.IsRecording())
            continue;
        record.OnTick(now);
    }
}

void CRecordManager::EndLostRecordings()
{
    // A record may go (a deleted one) or a weekly successor may come.
    for (size_t index = 0; index < m_records.size();) {
        CRecord* record = m_records[index].get();
        record->EndLostRecording();
        if (index < m_records.size() && m_records[index].get() == record)
            ++index;
    }
}

void CRecordManager::StopAll()
{
    for (const std::unique_ptr<CRecord>& record : m_records) {
        if (record->IsRecording())
            record->StopRecording();
    }
}

bool CRecordManager::IsIdle() const
{
    // A worker that ended unheard leaves its record "recording" until the
    // next tick: it holds nothing up.
    return std::none_of(m_records.begin(), m_records.end(), [](const std::unique_ptr<CRecord>& record) {
        return record->IsRecording() && record->IsRecorderRunning();
    });
}

void CRecordManager::Save(KV::DataKey& recordsNode) const
{
    int32_t n = 0;
    for (const std::unique_ptr<CRecord>& record : m_records) {
        if (!record->ShouldBeSaved())
            continue;
        KV::DataKey* key = recordsNode.AddKey(KV::IntToString(n));
        if (!key)
            continue;
        record->Save(*key);
        ++n;
    }
}

void CRecordManager::DeliverReport(Recorder* recorder, int state, uint64_t bytes)
{
    for (const std::unique_ptr<CRecord>& record : m_records) {
        if (record->Owns(recorder)) {
            // May delete the record (and change the vector): nothing after.
            record->OnRecorderStatus(state, bytes);
            return;
        }
    }
}
