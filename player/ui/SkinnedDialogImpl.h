#pragma once
// CSkinnedDialogImpl<T>: a dialog in the skin's colours: its background and
// its static texts (transparent, in the skin's text colour) take the skin's
// brush. T chains this map into its own (CHAIN_MESSAGE_MAP).

#include "framework/Dialog.h"
#include "player/ui/DialogChrome.h"

template <class T>
class CSkinnedDialogImpl : public CDialogImpl<T> {
public:
    MESSAGE_MAP_BEGIN(CSkinnedDialogImpl)
        ON_MESSAGE(WM_CTLCOLORDLG, OnColorDialog)
        ON_MESSAGE(WM_CTLCOLORSTATIC, OnColorStatic)
    MESSAGE_MAP_END()

private:
    LRESULT OnColorDialog(WindowMessage&) { return SkinnedDialogBrush(); }
    LRESULT OnColorStatic(WindowMessage& msg) { return SkinnedStaticBrush(reinterpret_cast<HDC>(msg.wParam)); }
};
