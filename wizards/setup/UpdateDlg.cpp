// The silent update dialog.

#include "wizards/setup/UpdateDlg.h"

#include "wizards/common/WizardLanguages.h"
#include "wizards/setup/InstallWorker.h"
#include "wizards/setup/SetupContext.h"

#include <commctrl.h>

CUpdateDlg::~CUpdateDlg()
{
    if (GetUpdateDlg() == this)
        SetUpdateDlg(nullptr);
}

void CUpdateDlg::SetRange(uint32_t count)
{
    ::SendMessageW(m_progress, PBM_SETRANGE32, 0, static_cast<LPARAM>(count));
}

void CUpdateDlg::Step(bool advance)
{
    if (!advance)
        return;
    ::SendMessageW(m_progress, PBM_SETPOS, static_cast<WPARAM>(m_stepCounter), 0);
    ++m_stepCounter;
}

void CUpdateDlg::Finish()
{
    SendMessage(WM_FINISH_UPDATE);
}

LRESULT CUpdateDlg::OnInitDialog(WindowMessage&)
{
    SetUpdateDlg(this);
    m_progress = GetDlgItem(IDC_UPDATE_PROGRESS);
    ApplyControlTexts(m_hWnd, "DUP", true);
    // The failed end comes once the dialog runs, not inside its start.
    if (!StartInstallWorker())
        PostMessage(WM_INSTALL_WORKER_NOT_STARTED);
    return TRUE;
}

LRESULT CUpdateDlg::OnWorkerNotStarted(WindowMessage&)
{
    EndUnstartedInstallWorker();
    return 0;
}

LRESULT CUpdateDlg::OnFinishUpdate(WindowMessage&)
{
    EndDialog(0);
    return 0;
}
