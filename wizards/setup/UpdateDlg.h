#pragma once
// The silent update's only window: a progress bar under the caption
// "Updating <product> <version>...". The hidden frame runs it modally; the
// install worker moves its bar and ends it.

#include "framework/Dialog.h"
#include "wizards/setup/InstallWorker.h"
#include "wizards/setup/resources/Resource.h"

#include <cstdint>

class CUpdateDlg : public CDialogImpl<CUpdateDlg> {
public:
    enum { IDD = IDD_UPDATE };

    CUpdateDlg() = default;
    ~CUpdateDlg() override;

    MESSAGE_MAP_BEGIN(CUpdateDlg)
        ON_MESSAGE(WM_INITDIALOG, OnInitDialog)
        ON_MESSAGE(WM_FINISH_UPDATE, OnFinishUpdate)
        ON_MESSAGE(WM_INSTALL_WORKER_NOT_STARTED, OnWorkerNotStarted)
    MESSAGE_MAP_END()

    // For the worker thread: the bar's range 0..count, one step (the bar
    // goes to the step counter, which then counts the step when advance is
    // set), and the end of the dialog with 0.
    void SetRange(uint32_t count);
    void Step(bool advance);
    void Finish();

    uint32_t GetStepCounter() const { return m_stepCounter; }

private:
    // Ends the dialog on its own thread.
    static constexpr UINT WM_FINISH_UPDATE = WM_APP + 1;

    LRESULT OnInitDialog(WindowMessage& msg);
    LRESULT OnFinishUpdate(WindowMessage& msg);
    LRESULT OnWorkerNotStarted(WindowMessage& msg);

    HWND m_progress = nullptr;
    uint32_t m_stepCounter = 0;
};
