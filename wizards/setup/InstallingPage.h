#pragma once
// The page the worker reports into: a progress bar, the current line and the
// list of every line so far. Its three report calls run on the worker thread
// and reach the controls only through SendMessage.

#include "wizards/setup/InstallWorker.h"
#include "wizards/setup/SetupPage.h"
#include "wizards/setup/resources/Resource.h"

#include <atomic>
#include <cstdint>
#include <string>

class CInstallingPage : public CSetupPage {
public:
    // Width of the list's one column.
    static constexpr int ColumnWidth = 420;

    CInstallingPage();
    ~CInstallingPage() override;

    // The one installing page of the process, or null.
    static CInstallingPage* GetInstance();

    MESSAGE_MAP_BEGIN(CInstallingPage)
        ON_MESSAGE(WM_INITDIALOG, OnInitDialog)
        ON_MESSAGE(WM_INSTALL_WORKER_NOT_STARTED, OnWorkerNotStarted)
        CHAIN_MESSAGE_MAP(CSetupPage)
    MESSAGE_MAP_END()

    // Starts the worker; the frame sets no focus (every button is disabled).
    bool OnSetActive() override;

    // For the worker thread.
    void SetRange(uint32_t count);
    // Appends the line, keeps it visible, shows it in the line control and
    // moves the bar to the step counter, which then counts the step when
    // advance is set.
    void AddLine(const std::wstring& text, bool advance);
    // Next to the frame: the finish page.
    void GoNext();

    uint32_t GetStepCounter() const { return m_stepCounter; }

private:
    LRESULT OnInitDialog(WindowMessage& msg);
    LRESULT OnWorkerNotStarted(WindowMessage& msg);

    HWND m_progress = nullptr;
    HWND m_list = nullptr;
    HWND m_line = nullptr;
    std::atomic<uint32_t> m_stepCounter{0};
};
