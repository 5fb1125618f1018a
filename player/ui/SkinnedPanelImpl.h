#pragma once
// CSkinnedPanelImpl<T>: a panel of the main window (a child dialog) in the
// skin's look: the skin's background framed with its pen, painted in one
// go (no separate erase, which would flicker), and static texts in the
// skin's colours. T chains this map into its own (CHAIN_MESSAGE_MAP).

#include "foundation/Skin.h"
#include "framework/Dialog.h"
#include "player/ui/DialogChrome.h"

template <class T>
class CSkinnedPanelImpl : public CDialogImpl<T> {
public:
    MESSAGE_MAP_BEGIN(CSkinnedPanelImpl)
        ON_MESSAGE(WM_PAINT, OnPaint)
        ON_MESSAGE(WM_ERASEBKGND, OnEraseBackground)
        ON_MESSAGE(WM_CTLCOLORSTATIC, OnColorStatic)
    MESSAGE_MAP_END()

private:
    LRESULT OnPaint(WindowMessage&)
    {
        PaintFramedClient(this->m_hWnd, KV::Skin::GetBkBrush());
        return 0;
    }
    LRESULT OnEraseBackground(WindowMessage&) { return 1; }
    LRESULT OnColorStatic(WindowMessage& msg) { return SkinnedStaticBrush(reinterpret_cast<HDC>(msg.wParam)); }
};
