// The about box: product name and version, and links to the product's
// site, the maker's site and the support mail address, each opened by the
// shell on a click or Enter.
#pragma once

#include "framework/Dialog.h"
#include "player/resources/Resource.h"
#include "player/ui/BRSButton.h"

#include <functional>
#include <string>

// The addresses behind the links, filled with the language code and the
// version text.
std::wstring MakeProductSiteUrl(const std::wstring& languageCode, const std::wstring& version);
std::wstring MakePublisherSiteUrl(const std::wstring& version, const std::wstring& languageCode);
std::wstring MakeSupportMailUrl();

class CAboutDlg : public CDialogImpl<CAboutDlg> {
public:
    enum { IDD = IDD_ABOUTBOX };

    // Who opens a link's address; the shell unless replaced.
    using UrlOpener = std::function<void(HWND owner, const std::wstring& url)>;
    static void SetUrlOpener(UrlOpener opener);

    MESSAGE_MAP_BEGIN(CAboutDlg)
        ON_MESSAGE(WM_INITDIALOG, OnInitDialog)
        ON_MESSAGE(WM_PAINT, OnPaint)
        ON_MESSAGE(WM_CTLCOLORDLG, OnColorDialog)
        ON_MESSAGE(WM_CTLCOLORSTATIC, OnColorStatic)
        ON_COMMAND(IDOK, OnClose)
        ON_COMMAND(IDCANCEL, OnClose)
        ON_NOTIFY(IDC_LINK_HOME, NM_CLICK, OnProductLink)
        ON_NOTIFY(IDC_LINK_HOME, NM_RETURN, OnProductLink)
        ON_NOTIFY(IDC_LINK_PUBLISHER, NM_CLICK, OnPublisherLink)
        ON_NOTIFY(IDC_LINK_PUBLISHER, NM_RETURN, OnPublisherLink)
        ON_NOTIFY(IDC_LINK_SUPPORT, NM_CLICK, OnSupportLink)
        ON_NOTIFY(IDC_LINK_SUPPORT, NM_RETURN, OnSupportLink)
        REFLECT_NOTIFICATIONS()
    MESSAGE_MAP_END()

private:
    LRESULT OnInitDialog(WindowMessage& msg);
    LRESULT OnPaint(WindowMessage& msg);
    LRESULT OnColorDialog(WindowMessage& msg);
    LRESULT OnColorStatic(WindowMessage& msg);
    LRESULT OnClose(WindowMessage& msg);
    LRESULT OnProductLink(WindowMessage& msg);
    LRESULT OnPublisherLink(WindowMessage& msg);
    LRESULT OnSupportLink(WindowMessage& msg);

    void Open(const std::wstring& url);

    CBRSButton m_ok;
    CWindow m_productLink;
};
