// The components page.

#include "wizards/setup/ComponentsPage.h"

#include "foundation/WizardSkin.h"
#include "foundation/WizardUtilities.h"
#include "wizards/common/WizardLanguages.h"
#include "wizards/setup/Components.h"
#include "wizards/setup/SetupContext.h"

#include <uxtheme.h>
#include <vssym32.h>

namespace {

constexpr int ImageSize = 16;
constexpr int ImageCount = 4;

// A 16 x 16 picture of a check box in one of the four states, on white.
HBITMAP MakeCheckPicture(HWND window, HTHEME theme, int index)
{
    static const int themeStates[ImageCount] = {CBS_UNCHECKEDNORMAL, CBS_CHECKEDNORMAL, CBS_UNCHECKEDDISABLED,
                                                CBS_CHECKEDDISABLED};
    static const UINT frameStates[ImageCount] = {DFCS_BUTTONCHECK, DFCS_BUTTONCHECK | DFCS_CHECKED,
                                                 DFCS_BUTTONCHECK | DFCS_INACTIVE,
                                                 DFCS_BUTTONCHECK | DFCS_CHECKED | DFCS_INACTIVE};
    HDC screen = ::GetDC(window);
    HDC dc = ::CreateCompatibleDC(screen);
    HBITMAP bitmap = ::CreateCompatibleBitmap(screen, ImageSize, ImageSize);
    ::ReleaseDC(window, screen);
    if (!dc || !bitmap) {
        if (dc)
            ::DeleteDC(dc);
        if (bitmap)
            ::DeleteObject(bitmap);
        return nullptr;
    }
    HGDIOBJ previous = ::SelectObject(dc, bitmap);
    RECT whole{0, 0, ImageSize, ImageSize};
    ::FillRect(dc, &whole, KV::Skin::GetBkBrush());
    RECT box{2, 2, 15, 15};
    if (theme)
        ::DrawThemeBackground(theme, dc, BP_CHECKBOX, themeStates[index], &box, nullptr);
    else
        ::DrawFrameControl(dc, &box, DFC_BUTTON, frameStates[index]);
    ::SelectObject(dc, previous);
    ::DeleteDC(dc);
    return bitmap;
}

std::wstring SizeUnitText(const char* unit)
{
    return GetLanguageText(unit);
}

} // namespace

CComponentsPage::CComponentsPage() : CSetupPage(IDD_COMPONENTS_PAGE, "PC", true)
{
    SetButtons({true, true, IDS_CAPTION_BACK}, {true, true, IDS_CAPTION_INSTALL}, {true, true, IDS_CAPTION_CANCEL});
    SetFocusId(IDC_COMPONENTS_TREE);
}

CComponentsPage::~CComponentsPage()
{
    if (m_images)
        ::ImageList_Destroy(m_images);
}

void CComponentsPage::BuildImageList()
{
    m_images = ::ImageList_Create(ImageSize, ImageSize, ILC_COLOR24, ImageCount, 4);
    if (!m_images)
        return;
    HTHEME theme = ::OpenThemeData(m_hWnd, L"Button");
    for (int index = 0; index < ImageCount; ++index) {
        HBITMAP picture = MakeCheckPicture(m_hWnd, theme, index);
        ::ImageList_Add(m_images, picture, nullptr);
        if (picture)
            ::DeleteObject(picture);
    }
    if (theme)
        ::CloseThemeData(theme);
}

LRESULT CComponentsPage::OnInitDialog(WindowMessage&)
{
    m_tree = GetDlgItem(IDC_COMPONENTS_TREE);
    BuildImageList();
    CWindow(m_tree).ModifyStyle(0, TVS_INFOTIP);
    ::SendMessageW(m_tree, TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(m_images));

    for (const auto& component : GetComponentList()) {
        if (!component->IsListed())
            continue;
        const std::wstring name = component->GetName();
        const int image = component->IsRequired() ? ImageCheckedDisabled : ImageChecked;
        TVINSERTSTRUCTW insert{};
        insert.hParent = TVI_ROOT;
        insert.hInsertAfter = TVI_LAST;
        insert.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM;
        insert.item.pszText = const_cast<wchar_t*>(name.c_str());
        insert.item.iImage = image;
        insert.item.iSelectedImage = image;
        insert.item.lParam = reinterpret_cast<LPARAM>(component.get());
        ::SendMessageW(m_tree, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert));
    }
    ShowDescription(nullptr);
    UpdateSpaceLine();
    return FALSE;
}

