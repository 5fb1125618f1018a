#include "player/ui/VolumeCtrl.h"

#include "foundation/Skin.h"
#include "framework/GdiHelpers.h"

BOOL CVolumeCtrl::SubclassWindow(HWND trackBar)
{
    return CWindowImpl<CVolumeCtrl, CTrackBarCtrl>::SubclassWindow(trackBar);
}

LRESULT CVolumeCtrl::OnPaint(WindowMessage&)
{
    CPaintDC paint(m_hWnd);
    const RECT client = GetClientRect();
    CMemoryDC dc(paint, client);
    if (const CImage* background = KV::Skin::GetImage("volume_bg")) {
        background->Draw(dc, client.left, client.top, client.right - client.left, client.bottom - client.top, 0, 0,
                         background->GetWidth(), background->GetHeight());
    }
    const RECT thumb = GetThumbRect();
    if (const CImage* image = KV::Skin::GetImage("volume_thumb"))
        image->Draw(dc, (thumb.left + thumb.right) / 2 - image->GetWidth() / 2, thumb.top - 1);
    return 0;
}

LRESULT CVolumeCtrl::OnSetCursor(WindowMessage&)
{
    ::SetCursor(::LoadCursorW(nullptr, IDC_HAND));
    return TRUE;
}
