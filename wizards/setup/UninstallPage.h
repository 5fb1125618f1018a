#pragma once
// The uninstall page: the folder that will be emptied, and the running
// check before the uninstall starts.

#include "wizards/setup/SetupPage.h"
#include "wizards/setup/resources/Resource.h"

class CUninstallPage : public CSetupPage {
public:
    CUninstallPage();

    MESSAGE_MAP_BEGIN(CUninstallPage)
        ON_MESSAGE(WM_INITDIALOG, OnInitDialog)
        CHAIN_MESSAGE_MAP(CSetupPage)
    MESSAGE_MAP_END()

    bool OnKillActive() override;

private:
    LRESULT OnInitDialog(WindowMessage& msg);
};
