#include "player/ui/SettingsDlg.h"

#include "foundation/Lang.h"
#include "player/ui/DialogChrome.h"

namespace {

// The selected tab survives the dialog for the rest of the process, not in
// the settings file.
int g_rememberedTab = 0;

constexpr int TabMargin = 16;
constexpr int TabHeight = 28;
constexpr int TabWidth = 83;
constexpr int PageHeight = 200;

}  // namespace

int CSettingsDlg::GetRememberedTab()
{
    return g_rememberedTab;
}

BOOL CSettingsDlg::PreTranslateMessage(MSG* msg)
{
    return m_hWnd != nullptr && ::IsDialogMessageW(m_hWnd, msg);
}

LRESULT CSettingsDlg::OnInitDialog(WindowMessage&)
{
    RECT tabRect = GetClientRect();
    ::InflateRect(&tabRect, -TabMargin, -TabMargin);
    tabRect.bottom = tabRect.top + TabHeight;

    m_pages.clear();
    m_pages.push_back(m_general.Create(m_hWnd));
    m_pages.push_back(m_updates.Create(m_hWnd));

    m_tab = std::make_unique<CTab>(true);
    m_tab->Create(m_hWnd, &tabRect, CTab::WindowStyle, IDC_SETTINGS_TAB);
    m_tab->AddTab(KV::Lang::GetText("tab_general"), TabWidth, m_pages[GeneralPage]);
    m_tab->AddTab(KV::Lang::GetText("tab_updates"), TabWidth, m_pages[UpdatesPage]);

    m_pages.push_back(m_password.Create(m_hWnd));
    m_tab->AddTab(KV::Lang::GetText("tab_password"), TabWidth, m_pages[PasswordPage]);

    KV::Lang::TranslateWindow(m_hWnd);
    m_ok.SubclassWindow(GetDlgItem(IDOK));
    m_cancel.SubclassWindow(GetDlgItem(IDCANCEL));

    // Below the strip, in the tab order right after it and in creation
    // order; the strip shows the selected tab's page.
    HWND after = *m_tab;
    for (HWND page : m_pages) {
        ::SetWindowPos(page, after, tabRect.left, tabRect.bottom, tabRect.right - tabRect.left, PageHeight,
                       SWP_NOACTIVATE | SWP_HIDEWINDOW);
        after = page;
    }

    m_tab->SelectTab(g_rememberedTab);
    CenterWindow(GetParent());
    return TRUE;
}

LRESULT CSettingsDlg::OnDestroy(WindowMessage& msg)
{
    m_pages.clear();
    msg.handled = false;
    return 0;
}

LRESULT CSettingsDlg::OnColorDialog(WindowMessage&)
{
    return SkinnedDialogBrush();
}

void CSettingsDlg::RememberTab() const
{
    if (m_tab != nullptr && m_tab->GetSelectedIndex() >= 0)
        g_rememberedTab = m_tab->GetSelectedIndex();
}

LRESULT CSettingsDlg::OnOk(WindowMessage&)
{
    for (HWND page : m_pages)
        ::SendMessageW(page, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    RememberTab();
    EndDialog(IDOK);
    return 0;
}

LRESULT CSettingsDlg::OnCancel(WindowMessage&)
{
    RememberTab();
    EndDialog(IDCANCEL);
    return 0;
}
