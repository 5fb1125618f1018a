#pragma once
// Driving an updater run from the test thread: Run goes on a UI thread of
// its own, and the test reads and clicks the real windows by their texts
// and control ids, as a user would.

#include "tests/support/WindowText.h"

#include <windows.h>

#include <atomic>
#include <string>
#include <thread>

enum class PageKind { None, Start, Update, Download, Finish, Error };

class UpdaterRunThread {
public:
    UpdaterRunThread(bool hidden, const std::wstring& programFile, const std::wstring& caption);
    ~UpdaterRunThread();
    UpdaterRunThread(const UpdaterRunThread&) = delete;
    UpdaterRunThread& operator=(const UpdaterRunThread&) = delete;

    // The frame, once it exists (waits for it); null when it never came.
    HWND Frame();
    // Waits for Run to return; false when it did not within the deadline.
    bool Finish(DWORD deadlineMs = 60000);
    bool IsFinished() const { return m_finished; }
    int ExitCode() const { return m_code; }
    // Whether the frame was seen visible by any of the waits so far.
    bool WasEverVisible() const { return m_everVisible; }

    // Waits until the frame shows the page.
    bool WaitForPage(PageKind page, DWORD deadlineMs = 30000);
    // Clicks a frame button (IDOK, IDCANCEL, 1007).
    void Click(int buttonId);

private:
    void Watch();

    std::wstring m_caption;
    std::atomic<bool> m_finished{false};
    std::atomic<int> m_code{-1};
    bool m_everVisible = false;
    HWND m_frame = nullptr;
    std::thread m_thread;
};

// The page dialog of the frame currently shown, and what it is.
HWND VisiblePage(HWND frame);
PageKind KindOf(HWND page);
// The page of that kind among the frame's children (shown or not).
HWND FindPage(HWND frame, PageKind kind);
// The header strip's title.
std::wstring HeaderTitle(HWND frame);
std::wstring ItemText(HWND dialog, int id);
bool IsItemVisible(HWND dialog, int id);
