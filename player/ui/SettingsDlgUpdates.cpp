#include "player/ui/SettingsDlgUpdates.h"

#include "player/app/Settings.h"
#include "player/ui/DialogChrome.h"

namespace {

const char ProgramUpdateSetting[] = "automatic_update";
const char CatalogueUpdateSetting[] = "automatic_cupdate";

}  // namespace

LRESULT CUpdatesDlg::OnInitDialog(WindowMessage&)
{
    m_programUpdate.SubclassWindow(GetDlgItem(IDC_AUTO_UPDATE));
    m_catalogueUpdate.SubclassWindow(GetDlgItem(IDC_AUTO_CUPDATE));
    m_programUpdate.SetCheck(CSettings::GetBool(ProgramUpdateSetting, true));
    m_catalogueUpdate.SetCheck(CSettings::GetBool(CatalogueUpdateSetting, true));
    return TRUE;
}

LRESULT CUpdatesDlg::OnColorDialog(WindowMessage& msg)
{
    // The settings dialog's background shows through.
    ::SetBkMode(reinterpret_cast<HDC>(msg.wParam), TRANSPARENT);
    return reinterpret_cast<LRESULT>(::GetStockObject(NULL_BRUSH));
}

LRESULT CUpdatesDlg::OnColorStatic(WindowMessage& msg)
{
    return SkinnedStaticBrush(reinterpret_cast<HDC>(msg.wParam));
}

LRESULT CUpdatesDlg::OnOk(WindowMessage&)
{
    CSettings::SetBool(ProgramUpdateSetting, m_programUpdate.GetCheck());
    CSettings::SetBool(CatalogueUpdateSetting, m_catalogueUpdate.GetCheck());
    return 0;
}
