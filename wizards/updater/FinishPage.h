#pragma once
// Page 3 (count - 2): the end of a run. Each time it is shown it takes the
// texts of "updated" or of "no updates" and puts the title into the header.

#include "wizards/common/BasePage.h"

class CFinishPage : public CBasePage {
public:
    CFinishPage();

    MESSAGE_MAP_BEGIN(CFinishPage)
        ON_MESSAGE(WM_INITDIALOG, OnInitDialog)
        CHAIN_MESSAGE_MAP(CBasePage)
    MESSAGE_MAP_END()

    bool OnSetActive() override;

private:
    LRESULT OnInitDialog(WindowMessage& msg);
};
