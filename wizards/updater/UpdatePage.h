#pragma once
// Page 1: the offer. The program updater names the update (in the skin's
// "update" font) with a Details link when the settings give a details page;
// Chanfresh tells the channel count of the offered catalogue.

#include "wizards/common/BasePage.h"

#include <commctrl.h>

class CUpdatePage : public CBasePage {
public:
    CUpdatePage();

    MESSAGE_MAP_BEGIN(CUpdatePage)
        ON_MESSAGE(WM_INITDIALOG, OnInitDialog)
        ON_NOTIFY(1004, NM_CLICK, OnDetailsClick)
        CHAIN_MESSAGE_MAP(CBasePage)
    MESSAGE_MAP_END()

    bool OnSetActive() override;

private:
    LRESULT OnInitDialog(WindowMessage& msg);
    LRESULT OnDetailsClick(WindowMessage& msg);
};
