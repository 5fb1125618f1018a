#pragma once
// CPasswordDlg: the settings dialog's page for the parental lock. Turning
// the lock off, or changing an existing password, first asks for the
// current password, once per opening of the settings dialog; turning the
// lock on without a password first asks for a new one. The page writes the
// lock and the password when the settings dialog sends it IDOK.

#include "framework/Dialog.h"
#include "player/resources/Resource.h"
#include "player/ui/BRSButton.h"
#include "player/ui/BRSCheckBox.h"

#include <string>

class CPasswordDlg : public CDialogImpl<CPasswordDlg> {
public:
    enum { IDD = IDD_SETTINGS_PASSWORD };

    // The password as edited in this opening (written only on IDOK).
    const std::wstring& GetPassword() const { return m_password; }
    // Whether the user typed the current password, or set a new one, in
    // this opening.
    bool IsProved() const { return m_proved; }

    MESSAGE_MAP_BEGIN(CPasswordDlg)
        ON_MESSAGE(WM_INITDIALOG, OnInitDialog)
        ON_MESSAGE(WM_CTLCOLORDLG, OnColorDialog)
        ON_MESSAGE(WM_CTLCOLORSTATIC, OnColorStatic)
        ON_MESSAGE(WM_CTLCOLORBTN, OnColorButton)
        ON_COMMAND_CODE(IDC_USE_PASSWORD, BN_CLICKED, OnLockClicked)
        ON_COMMAND_CODE(IDC_USE_PASSWORD, BN_DOUBLECLICKED, OnLockClicked)
        // Other notifications of the lock box are kept from it: it must
        // never toggle itself past the password question.
        ON_COMMAND(IDC_USE_PASSWORD, OnLockOther)
        ON_COMMAND_CODE(IDC_CHANGE_PASSWORD, BN_CLICKED, OnChangePasswordClicked)
        ON_COMMAND(IDOK, OnOk)
        REFLECT_NOTIFICATIONS()
    MESSAGE_MAP_END()

private:
    LRESULT OnInitDialog(WindowMessage& msg);
    LRESULT OnColorDialog(WindowMessage& msg);
    LRESULT OnColorStatic(WindowMessage& msg);
    LRESULT OnColorButton(WindowMessage& msg);
    LRESULT OnLockClicked(WindowMessage& msg);
    LRESULT OnLockOther(WindowMessage& msg);
    LRESULT OnChangePasswordClicked(WindowMessage& msg);
    LRESULT OnOk(WindowMessage& msg);

    // Asks for a new password (after the current one unless proved).
    void ChangePassword();
    // Asks for the current password; true once it was typed.
    bool AskCurrentPassword();

    CBRSCheckBox m_lock;
    CBRSButton m_change;
    std::wstring m_password;
    bool m_proved = false;
};
