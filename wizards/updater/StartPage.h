#pragma once
// Page 0: checking. Shows a running marquee, starts the check each time it
// is shown, and moves on from the check's outcome.

#include "wizards/common/BasePage.h"
#include "wizards/updater/StepWatch.h"
#include "wizards/updater/UpdaterMessages.h"

class CStartPage : public CBasePage {
public:
    CStartPage();

    MESSAGE_MAP_BEGIN(CStartPage)
        ON_MESSAGE(WM_INITDIALOG, OnInitDialog)
        ON_MESSAGE(WM_UPDATER_CHECK_DONE, OnCheckDone)
        ON_MESSAGE(WM_TIMER, OnTimer)
        CHAIN_MESSAGE_MAP(CBasePage)
    MESSAGE_MAP_END()

    bool OnSetActive() override;

private:
    LRESULT OnInitDialog(WindowMessage& msg);
    LRESULT OnCheckDone(WindowMessage& msg);
    LRESULT OnTimer(WindowMessage& msg);

    CStepWatch m_watch;
};
