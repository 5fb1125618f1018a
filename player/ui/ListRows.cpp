#include "player/ui/ListRows.h"

#include "foundation/Skin.h"
#include "framework/Controls.h"
#include "framework/GdiHelpers.h"

void ListRowSkin::Load()
{
    nameFont = KV::Skin::GetFont("channelname");
    infoFont = KV::Skin::GetFont("channelinfo");
    gridLine = KV::Skin::GetImage("channelgridline");
}

void DrawRowImage(HDC dc, const CImage* image, int x, int y)
{
    if (image != nullptr)
        image->Draw(dc, x, y);
}

void DrawRowText(HDC dc, const KV::Font* font, const std::wstring& text, RECT rect, UINT format)
{
    CSelectObject select(dc, font != nullptr ? font->GetHandle() : nullptr);
    ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rect, DT_SINGLELINE | format);
}

bool PaintRowBackground(const DRAWITEMSTRUCT& item, const CImage* gridLine, int gridLineX)
{
    HDC dc = item.hDC;
    const RECT& rc = item.rcItem;
    if (item.itemID == static_cast<UINT>(-1)) {
        ::FillRect(dc, &rc, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
        return false;
    }
    if (item.itemState & ODS_SELECTED) {
        const RECT band{rc.left, rc.top + 1, rc.right, rc.bottom - 2};
        ::FillRect(dc, &band, static_cast<HBRUSH>(::GetStockObject(LTGRAY_BRUSH)));
    } else {
        ::FillRect(dc, &rc, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
    }
    DrawRowImage(dc, gridLine, gridLineX, rc.bottom - 1);
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, ListRowTextColor);
    return true;
}

bool SelectClickedItem(HWND list, POINT client, int& index, POINT& screen)
{
    CListBox box(list);
    bool outside = true;
    index = box.ItemFromPoint(client, outside);
    if (outside)
        return false;
    box.SetCurSel(index);
    screen = client;
    ::ClientToScreen(list, &screen);
    return true;
}
