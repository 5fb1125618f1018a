#pragma once
// CGeneralDlg: the settings dialog's first page: the interface language
// (takes effect at the next start, which the page tells at once) and
// whether the player starts with Windows. It writes both when the settings
// dialog sends it IDOK.

#include "framework/Controls.h"
#include "framework/Dialog.h"
#include "player/resources/Resource.h"
#include "player/ui/BRSCheckBox.h"

class CGeneralDlg : public CDialogImpl<CGeneralDlg> {
public:
    enum { IDD = IDD_SETTINGS_GENERAL };

    MESSAGE_MAP_BEGIN(CGeneralDlg)
        ON_MESSAGE(WM_INITDIALOG, OnInitDialog)
        ON_MESSAGE(WM_CTLCOLORDLG, OnColorDialog)
        ON_MESSAGE(WM_CTLCOLORSTATIC, OnColorStatic)
        ON_MESSAGE(WM_CTLCOLORBTN, OnColorButton)
        ON_COMMAND_CODE(IDC_LANGUAGE, CBN_SELCHANGE, OnLanguageChange)
        ON_COMMAND(IDOK, OnOk)
        REFLECT_NOTIFICATIONS()
    MESSAGE_MAP_END()

private:
    LRESULT OnInitDialog(WindowMessage& msg);
    LRESULT OnColorDialog(WindowMessage& msg);
    LRESULT OnColorStatic(WindowMessage& msg);
    LRESULT OnColorButton(WindowMessage& msg);
    LRESULT OnLanguageChange(WindowMessage& msg);
    LRESULT OnOk(WindowMessage& msg);

    CComboBox m_language;
    CBRSCheckBox m_autostart;
};
