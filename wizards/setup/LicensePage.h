#pragma once
// The licence agreement: the RTF text of the current language in a
// read-only rich edit; Enter in it accepts like "I Agree".

#include "wizards/setup/SetupPage.h"
#include "wizards/setup/resources/Resource.h"

#include <richedit.h>

class CLicensePage : public CSetupPage {
public:
    CLicensePage();

    MESSAGE_MAP_BEGIN(CLicensePage)
        ON_MESSAGE(WM_INITDIALOG, OnInitDialog)
        ON_NOTIFY(IDC_LICENSE_TEXT, EN_MSGFILTER, OnMessageFilter)
        CHAIN_MESSAGE_MAP(CSetupPage)
    MESSAGE_MAP_END()

    bool OnSetActive() override;

private:
    LRESULT OnInitDialog(WindowMessage& msg);
    LRESULT OnMessageFilter(WindowMessage& msg);
};
