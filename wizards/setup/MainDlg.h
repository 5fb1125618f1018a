#pragma once
// The setup's wizard frame: the install sequence (start, licence,
// components, installing, finish) or the uninstall sequence (start,
// uninstall, installing, finish); in the silent update mode it stays hidden
// and runs the update dialog instead.

#include "wizards/common/WizardFrame.h"

class CMainDlg : public CWizardFrame {
public:
    CMainDlg() : CWizardFrame(WizardVariant::Setup) {}
    ~CMainDlg() override;

    bool IsLastPage() const { return GetCurrentIndex() == GetPageCount() - 1; }

protected:
    BOOL OnInitDialog() override;
    void OnNext() override;
    void OnBack() override;
    void OnCancel() override;

private:
    // Opens url_setupkit (after an uninstall) or url_cancel when the
    // settings have it.
    void OpenExitPage(bool afterUninstall);
};
