// The page base class.

#include "wizards/common/BasePage.h"

#include "wizards/common/WizardLanguages.h"

namespace {

// Ids of the frame's own buttons: an updater page naming one of them leaves
// the focus to the frame.
bool IsFrameButton(int id)
{
    return id == IDOK || id == IDCANCEL || id == 1007;
}

} // namespace

CBasePage::CBasePage(WizardVariant variant, int dialogId, const std::string& key, bool header)
    : m_variant(variant), m_dialogId(dialogId), m_key(key), m_header(header),
      m_focusId(variant == WizardVariant::Setup ? 0 : IDOK)
{
}

CBasePage::~CBasePage()
{
    if (IsWindow())
        DestroyWindow();
}

void CBasePage::ApplyTexts()
{
    const std::string key = GetTextKey();
    m_title = GetLanguageText(key);
    m_description = GetLanguageDesc(key);
    if (m_hWnd)
        ApplyControlTexts(m_hWnd, key, false);
}

bool CBasePage::OnKillActive()
{
    return true;
}

bool CBasePage::OnSetActive()
{
    const bool frameDecides = m_variant == WizardVariant::Setup ? m_focusId == 0 : IsFrameButton(m_focusId);
    if (frameDecides)
        return false;
    HWND control = ::GetDlgItem(m_hWnd, m_focusId);
    ::SendMessageW(GetFrame(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control), TRUE);
    return true;
}

HWND CBasePage::CreatePage(HWND frame)
{
    return CreateFromResource(static_cast<UINT>(m_dialogId), frame);
}
