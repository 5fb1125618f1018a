#include "tests/recording/RecordingTestSupport.h"

#include "foundation/DataKey.h"
#include "foundation/Lang.h"
#include "player/catalogue/ChannelList.h"
#include "player/playback/EmbedGrabber.h"
#include "player/playback/UrlGrabber.h"

#include <gtest/gtest.h>

#include <winsock2.h>

#include <algorithm>
#include <atomic>

namespace {

std::wstring MakeTempName(const wchar_t* prefix)
{
    static std::atomic<unsigned> counter{0};
    wchar_t folder[MAX_PATH] = L"";
    GetTempPathW(MAX_PATH, folder);
    std::wstring path = folder;
    if (!path.empty() && path.back() != L'\\')
        path += L'\\';
    return path + prefix + std::to_wstring(GetCurrentProcessId()) + L"_" + std::to_wstring(++counter);
}

// Winsock, the recorder factories and a language pack for the whole run,
// as the player has them while its main window lives.
class RecordingEnvironment : public testing::Environment {
public:
    void SetUp() override
    {
        WSADATA data;
        m_winsock = WSAStartup(MAKEWORD(2, 2), &data) == 0;
        RecorderFactory::RegisterAll();
        new ScriptedRecorderFactory();

        KV::DataKey pack("lang_doc_1.0");
        KV::DataKey* english = pack.AddKey("lang_0");
        english->SetStringW("language", L"English");
        english->SetStringW("ext", L"en");
        const std::pair<const char*, const wchar_t*> texts[] = {
            {"str_connecting", L"Connecting"}, {"str_recording", L"Recording"}, {"str_size", L"Size"},
            {"str_error", L"Error"},           {"str_deleting", L"Deleting"},
        };
        for (const auto& text : texts)
            english->AddKey(text.first)->SetStringW("text", text.second);
        m_langFile = MakeTempName(L"reclang") + L".lngp";
        pack.Save(m_langFile);
        KV::Lang::Load(m_langFile);
    }

    void TearDown() override
    {
        KV::Lang::Free();
        DeleteFileW(m_langFile.c_str());
        CUrlGrabber::DeleteAll();
        RecorderFactory::DeleteAll();
        if (m_winsock)
            WSACleanup();
    }

private:
    bool m_winsock = false;
    std::wstring m_langFile;
};

testing::Environment* const g_environment = testing::AddGlobalTestEnvironment(new RecordingEnvironment);

std::mutex g_scriptLock;
RecorderScript g_script;
RecordingJob g_lastJob;
int g_scriptedMade = 0;

class ScriptedRecorder : public Recorder {
public:
    ScriptedRecorder(const RecordingJob& job, const RecorderScript& script) : Recorder(job), m_script(script) {}

    void Run() override
    {
        OpenFile();
        Write(m_script.fileBytes.data(), m_script.fileBytes.size());
        for (const auto& report : m_script.reports)
            Notify(report.first, report.second);
        if (m_script.waitForStop) {
            while (!IsStopRequested())
                Sleep(2);
        }
        CloseFile();
        Notify(m_script.finalState, 0);
    }

private:
    RecorderScript m_script;
};

} // namespace

bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs)
{
    const DWORD started = GetTickCount();
    while (!done()) {
        if (GetTickCount() - started > timeoutMs)
            return false;
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        // Sent messages from the workers are taken while waiting here.
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
    return true;
}

namespace {

KV::DataKey MakeTestCatalogue()
{
    struct ChannelRow {
        const char* key;
        const wchar_t* name;
        const char* recorder;
        const char* grabber;
        int32_t bitrate;
        const wchar_t* source;
    };
    const ChannelRow rows[] = {
        {"cd", L"Scripted", "script", "", 128, L"src-cd"},
        {"zero", L"Zero", "script", "", 0, L"src-zero"},
        {"mp", L"Radio", "mp3", "rectest", 128, L"live?x=1"},
        {"mm", L"Tele", "mms", "rectest", 300, L"live"},
        {"none", L"Nothing", "none", "", 64, L"src-none"},
    };
    KV::DataKey root("channels");
    KV::DataKey* country = root.AddKey("ab");
    for (const ChannelRow& row : rows) {
        KV::DataKey* channel = country->AddKey(row.key);
        channel->SetStringW("n", row.name);
        channel->SetStringA("c", "mu");
        channel->SetStringA("R", row.recorder);
        if (*row.grabber)
            channel->SetStringA("g", row.grabber);
        KV::DataKey* stream = channel->AddKey("0");
        stream->SetInt("b", row.bitrate);
        stream->SetStringW("u", row.source);
    }
    return root;
}

} // namespace

TestCatalogue::TestCatalogue() : TestCatalogueFile(MakeTestCatalogue()) {}

void AimTestGrabber(unsigned short port)
{
    new CEmbedGrabber("rectest", L"http://127.0.0.1:" + std::to_wstring(port) + L"/%s");
}

RecordListHost::RecordListHost()
    : m_view(nullptr, [this](int count) { m_tabCount = count; })
{
    m_window = CreateWindowExW(0, L"STATIC", L"records", WS_POPUP, 0, 0, 300, 400, nullptr, nullptr,
                               GetModuleHandleW(nullptr), nullptr);
    m_listBox = CreateWindowExW(0, L"LISTBOX", L"",
                                WS_CHILD | WS_VISIBLE | LBS_SORT | LBS_HASSTRINGS | LBS_NOTIFY, 0, 0, 300, 400,
                                m_window, nullptr, GetModuleHandleW(nullptr), nullptr);
    m_view = CRecordListBoxView(m_listBox, [this](int count) { m_tabCount = count; });
}

RecordListHost::~RecordListHost()
{
    DestroyWindow(m_window);
}

std::vector<std::wstring> RecordListHost::Items() const
{
    std::vector<std::wstring> items;
    const int count = static_cast<int>(SendMessageW(m_listBox, LB_GETCOUNT, 0, 0));
    for (int index = 0; index < count; ++index) {
        std::wstring text(static_cast<size_t>(SendMessageW(m_listBox, LB_GETTEXTLEN, index, 0)) + 1, L'\0');
        text.resize(static_cast<size_t>(
            SendMessageW(m_listBox, LB_GETTEXT, index, reinterpret_cast<LPARAM>(&text[0]))));
        items.push_back(text);
    }
    return items;
}

int RecordListHost::Selection() const
{
    return static_cast<int>(SendMessageW(m_listBox, LB_GETCURSEL, 0, 0));
}

void CollectingSink::OnRecorderReport(Recorder&, int state, uint64_t bytes)
{
    std::lock_guard<std::mutex> lock(m_lock);
    m_reports.push_back({state, bytes});
    m_changed.notify_all();
}

bool CollectingSink::WaitForFinal(DWORD timeoutMs)
{
    std::unique_lock<std::mutex> lock(m_lock);
    return m_changed.wait_for(lock, std::chrono::milliseconds(timeoutMs), [this] {
        return !m_reports.empty() && (m_reports.back().state == 0 || m_reports.back().state == -1);
    });
}

bool CollectingSink::WaitForBytes(uint64_t bytes, DWORD timeoutMs)
{
    std::unique_lock<std::mutex> lock(m_lock);
    return m_changed.wait_for(lock, std::chrono::milliseconds(timeoutMs), [this, bytes] {
        return std::any_of(m_reports.begin(), m_reports.end(),
                           [bytes](const Report& report) { return report.state == 3 && report.bytes >= bytes; });
    });
}

std::vector<CollectingSink::Report> CollectingSink::Reports() const
{
    std::lock_guard<std::mutex> lock(m_lock);
    return m_reports;
}

std::vector<int> CollectingSink::States() const
{
    std::vector<int> states;
    for (const Report& report : Reports())
        states.push_back(report.state);
    return states;
}

bool RunToEnd(const std::shared_ptr<Recorder>& recorder, CollectingSink& sink)
{
    if (!recorder->Start())
        return false;
    const bool ended = sink.WaitForFinal();
    PumpUntil([] { return Recorder::GetRunningCount() == 0; });
    return ended;
}

void SetRecorderScript(const RecorderScript& script)
{
    std::lock_guard<std::mutex> lock(g_scriptLock);
    g_script = script;
}

RecordingJob LastScriptedJob()
{
    std::lock_guard<std::mutex> lock(g_scriptLock);
    return g_lastJob;
}

int ScriptedRecordersMade()
{
    std::lock_guard<std::mutex> lock(g_scriptLock);
    return g_scriptedMade;
}

std::shared_ptr<Recorder> ScriptedRecorderFactory::Create(const RecordingJob& job)
{
    std::lock_guard<std::mutex> lock(g_scriptLock);
    g_lastJob = job;
    ++g_scriptedMade;
    return std::make_shared<ScriptedRecorder>(job, g_script);
}

CTime LocalTime(int year, int month, int day, int hour, int minute, int second)
{
    return CTime(year, month, day, hour, minute, second);
}
