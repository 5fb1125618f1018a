#pragma once
// CUpdatesDlg: the settings dialog's page for the automatic program and
// channel-list updates. The check boxes toggle themselves; the page writes
// both options when the settings dialog sends it IDOK.

#include "framework/Dialog.h"
#include "player/resources/Resource.h"
#include "player/ui/BRSCheckBox.h"

class CUpdatesDlg : public CDialogImpl<CUpdatesDlg> {
public:
    enum { IDD = IDD_SETTINGS_UPDATES };

    MESSAGE_MAP_BEGIN(CUpdatesDlg)
        ON_MESSAGE(WM_INITDIALOG, OnInitDialog)
        ON_MESSAGE(WM_CTLCOLORDLG, OnColorDialog)
        ON_MESSAGE(WM_CTLCOLORSTATIC, OnColorStatic)
        ON_COMMAND(IDOK, OnOk)
        REFLECT_NOTIFICATIONS()
    MESSAGE_MAP_END()

private:
    LRESULT OnInitDialog(WindowMessage& msg);
    LRESULT OnColorDialog(WindowMessage& msg);
    LRESULT OnColorStatic(WindowMessage& msg);
    LRESULT OnOk(WindowMessage& msg);

    CBRSCheckBox m_programUpdate;
    CBRSCheckBox m_catalogueUpdate;
};