LRESULT CComponentsPage::OnDestroy(WindowMessage& msg)
{
    ::SendMessageW(m_tree, TVM_SETIMAGELIST, TVSIL_NORMAL, 0);
    msg.handled = false;
    return 0;
}

CComponent* CComponentsPage::GetComponent(HTREEITEM item) const
{
    if (!item)
        return nullptr;
    TVITEMW data{};
    data.mask = TVIF_PARAM | TVIF_HANDLE;
    data.hItem = item;
    if (!::SendMessageW(m_tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&data)))
        return nullptr;
    return reinterpret_cast<CComponent*>(data.lParam);
}

HTREEITEM CComponentsPage::HitTestCursor(UINT flags) const
{
    const DWORD position = ::GetMessagePos();
    TVHITTESTINFO hit{};
    hit.pt.x = static_cast<short>(LOWORD(position));
    hit.pt.y = static_cast<short>(HIWORD(position));
    ::ScreenToClient(m_tree, &hit.pt);
    const auto item =
        reinterpret_cast<HTREEITEM>(::SendMessageW(m_tree, TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
    return (hit.flags & flags) ? item : nullptr;
}

void CComponentsPage::ToggleItem(HTREEITEM item)
{
    CComponent* component = GetComponent(item);
    if (!component || component->IsRequired())
        return;
    component->SetChecked(!component->IsChecked());
    TVITEMW data{};
    data.mask = TVIF_HANDLE | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    data.hItem = item;
    data.iImage = data.iSelectedImage = component->IsChecked() ? ImageChecked : ImageUnchecked;
    ::SendMessageW(m_tree, TVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&data));
    UpdateSpaceLine();
}

void CComponentsPage::ShowDescription(HTREEITEM item)
{
    CWindow line = GetDlgItem(IDC_COMPONENTS_DESCRIPTION);
    if (CComponent* component = GetComponent(item)) {
        line.EnableWindow(TRUE);
        line.SetWindowText(component->GetDescription().c_str());
    } else if (line.IsWindowEnabled()) {
        line.EnableWindow(FALSE);
        line.SetWindowText(GetLanguageText("tCompDesc").c_str());
    }
}

void CComponentsPage::UpdateSpaceLine()
{
    const std::wstring text =
        GetLanguageText("tSpaceR") + L" " + KV::Wizard::FormatSize(GetSpaceRequired(), &SizeUnitText);
    SetDlgItemText(IDC_COMPONENTS_SPACE, text.c_str());
}

LRESULT CComponentsPage::OnMouseMove(WindowMessage& msg)
{
    ShowDescription(HitTestCursor(TVHT_ONITEM));
    msg.handled = false;
    return 0;
}

LRESULT CComponentsPage::OnTreeClick(WindowMessage&)
{
    const HTREEITEM item = HitTestCursor(TVHT_ONITEMICON | TVHT_ONITEMLABEL | TVHT_ONITEMSTATEICON);
    if (item)
        ToggleItem(item);
    return 0;
}

LRESULT CComponentsPage::OnTreeKeyDown(WindowMessage& msg)
{
    const auto* key = reinterpret_cast<const NMTVKEYDOWN*>(msg.lParam);
    if (key->wVKey != VK_SPACE) {
        msg.handled = false;
        return 0;
    }
    ToggleItem(reinterpret_cast<HTREEITEM>(::SendMessageW(m_tree, TVM_GETNEXTITEM, TVGN_CARET, 0)));
    return 1;
}

LRESULT CComponentsPage::OnTreeInfoTip(WindowMessage& msg)
{
    const auto* tip = reinterpret_cast<const NMTVGETINFOTIPW*>(msg.lParam);
    ShowDescription(tip->hItem);
    return 0;
}

LRESULT CComponentsPage::OnTreeSelChanged(WindowMessage& msg)
{
    const auto* change = reinterpret_cast<const NMTREEVIEWW*>(msg.lParam);
    ShowDescription(change->itemNew.hItem);
    return 0;
}

bool CComponentsPage::OnKillActive()
{
    return CheckMainExeClosed(m_hWnd);
}
