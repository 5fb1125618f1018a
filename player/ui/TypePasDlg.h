#pragma once
// CTypePasDlg: asks for the parental password. It ends with IDOK only once
// the expected password has been typed (exact case); a wrong one is told
// and the user may try again; IDCANCEL gives up.

#include "framework/Dialog.h"
#include "framework/MessageLoop.h"
#include "player/resources/Resource.h"
#include "player/ui/BRSButton.h"

#include <string>

class CTypePasDlg : public CDialogImpl<CTypePasDlg>, public CMessageFilter {
public:
    enum { IDD = IDD_TYPE_PASSWORD };

    explicit CTypePasDlg(const std::wstring& expectedPassword = std::wstring()) : m_expected(expectedPassword) {}

    void SetPassword(const std::wstring& expectedPassword) { m_expected = expectedPassword; }

    BOOL PreTranslateMessage(MSG* msg) override;

    MESSAGE_MAP_BEGIN(CTypePasDlg)
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
    std::wstring m_expected;
};
