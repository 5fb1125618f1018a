#include "tests/recordsui/RecordsUiSupport.h"

#include "foundation/DataKey.h"
#include "player/catalogue/ChannelList.h"
#include "player/recording/Record.h"
#include "player/recording/Recorder.h"
#include "player/ui/MsgBox.h"

#include <atomic>
#include <mutex>
#include <string>

namespace RecordsUiTest {

namespace {

std::atomic<RecorderPlan> g_plan{RecorderPlan::ConnectOnly};
std::atomic<int> g_made{0};
std::atomic<bool> g_holdStops{false};

class TestRecorder : public Recorder {
public:
    TestRecorder(const RecordingJob& job, RecorderPlan plan) : Recorder(job), m_plan(plan) {}

    void Run() override
    {
        Notify(Connecting, 0);
        if (m_plan == RecorderPlan::FailAtOnce) {
            Notify(Failed, 0);
            return;
        }
        if (m_plan == RecorderPlan::RecordData) {
            OpenFile();
            static const char data[] = "recorded bytes";
            Write(data, sizeof(data));
            Notify(Recording, sizeof(data));
        }
        while (!IsStopRequested() || g_holdStops)
            ::Sleep(2);
        CloseFile();
        Notify(Done, 0);
    }

private:
    RecorderPlan m_plan;
};

DialogDriver* g_driver = nullptr;

struct FrontSearch {
    HWND found = nullptr;
};

BOOL CALLBACK FindFrontDialog(HWND window, LPARAM param)
{
    wchar_t className[16] = {};
    ::GetClassNameW(window, className, 16);
    if (::IsWindowVisible(window) && ::IsWindowEnabled(window) && std::wstring(className) == L"#32770") {
        reinterpret_cast<FrontSearch*>(param)->found = window;
        return FALSE;
    }
    return TRUE;
}

KV::DataKey MakeTestCatalogue()
{
    struct Row {
        const char* key;
        const wchar_t* name;
        bool radio;
    };
    const Row rows[] = {{"kanal", L"Kanal Eins", false}, {"welle", L"Welle Zwei", true}};
    KV::DataKey root("channels");
    KV::DataKey* country = root.AddKey("de");
    for (const Row& row : rows) {
        KV::DataKey* channel = country->AddKey(row.key);
        channel->SetStringW("n", row.name);
        channel->SetStringA("c", "mu");
        channel->SetStringA("R", "uitest");
        channel->SetBool("r", row.radio);
        KV::DataKey* stream = channel->AddKey("0");
        stream->SetInt("b", 128);
        stream->SetStringW("u", L"src");
    }
    return root;
}

} // namespace

TestCatalogue::TestCatalogue() : TestCatalogueFile(MakeTestCatalogue()) {}


void SetRecorderPlan(RecorderPlan plan)
{
    g_plan = plan;
}

void HoldRecorderStops(bool hold)
{
    g_holdStops = hold;
}

int RecordersMade()
{
    return g_made;
}

std::shared_ptr<Recorder> TestRecorderFactory::Create(const RecordingJob& job)
{
    ++g_made;
    return std::make_shared<TestRecorder>(job, g_plan.load());
}

bool WaitFor(const std::function<bool()>& done)
{
    return UiTest::PumpUntil(done, 3000);
}

PageHost::PageHost()
{
    main.CreateMain(Width + 40, Height + 40);
    RECT panelRect{10, 10, 10 + Width + 10, 10 + Height + 10};
    panel.Create(main, &panelRect, nullptr, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN);
    RECT pageRect{4, 4, 4 + Width, 4 + Height};
    page.Create(panel, &pageRect);
    page.SetCountListener([this](int count) { tabCount = count; });
    // As the channel panel's tab strip shows its selected page.
    page.ShowWindow(SW_SHOW);
    page.EnableWindow(TRUE);
    UiTest::Pump();
}

PageHost::~PageHost()
{
    if (main.m_hWnd != nullptr)
        main.DestroyWindow();
}

std::vector<std::wstring> PageHost::Items()
{
    std::vector<std::wstring> items;
    for (int index = 0; index < List().GetCount(); ++index)
        items.push_back(List().GetText(index));
    return items;
}

int PageHost::IndexOf(const CRecord* record)
{
    for (int index = 0; index < List().GetCount(); ++index) {
        if (List().GetRecord(index) == record)
            return index;
    }
    return -1;
}

void PageHost::Select(const CRecord* record)
{
    List().SetCurSel(IndexOf(record));
}

DialogDriver::DialogDriver(std::vector<std::function<void(HWND dialog)>> steps) : m_steps(std::move(steps))
{
    g_driver = this;
    m_timer = ::SetTimer(nullptr, 0, 10, &DialogDriver::OnTimer);
}

DialogDriver::~DialogDriver()
{
    if (m_timer != 0)
        ::KillTimer(nullptr, m_timer);
    if (g_driver == this)
        g_driver = nullptr;
}

void CALLBACK DialogDriver::OnTimer(HWND, UINT, UINT_PTR, DWORD)
{
    if (g_driver != nullptr)
        g_driver->Tick();
}

void DialogDriver::Tick()
{
    FrontSearch search;
    ::EnumThreadWindows(::GetCurrentThreadId(), FindFrontDialog, reinterpret_cast<LPARAM>(&search));
    const HWND front = search.found;
    if (front != m_front) {
        m_front = front;
        if (front != nullptr && m_next < m_steps.size()) {
            m_idleTicks = 0;
            ::UpdateWindow(front);
            m_steps[m_next++](front);
            return;
        }
    }
    // About three seconds without a step to run.
    if (front != nullptr && ++m_idleTicks == 300)
        ::EndDialog(front, -100);
}

std::wstring MessageBoxText(HWND dialog)
{
    const CMsgBox* box = dynamic_cast<const CMsgBox*>(CWindowImplRoot::FromHandle(dialog));
    return box != nullptr ? box->GetText() : std::wstring();
}

void Dismiss(HWND dialog)
{
    ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
}

void ClickButton(HWND dialog, int id)
{
    const HWND button = ::GetDlgItem(dialog, id);
    ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button));
}

CTime LocalTime(int year, int month, int day, int hour, int minute, int second)
{
    return CTime(year, month, day, hour, minute, second);
}

} // namespace RecordsUiTest
