#pragma once
// The updaters' frame: five pages (start, update, download, finish, error),
// an idle handler that does nothing, the notification-area icon, and the
// timer that ends a hidden run after its balloon. The pages switch pages on
// the UI thread through the frame's process-wide instance.

#include "framework/MessageLoop.h"
#include "wizards/common/WizardFrame.h"
#include "wizards/updater/TrayIcon.h"

class CMainDlg : public CWizardFrame, public CIdleHandler {
public:
    // The timer that ends a hidden run once the balloon has been shown.
    static constexpr UINT_PTR CloseTimerId = 0;
    static constexpr UINT CloseTimerDelay = 8000;
    static constexpr UINT BalloonTimeout = 7000;

    CMainDlg();
    ~CMainDlg() override;

    MESSAGE_MAP_BEGIN(CMainDlg)
        ON_MESSAGE(WM_TIMER, OnTimer)
        ON_MESSAGE(GetTaskbarCreatedMessage(), OnTaskbarCreated)
        CHAIN_MESSAGE_MAP(CWizardFrame)
    MESSAGE_MAP_END()

    BOOL OnIdle() override { return FALSE; }

    // The frame between the start of its WM_INITDIALOG and its
    // destruction; null otherwise.
    static CMainDlg* GetInstance();

    bool IsFinishPage() const { return GetCurrentIndex() == GetPageCount() - 2; }
    void Next();
    void ShowFinishPage() { SetActivePage(GetPageCount() - 2); }
    void ShowErrorPage() { SetActivePage(GetPageCount() - 1); }

    // Whether the frame is not visible (hidden mode, until an offer shows it).
    bool IsWindowHidden() const;
    // Closes the frame at once, as Cancel does.
    void CloseMainDialog();
    // The notification-area icon with the "updated" balloon, and the timer
    // that ends the run.
    void ShowUpdatedBalloon();

    // The frame's caption: the text of the variant's title item.
    static std::wstring GetCaption();

protected:
    BOOL OnInitDialog() override;
    void OnNext() override;
    void OnBack() override;
    void OnCancel() override;
    void OnDestroy() override;

private:
    LRESULT OnTimer(WindowMessage& msg);
    LRESULT OnTaskbarCreated(WindowMessage& msg);

    CMessageLoop* m_idleLoop = nullptr;
};
