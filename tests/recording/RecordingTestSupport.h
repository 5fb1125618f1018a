#pragma once
// What the recording tests share: Winsock, a message pump for the reports
// that come to the user-interface thread, a temporary records folder, a
// catalogue and language pack written for the test, a real records list
// box, a sink that collects a recorder's reports, and a scripted recorder
// factory ("script", files ".bin") whose recorders report what the test
// tells them to.

#include "framework/Time.h"
#include "player/recording/RecordListBoxView.h"
#include "player/recording/Recorder.h"
#include "player/recording/RecorderFactory.h"
#include "player/recording/RecorderReportSink.h"
#include "tests/support/CatalogueFile.h"
#include "tests/support/TempFolder.h"

#include <windows.h>

#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

class CChannel;

// Dispatches this thread's messages until done() holds; false when it did
// not within the time-out (a guard against a hang, not a timing check).
bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 30000);

// The whole-file reads and writes of tests/support, by these tests' names.
inline std::string ReadFileBytes(const std::wstring& path) { return ReadWholeFile(path); }
inline bool WriteFileBytes(const std::wstring& path, const std::string& bytes) { return WriteWholeFile(path, bytes); }

// The test catalogue, country "ab":
//   ab_cd   "Scripted"  recorder "script", stream 128 kbit/s "src-cd"
//   ab_zero "Zero"      recorder "script", stream 0 kbit/s
//   ab_mp   "Radio"     recorder "mp3", grabber "rectest", stream "live?x=1"
//   ab_mm   "Tele"      recorder "mms", grabber "rectest", stream "live"
//   ab_none "Nothing"   recorder "none" (no such factory)
class TestCatalogue : public TestCatalogueFile {
public:
    TestCatalogue();
};

// Points the grabber "rectest" at http://127.0.0.1:<port>/ + identifier.
void AimTestGrabber(unsigned short port);

// A hidden window holding a sorted records list box (strings, item data).
class RecordListHost {
public:
    RecordListHost();
    ~RecordListHost();
    RecordListHost(const RecordListHost&) = delete;
    RecordListHost& operator=(const RecordListHost&) = delete;

    CRecordListBoxView& View() { return m_view; }
    const CRecordListBoxView& View() const { return m_view; }
    HWND ListBox() const { return m_listBox; }
    int TabCount() const { return m_tabCount; }
    std::vector<std::wstring> Items() const;
    int Selection() const;

private:
    HWND m_window = nullptr;
    HWND m_listBox = nullptr;
    int m_tabCount = -1;
    CRecordListBoxView m_view;
};

// Collects a recorder's reports (on its worker thread).
class CollectingSink : public RecorderReportSink {
public:
    struct Report {
        int state;
        uint64_t bytes;
    };

    void OnRecorderReport(Recorder& recorder, int state, uint64_t bytes) override;
    // Waits for the final report (0 or -1); false on the time-out guard.
    bool WaitForFinal(DWORD timeoutMs = 30000);
    // Waits until a state-3 report with at least bytes arrived.
    bool WaitForBytes(uint64_t bytes, DWORD timeoutMs = 30000);
    std::vector<Report> Reports() const;
    std::vector<int> States() const;

private:
    mutable std::mutex m_lock;
    std::condition_variable m_changed;
    std::vector<Report> m_reports;
};

// Starts the recorder, waits for its final report into sink and until its
// worker thread has ended.
bool RunToEnd(const std::shared_ptr<Recorder>& recorder, CollectingSink& sink);

// What the scripted recorders do: open the output file, write fileBytes,
// make the reports, then (waitForStop) wait for a stop request, close the
// file and make the final report.
struct RecorderScript {
    std::string fileBytes;
    std::vector<std::pair<int, uint64_t>> reports;
    bool waitForStop = true;
    int finalState = 0;
};
void SetRecorderScript(const RecorderScript& script);
// The job of the scripted recorder made last.
RecordingJob LastScriptedJob();
int ScriptedRecordersMade();

class ScriptedRecorderFactory : public RecorderFactory {
public:
    ScriptedRecorderFactory() : RecorderFactory("script", L"bin") {}
    std::shared_ptr<Recorder> Create(const RecordingJob& job) override;
};

// Local calendar time.
CTime LocalTime(int year, int month, int day, int hour, int minute, int second = 0);
