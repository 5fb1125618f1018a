// What the setup's pages share.

#include "wizards/setup/SetupPage.h"

#include "wizards/setup/ProcessCheck.h"
#include "wizards/setup/SetupContext.h"

std::string CSetupPage::GetTextKey() const
{
    return IsUninstallMode() ? GetKey() + "U" : GetKey();
}

bool CheckMainExeClosed(HWND owner)
{
    if (!IsMainExeRunning())
        return true;
    ShowMessage(owner, "msgRunning", "error", MB_ICONERROR);
    return false;
}
