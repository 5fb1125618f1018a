#include "player/ui/FilterComboBoxes.h"

#include "framework/Image.h"
#include "player/catalogue/ChannelList.h"

#include <string>

BOOL CFilterComboBox::SubclassWindow(HWND combo)
{
    if (!CWindowImpl<CFilterComboBox, CComboBox>::SubclassWindow(combo))
        return FALSE;
    SetItemHeight(0, ItemHeight);
    return TRUE;
}

void* CFilterComboBox::GetSelectedData() const
{
    const int selected = GetCurSel();
    if (selected < 0)
        return nullptr;
    return GetItemDataPtr(selected);
}

LRESULT CFilterComboBox::OnMeasureItem(WindowMessage& msg)
{
    // The sizes set at attachment stand.
    (void)msg;
    return TRUE;
}

LRESULT CFilterComboBox::OnDrawItem(WindowMessage& msg)
{
    const DRAWITEMSTRUCT& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(msg.lParam);
    HDC dc = item.hDC;
    const RECT& rc = item.rcItem;
    const int stock = (item.itemState & ODS_SELECTED) ? LTGRAY_BRUSH : WHITE_BRUSH;
    ::FillRect(dc, &rc, static_cast<HBRUSH>(::GetStockObject(stock)));
    ::SetBkMode(dc, TRANSPARENT);
    if (item.itemID == static_cast<UINT>(-1))
        return TRUE;

    std::wstring text;
    void* data = reinterpret_cast<void*>(item.itemData);
    if (m_kind == Kind::TvRadio) {
        text = GetLBText(static_cast<int>(item.itemID));
    } else if (data == nullptr) {
        text = GetLBText(0);
    } else if (m_kind == Kind::Country) {
        const CCountry* country = static_cast<const CCountry*>(data);
        if (const CImage* flag = country->GetFlag())
            flag->Draw(dc, 2, rc.top + 4);
        text = country->GetLabel();
    } else {
        text = static_cast<const CCategory*>(data)->GetLabel();
    }
    RECT textRect{rc.left + 24, rc.top, rc.right, rc.bottom};
    ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &textRect, DT_SINGLELINE | DT_VCENTER);
    return TRUE;
}
