// The licence page.

#include "wizards/setup/LicensePage.h"

#include "foundation/MemoryStream.h"
#include "wizards/common/ProductSettings.h"

namespace {

DWORD CALLBACK ReadLicense(DWORD_PTR cookie, LPBYTE buffer, LONG count, LONG* read)
{
    auto* stream = reinterpret_cast<KV::MemoryStream*>(cookie);
    *read = count > 0 ? static_cast<LONG>(stream->Read(buffer, static_cast<uint32_t>(count))) : 0;
    return 0;
}

} // namespace

CLicensePage::CLicensePage() : CSetupPage(IDD_LICENSE_PAGE, "PL", true)
{
    SetButtons({true, true, IDS_CAPTION_BACK}, {true, true, IDS_CAPTION_AGREE}, {true, true, IDS_CAPTION_CANCEL});
    SetFocusId(IDC_LICENSE_TEXT);
}

LRESULT CLicensePage::OnInitDialog(WindowMessage&)
{
    CWindow text = GetDlgItem(IDC_LICENSE_TEXT);
    text.SendMessage(EM_SETEVENTMASK, 0, ENM_KEYEVENTS);
    if (KV::MemoryStream* license = GetLicenseText()) {
        license->Seek(0, KV::SeekBegin);
        EDITSTREAM stream{};
        stream.dwCookie = reinterpret_cast<DWORD_PTR>(license);
        stream.pfnCallback = &ReadLicense;
        text.SendMessage(EM_STREAMIN, SF_RTF, reinterpret_cast<LPARAM>(&stream));
    }
    return FALSE;
}

LRESULT CLicensePage::OnMessageFilter(WindowMessage& msg)
{
    const auto* filter = reinterpret_cast<const MSGFILTER*>(msg.lParam);
    if (filter->msg == WM_KEYDOWN && filter->wParam == VK_RETURN)
        ::SendMessageW(GetFrame(), WM_COMMAND, MAKEWPARAM(IDOK, 0), 0);
    return 0;
}

bool CLicensePage::OnSetActive()
{
    GetDlgItem(IDC_LICENSE_TEXT).SetFocus();
    return true;
}
