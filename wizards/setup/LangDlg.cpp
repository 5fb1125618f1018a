// The language dialog.

#include "wizards/setup/LangDlg.h"

#include "framework/Controls.h"
#include "wizards/common/LanguageChoice.h"
#include "wizards/common/WizardLanguages.h"

LRESULT CLangDlg::OnInitDialog(WindowMessage& msg)
{
    CComboBox list(GetDlgItem(IDC_LANGUAGE_LIST));
    for (int index = 0; index < GetLanguageCount(); ++index) {
        const int item = list.AddString(GetLanguageName(index).c_str());
        list.SetItemData(item, static_cast<DWORD_PTR>(index));
    }
    list.SetCurSel(SelectLanguage(GetSystemLanguage()));
    OnSelChange(msg);
    return TRUE;
}

LRESULT CLangDlg::OnSelChange(WindowMessage&)
{
    CComboBox list(GetDlgItem(IDC_LANGUAGE_LIST));
    const int selection = list.GetCurSel();
    if (selection >= 0)
        SelectLanguageByIndex(static_cast<int>(list.GetItemData(selection)));
    SetWindowText(GetLanguageText("DL").c_str());
    SetDlgItemText(IDC_LANGUAGE_PROMPT, GetLanguageDesc("DL").c_str());
    SetDlgItemText(IDCANCEL, GetControlText(IDCANCEL).c_str());
    return 0;
}

LRESULT CLangDlg::OnClose(WindowMessage& msg)
{
    EndDialog(msg.CommandId());
    return 0;
}
