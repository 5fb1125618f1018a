// The offer page.

#include "wizards/updater/UpdatePage.h"

#include "foundation/WizardSkin.h"
#include "wizards/common/WizardLanguages.h"
#include "wizards/updater/UpdaterContext.h"
#include "wizards/updater/UpdaterResource.h"
#include "wizards/updater/UpdaterVariant.h"

#include <shellapi.h>

namespace {

constexpr size_t FormatCapacity = 1024;

} // namespace

CUpdatePage::CUpdatePage() : CBasePage(WizardVariant::Updater, IDD_UPDATER_UPDATE_PAGE, "PUUP", true)
{
    SetButtons(PageButton{false, false, 0}, PageButton{true, true, IDS_CAPTION_DOWNLOAD},
               PageButton{true, true, IDS_CAPTION_CANCEL});
    SetFocusId(IDOK);
}

LRESULT CUpdatePage::OnInitDialog(WindowMessage&)
{
    if (KV::Font* font = KV::Skin::GetFont("update"))
        GetDlgItem(IDC_UPDATE_NAME).SetFont(*font);
    return FALSE;
}

bool CUpdatePage::OnSetActive()
{
    if (IsChannelListUpdater()) {
        wchar_t text[FormatCapacity + 1] = L"";
        ::wsprintfW(text, GetLanguageText("sChannels").c_str(), GetChannelCount());
        SetDlgItemText(IDC_UPDATE_NAME, text);
        return false;
    }
    SetDlgItemText(IDC_UPDATE_NAME, GetUpdateDisplayName().c_str());
    if (GetDetailsUrl().empty())
        GetDlgItem(IDC_UPDATE_DETAILS).ShowWindow(SW_HIDE);
    return false;
}

LRESULT CUpdatePage::OnDetailsClick(WindowMessage&)
{
    if (IsChannelListUpdater())
        return 0;
    const std::wstring url = GetDetailsUrl();
    if (!url.empty())
        ::ShellExecuteW(nullptr, nullptr, url.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    return 0;
}
