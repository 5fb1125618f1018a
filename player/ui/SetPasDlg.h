#pragma once
// CSetPasDlg: asks for a new parental password twice. It ends with IDOK only
// when the password has at least four characters and both fields match
// exactly (case included); otherwise it tells why and stays open. After
// IDOK the caller reads the password with GetPassword.

#include "framework/Dialog.h"
#include "framework/MessageLoop.h"
#include "player/resources/Resource.h"
#include "player/ui/BRSButton.h"

#include <string>

class CSetPasDlg : public CDialogImpl<CSetPasDlg>, public CMessageFilter {
public:
    enum { IDD = IDD_SET_PASSWORD };

    // Fewer characters than this are refused.
    static constexpr size_t MinimumLength = 4;

    // The accepted password; empty until the dialog ended with IDOK.
    const std::wstring& GetPassword() const { return m_password; }

    BOOL PreTranslateMessage(MSG* msg) override;

    MESSAGE_MAP_BEGIN(CSetPasDlg)
        ON_MESSAGE(WM_INITDIALOG, OnInitDialog)
        ON_MESSAGE(WM_CTLCOLORDLG, OnColorDialog)
        ON_MESSAGE(WM_CTLCOLORSTATIC, OnColorStatic)
        ON_COMMAND(IDOK, OnOk)
        ON_COMMAND(IDCANCEL, OnCancel)
        REFLECT_NOTIFICATIONS()
    MESSAGE_MAP_END()

private:
    LRESULT OnInitDialog(WindowMessage& msg);
    LRESULT OnColorDialog(WindowMessage& msg);
    LRESULT OnColorStatic(WindowMessage& msg);
    LRESULT OnOk(WindowMessage& msg);
    LRESULT OnCancel(WindowMessage& msg);

    CBRSButton m_ok;
    CBRSButton m_cancel;
    std::wstring m_password;
};
