#include "player/ui/DialogChrome.h"

#include "foundation/Skin.h"
#include "framework/GdiHelpers.h"

void PaintDialogHeader(HDC dc, const RECT& client)
{
    if (const CImage* header = KV::Skin::GetImage("msgbox_header")) {
        const int w = header->GetWidth();
        const int h = header->GetHeight();
        if (w > 4) {
            header->Draw(dc, 0, 0, w - 4, h, 0, 0, w - 4, h);
            const int middle = client.right - 4 - (w - 4);
            if (middle > 0)
                header->Draw(dc, w - 4, 0, middle, h, w - 4, 0, 1, h);
            header->Draw(dc, client.right - 4, 0, 4, h, w - 4, 0, 4, h);
        } else {
            header->Draw(dc, 0, 0);
        }
        // The emblem belongs to the header strip: without it, none.
        if (const CImage* emblem = KV::Skin::GetImage("header_recorder_32"))
            emblem->Draw(dc, 210, 0);
    }
}

void PaintDialogFooter(HDC dc, const RECT& client)
{
    if (const CImage* footer = KV::Skin::GetImage("msgbox_footer")) {
        const int h = footer->GetHeight();
        footer->Draw(dc, client.left, client.bottom - h, client.right - client.left, h, 0, 0, footer->GetWidth(), h);
    }
}

LRESULT SkinnedDialogBrush()
{
    return reinterpret_cast<LRESULT>(KV::Skin::GetBkBrush());
}

void PaintFramedClient(HWND window, HGDIOBJ brush)
{
    CPaintDC paint(window);
    RECT client{};
    ::GetClientRect(window, &client);
    CSelectObject fill(paint, brush);
    CSelectObject pen(paint, KV::Skin::GetFramePen());
    ::Rectangle(paint, client.left, client.top, client.right, client.bottom);
}

LRESULT SkinnedStaticBrush(HDC dc)
{
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, KV::Skin::GetTextColor());
    return reinterpret_cast<LRESULT>(KV::Skin::GetBkBrush());
}

LRESULT SkinnedLinkBrush(HDC dc)
{
    LOGBRUSH background{};
    ::GetObjectW(KV::Skin::GetBkBrush(), sizeof(background), &background);
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, KV::Skin::GetTextColor());
    ::SetDCBrushColor(dc, background.lbColor);
    return reinterpret_cast<LRESULT>(::GetStockObject(DC_BRUSH));
}
