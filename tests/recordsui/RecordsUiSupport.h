// What the records page and record dialog tests share: a temporary records
// folder, a small catalogue (country "de", a TV and a radio channel that
// record through the test recorder "uitest"), a test recorder whose
// behaviour each test sets, the page inside a stand-in channel panel inside
// a stand-in main window, and a driver that acts on each modal dialog as
// it comes to the front (the record dialog, then its message box, ...).
#pragma once

#include "framework/Time.h"
#include "framework/WindowImpl.h"
#include "player/recording/RecorderFactory.h"
#include "player/ui/RecordsCtrl.h"
#include "tests/support/CatalogueFile.h"
#include "tests/support/TempFolder.h"
#include "tests/ui/UiTestSupport.h"

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

class CChannel;
class CRecord;
class CRecordManager;

namespace RecordsUiTest {

// Channel ids of the test catalogue.
constexpr const char* TvId = "de_kanal";     // "Kanal Eins", TV
constexpr const char* RadioId = "de_welle";  // "Welle Zwei", radio

class TestCatalogue : public TestCatalogueFile {
public:
    TestCatalogue();
};

// What the next test recorders do after connecting (report 2).
enum class RecorderPlan {
    ConnectOnly,       // wait for the stop request, then report 0
    RecordData,        // write a few bytes, report 3 with them, wait, report 0
    FailAtOnce,        // report -1 without data
};
void SetRecorderPlan(RecorderPlan plan);
int RecordersMade();
// While held, a recorder asked to stop keeps running (a record being
// deleted stays in the list); releasing lets them finish.
void HoldRecorderStops(bool hold);

// Registers itself as "uitest" with files ".bin".
class TestRecorderFactory : public RecorderFactory {
public:
    TestRecorderFactory() : RecorderFactory("uitest", L"bin") {}
    std::shared_ptr<Recorder> Create(const RecordingJob& job) override;
};

// Dispatches messages (sent ones from recorder threads included) until
// done() holds or a generous guard has passed.
bool WaitFor(const std::function<bool()>& done);

// A child window standing in for the channel panel between the page and
// the main window.
class CPanelStandIn : public CWindowImpl<CPanelStandIn> {
public:
    WINDOW_CLASS(L"BrisvaneTestRecordsPanelParent")
    MESSAGE_MAP_BEGIN(CPanelStandIn)
    MESSAGE_MAP_END()
};

// The stand-in main window (recording the player's messages it gets),
// the stand-in panel in it and the records page, shown as its tab would
// show it, 240 x 300 pixels.
class PageHost {
public:
    static constexpr int Width = 240;
    static constexpr int Height = 300;

    PageHost();
    ~PageHost();

    CRecordsCtrl page;
    UiTest::CMainWindowStub main;
    CPanelStandIn panel;
    // Last count the list gave for the records tab; -1 before any.
    int tabCount = -1;

    CRecordListBox& List() { return page.GetListBox(); }
    // The list's item texts in order.
    std::vector<std::wstring> Items();
    int IndexOf(const CRecord* record);
    void Select(const CRecord* record);
};

// Acts on modal dialogs of this thread: whenever another dialog becomes the
// enabled one at the front, the next step runs with it. Once the steps are
// used up, a dialog still open a few seconds later is ended (-100), so a
// test fails instead of hanging.
class DialogDriver {
public:
    explicit DialogDriver(std::vector<std::function<void(HWND dialog)>> steps);
    ~DialogDriver();
    DialogDriver(const DialogDriver&) = delete;
    DialogDriver& operator=(const DialogDriver&) = delete;

    size_t StepsRun() const { return m_next; }

private:
    static void CALLBACK OnTimer(HWND, UINT, UINT_PTR, DWORD);
    void Tick();

    std::vector<std::function<void(HWND)>> m_steps;
    size_t m_next = 0;
    HWND m_front = nullptr;
    UINT_PTR m_timer = 0;
    int m_idleTicks = 0;
};

// The text of a message box (CMsgBox) window; empty for another window.
std::wstring MessageBoxText(HWND dialog);
// Closes a message box or dialog as Esc would.
void Dismiss(HWND dialog);
// Clicks a dialog's button (posted).
void ClickButton(HWND dialog, int id);

// Local calendar time.
CTime LocalTime(int year, int month, int day, int hour, int minute, int second = 0);

} // namespace RecordsUiTest
