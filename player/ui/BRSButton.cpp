#include "player/ui/BRSButton.h"

#include "foundation/Lang.h"
#include "foundation/Skin.h"
#include "framework/GdiHelpers.h"

CBRSButton::CBRSButton()
{
    m_images[Normal] = KV::Skin::GetImage("b0");
    m_images[Hot] = KV::Skin::GetImage("b1");
    m_images[Pressed] = KV::Skin::GetImage("b2");
    m_colors[Normal] = KV::Skin::GetColor("tab_0");
    m_colors[Hot] = KV::Skin::GetColor("tab_1");
    m_colors[Pressed] = KV::Skin::GetColor("tab_2");
    // No caller disables a skinned button today; should one, its text takes
    // the skin's disabled-control colour.
    m_colors[Disabled] = KV::Skin::GetColor("check_2");
    if (KV::Font* font = KV::Skin::GetFont("menu"))
        m_font = font->GetHandle();
}

BOOL CBRSButton::SubclassWindow(HWND button)
{
    if (!CSkinnedButton::SubclassWindow(button))
        return FALSE;
    if (const CImage* normal = m_images[Normal]) {
        const int width = m_sizingMode == NaturalSize ? normal->GetWidth() : GetClientRect().right;
        SetWindowPos(nullptr, 0, 0, width, normal->GetHeight(), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    return TRUE;
}

void CBRSButton::SetText(const std::string& languageId)
{
    SetWindowText(KV::Lang::GetText(languageId).c_str());
}

void CBRSButton::DrawImage(HDC dc, const CImage& image, const RECT& rect) const
{
    const int w = image.GetWidth();
    const int h = image.GetHeight();
    if (m_sizingMode == NaturalSize) {
        image.Draw(dc, rect.left, rect.top);
        return;
    }
    // Left half, the middle column stretched, right half from column w / 2:
    // an odd image's last column is never drawn.
    const int half = w / 2;
    image.Draw(dc, rect.left, rect.top, half, h, 0, 0, half, h);
    if (rect.right - w > 0)
        image.Draw(dc, rect.left + half, rect.top, rect.right - w, h, half, 0, 1, h);
    image.Draw(dc, rect.right - half, rect.top, half, h, half, 0, half, h);
}

void CBRSButton::DoPaint(const DRAWITEMSTRUCT& item)
{
    const RECT& rect = item.rcItem;
    CMemoryDC dc(item.hDC, rect);

    int state = Normal;
    if (IsHot() || (item.itemState & ODS_FOCUS))
        state = Hot;
    if (item.itemState & ODS_SELECTED)
        state = Pressed;
    if (item.itemState & ODS_DISABLED)
        state = Disabled;

    ::SetBkMode(dc, TRANSPARENT);
    CBrushHandle backdrop(::CreateSolidBrush(RGB(255, 0, 0)));
    ::FillRect(dc, &rect, backdrop);

    if (const CImage* image = m_images[state])
        DrawImage(dc, *image, rect);

    const std::wstring text = GetWindowText();
    if (!text.empty()) {
        HGDIOBJ previousFont = nullptr;
        if (m_font != nullptr) {
            if (KV::Font* font = KV::Skin::GetFont("button"))
                previousFont = ::SelectObject(dc, font->GetHandle());
        }
        ::SetTextColor(dc, m_colors[state]);
        RECT textRect = rect;
        ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &textRect,
                    DT_CENTER | DT_VCENTER | DT_WORDBREAK | DT_SINGLELINE);
        if (previousFont != nullptr)
            ::SelectObject(dc, previousFont);
    }
}
