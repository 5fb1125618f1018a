#include "player/ui/AboutDlg.h"

#include "foundation/Lang.h"
#include "foundation/Skin.h"
#include "framework/GdiHelpers.h"
#include "player/app/Settings.h"
#include "player/ui/DialogChrome.h"
#include "player/ui/LanguageFormat.h"

#include <shellapi.h>

namespace {

// The product's site (its recorder edition), the maker's site and the
// support address.
const wchar_t ProductSiteHost[] = L"recorder.brisvane.example";
const wchar_t PublisherSiteHost[] = L"www.kestrivo.example";
const wchar_t SupportMailAddress[] = L"support@kestrivo.example";

// The logo's top lies this far above the bottom of the client area.
constexpr int LogoOffsetFromBottom = 124;

void OpenWithShell(HWND owner, const std::wstring& url)
{
    ::ShellExecuteW(owner, L"open", url.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

CAboutDlg::UrlOpener& Opener()
{
    static CAboutDlg::UrlOpener opener = OpenWithShell;
    return opener;
}

std::wstring LinkMarkup(const wchar_t* text)
{
    return std::wstring(L"<a>") + text + L"</a>";
}

}  // namespace

std::wstring MakeProductSiteUrl(const std::wstring& languageCode, const std::wstring& version)
{
    return std::wstring(L"https://") + ProductSiteHost + L"/" + languageCode + L"/?app=brsv&ver=" + version;
}

std::wstring MakePublisherSiteUrl(const std::wstring& version, const std::wstring& languageCode)
{
    return std::wstring(L"https://") + PublisherSiteHost + L"/?app=brsv&ver=" + version + L"&lang=" + languageCode;
}

std::wstring MakeSupportMailUrl()
{
    return std::wstring(L"mailto:") + SupportMailAddress;
}

void CAboutDlg::SetUrlOpener(UrlOpener opener)
{
    Opener() = opener ? std::move(opener) : UrlOpener(OpenWithShell);
}

LRESULT CAboutDlg::OnInitDialog(WindowMessage&)
{
    KV::Lang::TranslateWindow(m_hWnd);

    const std::wstring title = KV::Lang::GetText("dlg_about") + L" " + CSettings::GetProductName();
    SetWindowText(title.c_str());

    m_ok.SubclassWindow(GetDlgItem(IDOK));

    const std::wstring version = FillLanguageFormat(KV::Lang::GetText("str_version"), CSettings::GetVersion());
    SetDlgItemText(IDC_VERSION, version.c_str());

    m_productLink = GetDlgItem(IDC_LINK_HOME);
    m_productLink.SetWindowText(LinkMarkup(ProductSiteHost).c_str());
    SetDlgItemText(IDC_LINK_PUBLISHER, LinkMarkup(PublisherSiteHost).c_str());
    SetDlgItemText(IDC_LINK_SUPPORT, LinkMarkup(SupportMailAddress).c_str());

    CenterWindow();
    return TRUE;
}

LRESULT CAboutDlg::OnPaint(WindowMessage&)
{
    CPaintDC dc(m_hWnd);
    const RECT client = GetClientRect();
    PaintDialogHeader(dc, client);
    PaintDialogFooter(dc, client);
    if (const CImage* logo = KV::Skin::GetImage("kvlogo"))
        logo->Draw(dc, (client.right - logo->GetWidth()) / 2, client.bottom - LogoOffsetFromBottom);
    return 0;
}

LRESULT CAboutDlg::OnColorDialog(WindowMessage&)
{
    return SkinnedDialogBrush();
}

LRESULT CAboutDlg::OnColorStatic(WindowMessage& msg)
{
    HDC dc = reinterpret_cast<HDC>(msg.wParam);
    switch (::GetDlgCtrlID(reinterpret_cast<HWND>(msg.lParam))) {
    case IDC_LINK_HOME:
    case IDC_LINK_PUBLISHER:
    case IDC_LINK_SUPPORT:
        return SkinnedLinkBrush(dc);
    default:
        return SkinnedStaticBrush(dc);
    }
}

LRESULT CAboutDlg::OnClose(WindowMessage& msg)
{
    EndDialog(msg.CommandId());
    return 0;
}

void CAboutDlg::Open(const std::wstring& url)
{
    if (Opener())
        Opener()(m_hWnd, url);
}

LRESULT CAboutDlg::OnProductLink(WindowMessage&)
{
    Open(MakeProductSiteUrl(KV::Lang::GetCurrentExt(), CSettings::GetVersion()));
    return 0;
}

LRESULT CAboutDlg::OnPublisherLink(WindowMessage&)
{
    Open(MakePublisherSiteUrl(CSettings::GetVersion(), KV::Lang::GetCurrentExt()));
    return 0;
}

LRESULT CAboutDlg::OnSupportLink(WindowMessage&)
{
    Open(MakeSupportMailUrl());
    return 0;
}
