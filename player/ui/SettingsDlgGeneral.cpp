#include "player/ui/SettingsDlgGeneral.h"

#include "foundation/Lang.h"
#include "player/app/Settings.h"
#include "player/ui/DialogChrome.h"
#include "player/ui/MsgBox.h"

namespace {

const char LanguageSetting[] = "Language";

}  // namespace

LRESULT CGeneralDlg::OnInitDialog(WindowMessage&)
{
    m_autostart.SubclassWindow(GetDlgItem(IDC_AUTOSTART));
    m_autostart.SetCheck(CSettings::GetAutostart());

    m_language = GetDlgItem(IDC_LANGUAGE);
    for (int i = 0; i < KV::Lang::GetCount(); ++i)
        m_language.AddString(KV::Lang::GetLanguageName(i).c_str());
    const std::wstring code = CSettings::GetString(LanguageSetting, KV::Lang::GetCurrentExt());
    // -1 (a code that is not loaded) leaves the list without a selection.
    m_language.SetCurSel(KV::Lang::FindIndex(code));
    return TRUE;
}

LRESULT CGeneralDlg::OnColorDialog(WindowMessage& msg)
{
    ::SetBkMode(reinterpret_cast<HDC>(msg.wParam), TRANSPARENT);
    return SkinnedDialogBrush();
}

LRESULT CGeneralDlg::OnColorStatic(WindowMessage& msg)
{
    return SkinnedStaticBrush(reinterpret_cast<HDC>(msg.wParam));
}

LRESULT CGeneralDlg::OnColorButton(WindowMessage& msg)
{
    ::SetBkMode(reinterpret_cast<HDC>(msg.wParam), TRANSPARENT);
    return SkinnedDialogBrush();
}

LRESULT CGeneralDlg::OnLanguageChange(WindowMessage&)
{
    // Windows already made take their texts at their creation; the new
    // language shows from the next start of the player.
    ShowMsgBox("msg_lang_restart", MsgBoxOk);
    return 0;
}

LRESULT CGeneralDlg::OnOk(WindowMessage&)
{
    // Without a selection (the saved code names no loaded language) the
    // saved code stays: the user chose nothing else.
    const int selected = m_language.GetCurSel();
    if (selected >= 0)
        CSettings::SetString(LanguageSetting, KV::Lang::GetExt(selected));
    CSettings::SetAutostart(m_autostart.GetCheck());
    return 0;
}
