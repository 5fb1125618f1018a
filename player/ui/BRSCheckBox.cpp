#include "player/ui/BRSCheckBox.h"

#include "foundation/Skin.h"
#include "framework/GdiHelpers.h"

CBRSCheckBox::CBRSCheckBox()
{
    m_unchecked = KV::Skin::GetImage("check_box_0");
    m_checkedImage = KV::Skin::GetImage("check_box_1");
}

void CBRSCheckBox::SetCheck(bool checked)
{
    const BYTE value = checked ? 1 : 0;
    if (value == m_checked)
        return;
    m_checked = value;
    if (m_hWnd != nullptr)
        InvalidateRect(nullptr, FALSE);
}

void CBRSCheckBox::DoPaint(const DRAWITEMSTRUCT& item)
{
    const RECT& rect = item.rcItem;
    CMemoryDC dc(item.hDC, rect);

    COLORREF color = KV::Skin::GetTextColor();
    if (IsHot() || (item.itemState & ODS_FOCUS))
        color = RGB(255, 255, 255);
    if (item.itemState & ODS_DISABLED)
        color = KV::Skin::GetColor("check_2");

    ::FillRect(dc, &rect, KV::Skin::GetBkBrush());

    if (const CImage* image = m_checked ? m_checkedImage : m_unchecked)
        image->Draw(dc, 0, 0);

    HGDIOBJ previousFont = nullptr;
    if (KV::Font* font = KV::Skin::GetFont("menu"))
        previousFont = ::SelectObject(dc, font->GetHandle());
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, color);
    RECT textRect = rect;
    textRect.left += 20;
    textRect.bottom = 16;
    const std::wstring text = GetWindowText();
    ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &textRect, DT_SINGLELINE | DT_VCENTER);
    if (previousFont != nullptr)
        ::SelectObject(dc, previousFont);
}

LRESULT CBRSCheckBox::OnReflectedCommand(WindowMessage&)
{
    SetCheck(m_checked == 0);
    return 0;
}
