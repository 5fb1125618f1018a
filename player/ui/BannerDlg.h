#pragma once
// CBannerDlg: the splash window, shown on a thread of its own from just
// before the main window is created until the main window has finished its
// set-up. It shows the skin's banner pictures, the version and the
// copyright line.

#include "framework/Dialog.h"
#include "player/resources/Resource.h"

class CBannerDlg : public CDialogImpl<CBannerDlg> {
public:
    enum { IDD = IDD_BANNER };

    MESSAGE_MAP_BEGIN(CBannerDlg)
        ON_MESSAGE(WM_INITDIALOG, OnInitDialog)
        ON_MESSAGE(WM_PAINT, OnPaint)
        ON_MESSAGE(WM_CTLCOLORSTATIC, OnColorStatic)
        ON_MESSAGE(WM_CTLCOLORDLG, OnColorDialog)
    MESSAGE_MAP_END()

private:
    LRESULT OnInitDialog(WindowMessage& msg);
    LRESULT OnPaint(WindowMessage& msg);
    LRESULT OnColorStatic(WindowMessage& msg);
    LRESULT OnColorDialog(WindowMessage& msg);
};

// Starts the splash thread, which runs a CBannerDlg modally.
void ShowBanner();
// Ends the splash with the result 1. A splash that has not shown itself yet
// ends as soon as it does.
void CloseBanner();
// The splash that is showing, or null.
HWND GetBannerWindow();
// Whether a splash thread started by ShowBanner has not ended yet.
bool IsBannerThreadRunning();
