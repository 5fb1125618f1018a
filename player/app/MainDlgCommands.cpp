// The main window's menu commands, its updater timer and the tray icon's
// notifications.
#include "player/app/MainDlg.h"

#include "foundation/Lang.h"
#include "foundation/Utilities.h"
#include "player/app/MainDlgSeams.h"
#include "player/app/Settings.h"
#include "player/playback/PlayerCtrl.h"
#include "player/ui/AboutDlg.h"
#include "player/ui/SettingsDlg.h"

#include <shellapi.h>

void CMainDlg::RunShell(const wchar_t* verb, const std::wstring& file, const wchar_t* parameters, int showCommand)
{
    if (MainDlgSeams::ShellRunner()) {
        MainDlgSeams::ShellRunner()(verb, file, parameters, showCommand);
        return;
    }
    ::ShellExecuteW(nullptr, verb, file.c_str(), parameters, nullptr, showCommand);
}

LRESULT CMainDlg::OnHomePage(WindowMessage&)
{
    RunShell(L"open", MakeProductSiteUrl(KV::Lang::GetCurrentExt(), CSettings::GetVersion()), nullptr, SW_SHOWNORMAL);
    return 0;
}

LRESULT CMainDlg::OnHelpMenuKey(WindowMessage&)
{
    m_header.ShowMenu(CHeader::HelpButton);
    return 0;
}

LRESULT CMainDlg::OnToolsMenuKey(WindowMessage&)
{
    m_header.ShowMenu(CHeader::ToolsButton);
    return 0;
}

LRESULT CMainDlg::OnAbout(WindowMessage&)
{
    CAboutDlg about;
    about.DoModal(::GetActiveWindow());
    return 0;
}

LRESULT CMainDlg::OnTopmost(WindowMessage&)
{
    const bool topmost = !CSettings::GetBool("topmost", false);
    ApplyTopmost(topmost);
    m_header.CheckMenuItem(CHeader::ToolsButton, ID_TOOLS_TOPMOST, topmost);
    CSettings::SetBool("topmost", topmost);
    return 0;
}

LRESULT CMainDlg::OnSettings(WindowMessage&)
{
    CSettingsDlg settings;
    settings.DoModal(m_hWnd);
    return 0;
}

LRESULT CMainDlg::OnUpdate(WindowMessage&)
{
    RunShell(nullptr, KV::GetProgramFile(L"Updater.exe"), nullptr, SW_SHOWNORMAL);
    return 0;
}

LRESULT CMainDlg::OnChannelUpdate(WindowMessage&)
{
    RunShell(nullptr, KV::GetProgramFile(L"Chanfresh.exe"), nullptr, SW_SHOWNORMAL);
    return 0;
}

LRESULT CMainDlg::OnNothing(WindowMessage&)
{
    return 0;
}

LRESULT CMainDlg::OnTimer(WindowMessage& msg)
{
    if (msg.wParam != UpdaterTimer) {
        msg.handled = false;
        return 0;
    }
    KillTimer(UpdaterTimer);
    // The updater checks quietly and shows itself only when it finds one.
    RunShell(L"open", KV::GetProgramFile(L"Updater.exe"), L"-h", SW_HIDE);
    return 0;
}

LRESULT CMainDlg::OnTrayNotify(WindowMessage& msg)
{
    if (!m_tray)
        return 0;
    const UINT mouseMessage = static_cast<UINT>(msg.lParam);
    m_tray->OnNotify(static_cast<UINT>(msg.wParam), mouseMessage);
    if (mouseMessage == WM_LBUTTONUP || mouseMessage == WM_RBUTTONUP || mouseMessage == WM_MBUTTONUP) {
        if (::GetForegroundWindow() != m_hWnd)
            SetForegroundWindow();
    } else if (mouseMessage == WM_LBUTTONDBLCLK) {
        if (!IsWindowVisible() || IsIconic()) {
            ShowWindow(SW_RESTORE);
            SetForegroundWindow();
        } else {
            SendMessage(WM_COMMAND, IDCANCEL);
        }
    }
    return 0;
}

LRESULT CMainDlg::OnTaskbarCreated(WindowMessage&)
{
    // Posted or sent as a broadcast: either way it arrives here.
    if (!m_tray)
        return 0;
    m_tray->OnTaskbarCreated();
    if (!m_tray->IsShown() && !IsWindowVisible())
        HideToTray();
    return 0;
}
