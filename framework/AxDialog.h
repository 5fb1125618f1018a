// CAxDialogImpl: a dialog whose template may hold ActiveX controls. A
// control is a CONTROL of the host class "BrisvaneAxHost" whose text names
// it, for example
//   CONTROL "{6BF52A52-394A-11d3-B153-00C04F79FAA6}", 501, "BrisvaneAxHost",
//           WS_CHILD | WS_VISIBLE, 7, 7, 200, 120
// and CAxWindow(GetDlgItem(501)).QueryControl(...) reaches it.
#pragma once

#include "framework/AxHost.h"
#include "framework/Dialog.h"

template <class T, class TBase = CWindow>
class CAxDialogImpl : public CDialogImpl<T, TBase> {
public:
    CAxDialogImpl() { AxWinInit(); }
};
