#pragma once
// Shared helpers of the back-end tests: a parent window, message pumping and
// a listener that records what the back-ends report.

#include "player/playback/PlayerCtrl.h"

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

// A visible top-level window the back-ends are children of.
class TestParentWindow {
public:
    TestParentWindow();
    ~TestParentWindow();
    TestParentWindow(const TestParentWindow&) = delete;
    TestParentWindow& operator=(const TestParentWindow&) = delete;

    HWND Get() const { return m_window; }
    static RECT PlayerRect() { return RECT{1, 1, 401, 301}; }

private:
    HWND m_window = nullptr;
};

// Dispatches this thread's messages for about milliseconds.
void PumpMessages(DWORD milliseconds);
// Dispatches messages until done() holds; false if it still does not after
// timeout milliseconds (a safety net, not a speed requirement).
bool PumpUntil(const std::function<bool()>& done, DWORD timeout = 20000);

// Shared, ordered record of what the doubles and the listener saw.
using EventLog = std::vector<std::wstring>;

struct StatusReport {
    CPlayerCtrl* player;
    std::wstring text;
    bool textIsNull;
    int code;
    DWORD thread;
};

// Installs itself as the player listener for its lifetime.
class RecordingListener : public CPlayerListener {
public:
    explicit RecordingListener(EventLog* log = nullptr);
    ~RecordingListener();
    RecordingListener(const RecordingListener&) = delete;
    RecordingListener& operator=(const RecordingListener&) = delete;

    void OnBufferingEnd() override;
    void OnPlayerNotify(int code) override;
    void OnPlayerStatus(CPlayerCtrl* player, const wchar_t* text, int code) override;

    std::vector<StatusReport> reports;
    int bufferingEnds = 0;
    size_t CountCode(int code) const;

private:
    EventLog* m_log;
};

// Writes a mono 16-bit PCM WAV file with a tone of the given length.
bool WriteToneWav(const std::wstring& path, DWORD milliseconds);
