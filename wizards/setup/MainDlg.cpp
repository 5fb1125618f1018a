// The setup's frame: its start and its navigation.

#include "wizards/setup/MainDlg.h"

#include "wizards/common/ProductSettings.h"
#include "wizards/common/WizardLanguages.h"
#include "wizards/setup/ComponentsPage.h"
#include "wizards/setup/InstallingPage.h"
#include "wizards/setup/LicensePage.h"
#include "wizards/setup/SetupContext.h"
#include "wizards/setup/UninstallPage.h"
#include "wizards/setup/UpdateDlg.h"
#include "wizards/setup/WelcomePages.h"

#include <shellapi.h>

CMainDlg::~CMainDlg()
{
    if (IsWindow())
        DestroyWindow();
}

BOOL CMainDlg::OnInitDialog()
{
    CenterOnOwner();
    SetFrameIcons();
    RegisterMessageFilter();

    if (IsUpdateMode()) {
        CUpdateDlg update;
        update.DoModal(m_hWnd);
        DestroyWindow();
        ::PostQuitMessage(0);
        return TRUE;
    }

    if (IsUninstallMode()) {
        SetWindowText(GetLanguageText("titleU").c_str());
        AddPage(new CStartPage);
        AddPage(new CUninstallPage);
        AddPage(new CInstallingPage);
        AddPage(new CFinishPage);
    } else {
        SetWindowText(GetLanguageText("title").c_str());
        AddPage(new CStartPage);
        AddPage(new CLicensePage);
        AddPage(new CComponentsPage);
        AddPage(new CInstallingPage);
        AddPage(new CFinishPage);
    }
    CreateHeaderAndLines();
    ShowFirstPage();
    return TRUE;
}

void CMainDlg::OnNext()
{
    if (IsUpdateMode())
        return;
    if (IsLastPage()) {
        if (IsUninstallMode())
            OpenExitPage(true);
        Close(1);
        return;
    }
    CBasePage* current = GetCurrentPage();
    const int next = GetCurrentIndex() + 1;
    if (current && GetPage(next) && current->OnKillActive())
        SetActivePage(next);
}

void CMainDlg::OnBack()
{
    const int index = GetCurrentIndex();
    if (index > 0)
        SetActivePage(index - 1);
}

void CMainDlg::OnCancel()
{
    if (IsUpdateMode() || IsBusy())
        return;
    if (!IsLastPage()) {
        if (!IsUninstallMode()) {
            if (ShowMessage(m_hWnd, "msgCancel", "title", MB_YESNO | MB_ICONQUESTION) != IDYES)
                return;
            OpenExitPage(false);
        }
    } else if (IsUninstallMode()) {
        OpenExitPage(true);
    }
    Close(2);
}

void CMainDlg::OpenExitPage(bool afterUninstall)
{
    const std::optional<std::wstring> url =
        GetSettingText(&GetProductSettings(), afterUninstall ? "url_setupkit" : "url_cancel");
    if (url)
        ::ShellExecuteW(nullptr, nullptr, url->c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}
