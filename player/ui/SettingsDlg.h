#pragma once
// CSettingsDlg: the player's settings, on three pages under a tab strip
// (general, updates, parental lock). OK has each page write its options to
// the settings store; Cancel writes nothing. Either way the dialog remembers
// the selected tab for its next opening in this process.
//
//   CSettingsDlg().DoModal(owner);     // the result is of no further use

#include "framework/Dialog.h"
#include "framework/MessageLoop.h"
#include "player/resources/Resource.h"
#include "player/ui/BRSButton.h"
#include "player/ui/SettingsDlgGeneral.h"
#include "player/ui/SettingsDlgPassword.h"
#include "player/ui/SettingsDlgUpdates.h"
#include "player/ui/Tab.h"

#include <memory>
#include <vector>

class CSettingsDlg : public CDialogImpl<CSettingsDlg>, public CMessageFilter {
public:
    enum { IDD = IDD_SETTINGS };

    // Tab indices, in the strip's order.
    enum Page { GeneralPage = 0, UpdatesPage = 1, PasswordPage = 2 };

    // The tab the next opening selects (0 at process start).
    static int GetRememberedTab();

    // The strip of the current (or last) opening; null before the first.
    const CTab* GetTabStrip() const { return m_tab.get(); }
    // The page windows in creation order (general, updates, password),
    // while the dialog is open.
    const std::vector<HWND>& GetPages() const { return m_pages; }

    BOOL PreTranslateMessage(MSG* msg) override;

    MESSAGE_MAP_BEGIN(CSettingsDlg)
        ON_MESSAGE(WM_INITDIALOG, OnInitDialog)
        ON_MESSAGE(WM_DESTROY, OnDestroy)
        ON_MESSAGE(WM_CTLCOLORDLG, OnColorDialog)
        ON_COMMAND(IDOK, OnOk)
        ON_COMMAND(IDCANCEL, OnCancel)
        REFLECT_NOTIFICATIONS()
    MESSAGE_MAP_END()

private:
    LRESULT OnInitDialog(WindowMessage& msg);
    LRESULT OnDestroy(WindowMessage& msg);
    LRESULT OnColorDialog(WindowMessage& msg);
    LRESULT OnOk(WindowMessage& msg);
    LRESULT OnCancel(WindowMessage& msg);

    void RememberTab() const;

    CGeneralDlg m_general;
    CUpdatesDlg m_updates;
    CPasswordDlg m_password;
    // Made anew at each opening: a strip keeps its tabs for its lifetime.
    std::unique_ptr<CTab> m_tab;
    CBRSButton m_ok;
    CBRSButton m_cancel;
    std::vector<HWND> m_pages;
};
