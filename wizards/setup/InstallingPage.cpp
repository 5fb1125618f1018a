// The installing page.

#include "wizards/setup/InstallingPage.h"

#include "wizards/setup/InstallWorker.h"

#include <commctrl.h>

namespace {

std::atomic<CInstallingPage*>& Instance()
{
    static std::atomic<CInstallingPage*> instance{nullptr};
    return instance;
}

} // namespace

CInstallingPage::CInstallingPage() : CSetupPage(IDD_INSTALLING_PAGE, "PI", true)
{
    SetButtons({true, false, IDS_CAPTION_BACK}, {true, false, IDS_CAPTION_NEXT}, {true, false, IDS_CAPTION_CANCEL});
    Instance() = this;
}

CInstallingPage::~CInstallingPage()
{
    CInstallingPage* self = this;
    Instance().compare_exchange_strong(self, nullptr);
}

CInstallingPage* CInstallingPage::GetInstance()
{
    return Instance();
}

LRESULT CInstallingPage::OnInitDialog(WindowMessage&)
{
    m_progress = GetDlgItem(IDC_INSTALLING_PROGRESS);
    m_list = GetDlgItem(IDC_INSTALLING_LIST);
    m_line = GetDlgItem(IDC_INSTALLING_LINE);
    LVCOLUMNW column{};
    column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT;
    column.fmt = LVCFMT_LEFT;
    column.cx = ColumnWidth;
    column.pszText = const_cast<wchar_t*>(L"");
    ::SendMessageW(m_list, LVM_INSERTCOLUMNW, 0, reinterpret_cast<LPARAM>(&column));
    return FALSE;
}

bool CInstallingPage::OnSetActive()
{
    // The failed end goes to the finish page: not from inside this page's
    // own activation.
    if (!StartInstallWorker())
        PostMessage(WM_INSTALL_WORKER_NOT_STARTED);
    return true;
}

LRESULT CInstallingPage::OnWorkerNotStarted(WindowMessage&)
{
    EndUnstartedInstallWorker();
    return 0;
}

void CInstallingPage::SetRange(uint32_t count)
{
    ::SendMessageW(m_progress, PBM_SETRANGE32, 0, static_cast<LPARAM>(count));
}

void CInstallingPage::AddLine(const std::wstring& text, bool advance)
{
    const int count = static_cast<int>(::SendMessageW(m_list, LVM_GETITEMCOUNT, 0, 0));
    LVITEMW item{};
    item.mask = LVIF_TEXT;
    item.iItem = count + 1;
    item.pszText = const_cast<wchar_t*>(text.c_str());
    const LRESULT index = ::SendMessageW(m_list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
    ::SendMessageW(m_list, LVM_ENSUREVISIBLE, static_cast<WPARAM>(index), FALSE);
    ::SendMessageW(m_progress, PBM_SETPOS, static_cast<WPARAM>(m_stepCounter.load()), 0);
    ::SendMessageW(m_line, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    if (advance)
        ++m_stepCounter;
}

void CInstallingPage::GoNext()
{
    ::SendMessageW(GetFrame(), WM_COMMAND, MAKEWPARAM(IDOK, 0), 0);
}
