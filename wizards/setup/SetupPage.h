#pragma once
// The setup's pages: in the uninstall sequence each page takes its texts
// from its key with "U" appended ("PS" -> "PSU"), so one class serves both
// sequences.

#include "wizards/common/BasePage.h"

class CSetupPage : public CBasePage {
public:
    CSetupPage(int dialogId, const std::string& key, bool header) : CBasePage(WizardVariant::Setup, dialogId, key, header)
    {
    }

protected:
    std::string GetTextKey() const override;
};

// The running check of the components and uninstall pages: while the
// product's program runs, "msgRunning" is shown over owner and false
// returned.
bool CheckMainExeClosed(HWND owner);
