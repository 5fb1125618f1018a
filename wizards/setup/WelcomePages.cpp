// The start and finish pages.

#include "wizards/setup/WelcomePages.h"

#include "foundation/WizardSkin.h"
#include "framework/GdiHelpers.h"
#include "wizards/setup/SetupContext.h"

namespace {

// Pixel places of the pictures and texts.
constexpr int SidePictureWidth = 164;
constexpr int TextLeft = 180;
constexpr int TextWidth = 293;
constexpr int HeaderPictureHeight = 41;
constexpr int RecorderPictureLeft = 290;
constexpr int FinishTextHeight = 65;

void DrawSkinImage(HDC dc, const char* name, int x, int y)
{
    if (const CImage* image = KV::Skin::GetImage(name))
        image->Draw(dc, x, y);
}

} // namespace

CWelcomePage::CWelcomePage(const std::string& key, bool finish)
    : CSetupPage(IDD_WELCOME_PAGE, key, false), m_finish(finish)
{
}

bool CWelcomePage::HasLaunchBox() const
{
    return m_finish && !IsUninstallMode();
}

LRESULT CWelcomePage::OnInitDialog(WindowMessage&)
{
    if (KV::Font* font = KV::Skin::GetFont("welcome"))
        GetDlgItem(IDC_WELCOME_TITLE).SetFont(*font);
    if (HasLaunchBox()) {
        ::CheckDlgButton(m_hWnd, IDC_WELCOME_LAUNCH, BST_CHECKED);
        GetDlgItem(IDC_WELCOME_LAUNCH).ShowWindow(SW_SHOW);
    }
    return FALSE;
}

LRESULT CWelcomePage::OnSize(WindowMessage& msg)
{
    const int height = msg.Height();
    GetDlgItem(IDC_WELCOME_PICTURE).MoveWindow(0, 0, SidePictureWidth, height);
    GetDlgItem(IDC_WELCOME_TITLE).MoveWindow(TextLeft, 57, TextWidth, 46);
    if (!m_finish) {
        GetDlgItem(IDC_WELCOME_TEXT).MoveWindow(TextLeft, 119, TextWidth, height - 78);
    } else {
        GetDlgItem(IDC_WELCOME_TEXT).MoveWindow(TextLeft, 119, TextWidth, FinishTextHeight);
        // Below the text: overlapping it, the box would paint over its last
        // line ("Click Finish ...").
        if (HasLaunchBox())
            GetDlgItem(IDC_WELCOME_LAUNCH).MoveWindow(TextLeft, 119 + FinishTextHeight, TextWidth, 65);
    }
    return 0;
}

LRESULT CWelcomePage::OnPaint(WindowMessage&)
{
    CPaintDC paint(m_hWnd);
    DrawSkinImage(paint, "bg", 0, HeaderPictureHeight);
    DrawSkinImage(paint, "header", 0, 0);
    if (!m_finish && IsRecorderEdition())
        DrawSkinImage(paint, "recorder", RecorderPictureLeft, 0);
    return 0;
}

LRESULT CWelcomePage::OnCtlColor(WindowMessage&)
{
    return reinterpret_cast<LRESULT>(KV::Skin::GetBkBrush());
}

LRESULT CWelcomePage::OnLaunchClicked(WindowMessage&)
{
    if (m_finish)
        SetLaunchFlag(::IsDlgButtonChecked(m_hWnd, IDC_WELCOME_LAUNCH) == BST_CHECKED);
    return 0;
}

CStartPage::CStartPage() : CWelcomePage("PS", false)
{
    SetButtons({false, false, 0}, {true, true, IDS_CAPTION_NEXT}, {true, true, IDS_CAPTION_CANCEL});
}

CFinishPage::CFinishPage() : CWelcomePage("PF", true)
{
    SetButtons({false, false, 0}, {false, true, IDS_CAPTION_NEXT},
               {true, true, IsUninstallMode() ? IDS_CAPTION_CLOSE : IDS_CAPTION_FINISH});
}
