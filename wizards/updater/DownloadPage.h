#pragma once
// Page 2: the download. Starts it each time it is shown, with the bar as a
// marquee at 0 until the server tells the total size, and shows the bytes
// so far.

#include "wizards/common/BasePage.h"
#include "wizards/updater/StepWatch.h"
#include "wizards/updater/UpdaterMessages.h"

#include <cstdint>

class CDownloadPage : public CBasePage {
public:
    CDownloadPage();

    MESSAGE_MAP_BEGIN(CDownloadPage)
        ON_MESSAGE(WM_INITDIALOG, OnInitDialog)
        ON_MESSAGE(WM_UPDATER_PROGRESS, OnProgress)
        ON_MESSAGE(WM_UPDATER_DOWNLOAD_DONE, OnDownloadDone)
        ON_MESSAGE(WM_TIMER, OnTimer)
        CHAIN_MESSAGE_MAP(CBasePage)
    MESSAGE_MAP_END()

    bool OnSetActive() override;

    // Bar and "Downloaded ..." line for the bytes so far of total (0: the
    // server did not tell).
    void SetProgress(uint32_t downloaded, uint32_t total);

private:
    LRESULT OnInitDialog(WindowMessage& msg);
    LRESULT OnProgress(WindowMessage& msg);
    LRESULT OnDownloadDone(WindowMessage& msg);
    LRESULT OnTimer(WindowMessage& msg);

    CStepWatch m_watch;
};
