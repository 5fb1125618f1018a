#pragma once
// The installer language dialog: every language of the pack in a drop-down
// list; choosing one switches the language (and its macros) at once.

#include "framework/Dialog.h"
#include "wizards/setup/resources/Resource.h"

class CLangDlg : public CDialogImpl<CLangDlg> {
public:
    enum { IDD = IDD_LANGUAGE };

    MESSAGE_MAP_BEGIN(CLangDlg)
        ON_MESSAGE(WM_INITDIALOG, OnInitDialog)
        ON_COMMAND_CODE(IDC_LANGUAGE_LIST, CBN_SELCHANGE, OnSelChange)
        ON_COMMAND(IDOK, OnClose)
        ON_COMMAND(IDCANCEL, OnClose)
    MESSAGE_MAP_END()

private:
    LRESULT OnInitDialog(WindowMessage& msg);
    LRESULT OnSelChange(WindowMessage& msg);
    LRESULT OnClose(WindowMessage& msg);
};
