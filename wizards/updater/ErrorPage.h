#pragma once
// Page 4 (count - 1): a failed check or download; Retry (Back) repeats it.

#include "wizards/common/BasePage.h"

class CErrorPage : public CBasePage {
public:
    CErrorPage();

    MESSAGE_MAP_BEGIN(CErrorPage)
        ON_MESSAGE(WM_INITDIALOG, OnInitDialog)
        CHAIN_MESSAGE_MAP(CBasePage)
    MESSAGE_MAP_END()

    bool OnSetActive() override;

private:
    LRESULT OnInitDialog(WindowMessage& msg);
};
