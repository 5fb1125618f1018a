#include "player/ui/Header.h"

#include "foundation/Lang.h"
#include "foundation/Skin.h"
#include "framework/AppModule.h"
#include "framework/GdiHelpers.h"
#include "player/resources/Resource.h"

namespace {

constexpr COLORREF CaptionColor = 0xFFFAFA;
constexpr int RightMargin = 16;
constexpr int ButtonGap = 10;
constexpr int ButtonTop = 32;
constexpr int ButtonBottom = 48;
// The columns of the header picture that form its right end.
constexpr int PictureEnd = 8;

HFONT SkinFont(const char* name)
{
    const KV::Font* font = KV::Skin::GetFont(name);
    return font != nullptr ? font->GetHandle() : nullptr;
}

} // namespace

int CHeader::ButtonWidth(const std::wstring& caption, int textWidth)
{
    int width = textWidth + 14;
    if (caption.find(L'&') != std::wstring::npos)
        width -= 6;
    return width;
}

void CHeader::LayOutButtons(std::vector<std::unique_ptr<HeaderButton>>& buttons, int clientRight)
{
    int x = clientRight - RightMargin;
    for (auto button = buttons.rbegin(); button != buttons.rend(); ++button) {
        (*button)->rect = RECT{x - (*button)->width, ButtonTop, x, ButtonBottom};
        x -= (*button)->width + ButtonGap;
    }
}

LRESULT CHeader::OnCreate(WindowMessage&)
{
    m_background = KV::Skin::GetImage("header_bg");
    m_emblem = KV::Skin::GetImage("header_recorder");

    m_menu.Load(IDR_HEADER_MENU);
    if (HMENU help = ::GetSubMenu(m_menu.Get(), 2)) {
        ::AppendMenuW(help, MF_SEPARATOR, 0, nullptr);
        ::AppendMenuW(help, MF_STRING, ID_APP_ABOUT, L"menu_about");
    }
    m_hot = -1;

    CClientDC dc(m_hWnd);
    CSelectObject font(dc, SkinFont("menu"));
    AddButton(dc, "menu_tools", 1);
    AddButton(dc, "menu_help", 2);
    LayOutButtons(m_buttons, GetClientRect().right);
    return 0;
}

void CHeader::AddButton(HDC dc, const char* textId, int subMenu)
{
    auto button = std::make_unique<HeaderButton>();
    button->menu = ::GetSubMenu(m_menu.Get(), subMenu);
    if (button->menu != nullptr)
        KV::Lang::TranslateMenu(button->menu);
    button->caption = KV::Lang::GetText(textId);
    SIZE extent{};
    ::GetTextExtentPoint32W(dc, button->caption.c_str(), static_cast<int>(button->caption.size()), &extent);
    button->width = ButtonWidth(button->caption, extent.cx);
    m_buttons.push_back(std::move(button));
}

LRESULT CHeader::OnDestroy(WindowMessage&)
{
    return 0;
}

LRESULT CHeader::OnSize(WindowMessage& msg)
{
    LayOutButtons(m_buttons, msg.Width());
    msg.handled = false;
    return 0;
}

int CHeader::HitTest(POINT point) const
{
    for (size_t i = 0; i < m_buttons.size(); ++i)
        if (::PtInRect(&m_buttons[i]->rect, point))
            return static_cast<int>(i);
    return -1;
}

LRESULT CHeader::OnMouseMove(WindowMessage& msg)
{
    const int hot = HitTest(msg.Point());
    if (hot != m_hot) {
        m_hot = hot;
        SetDirty();
        for (const auto& button : m_buttons)
            InvalidateRect(&button->rect, TRUE);
        if (m_hot >= 0)
            ::SetCursor(::LoadCursorW(nullptr, IDC_HAND));
    }
    msg.handled = false;
    return 0;
}

LRESULT CHeader::OnLeftButtonDown(WindowMessage& msg)
{
    m_hot = HitTest(msg.Point());
    if (m_hot >= 0)
        ShowMenu(m_hot);
    return 0;
}

LRESULT CHeader::OnSetCursor(WindowMessage&)
{
    ::SetCursor(::LoadCursorW(nullptr, m_hot >= 0 ? IDC_HAND : IDC_ARROW));
    return TRUE;
}

void CHeader::OnMouseLeave()
{
    m_hot = -1;
    SetDirty();
    Invalidate(FALSE);
}

void CHeader::ShowMenu(int index)
{
    if (index < 0 || index >= GetButtonCount())
        return;
    const HeaderButton& button = *m_buttons[static_cast<size_t>(index)];
    POINT corner{button.rect.left, button.rect.bottom};
    ClientToScreen(&corner);
    ::TrackPopupMenu(button.menu, TPM_LEFTBUTTON, corner.x, corner.y, 0, GetParent(), nullptr);
}

void CHeader::CheckMenuItem(int index, UINT commandId, bool checked)
{
    if (index < 0 || index >= GetButtonCount())
        return;
    ::CheckMenuItem(m_buttons[static_cast<size_t>(index)]->menu, commandId,
                    MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
}

void CHeader::DoPaint(HDC dc, const RECT& client)
{
    if (m_background != nullptr) {
        const int w = m_background->GetWidth();
        const int h = m_background->GetHeight();
        m_background->Draw(dc, 0, 0, w - PictureEnd, h, 0, 0, w - PictureEnd, h);
        // Wider than needed: the right end is drawn over its end.
        m_background->Draw(dc, w - PictureEnd, 0, client.right - PictureEnd, h, w - PictureEnd, 0, 1, h);
        m_background->Draw(dc, client.right - PictureEnd, 0, PictureEnd, h, w - PictureEnd, 0, PictureEnd, h);
    }
    if (m_emblem != nullptr)
        m_emblem->Draw(dc, 314, 0);

    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, CaptionColor);
    const CImage* arrow = KV::Skin::GetImage("menu_down");
    for (size_t i = 0; i < m_buttons.size(); ++i) {
        const HeaderButton& button = *m_buttons[i];
        const KV::Font* font = static_cast<int>(i) == m_hot ? KV::Skin::GetFont("menu_u") : KV::Skin::GetFont("menu");
        CSelectObject selectFont(dc, font != nullptr ? font->GetHandle() : nullptr);
        RECT rect = button.rect;
        ::DrawTextW(dc, button.caption.c_str(), static_cast<int>(button.caption.size()), &rect,
                    DT_SINGLELINE | DT_VCENTER);
        if (arrow != nullptr)
            arrow->Draw(dc, button.rect.right - 16, button.rect.top + 2);
    }
}
