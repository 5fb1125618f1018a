#pragma once
// CBannerDlg: the splash window, shown on a thread of its own from just
// before the main window is created until the main window has finished its
// set-up. It shows the skin's banner pictures, the version and the
// copyright line.

#include "player/resources/Resource.h"
#include "player/ui/SkinnedDialogImpl.h"

class CBannerDlg : public CSkinnedDialogImpl<CBannerDlg> {
public:
    enum { IDD = IDD_BANNER };

    MESSAGE_MAP_BEGIN(CBannerDlg)
        ON_MESSAGE(WM_INITDIALOG, OnInitDialog)
        ON_MESSAGE(WM_PAINT, OnPaint)
        CHAIN_MESSAGE_MAP(CSkinnedDialogImpl<CBannerDlg>)
    MESSAGE_MAP_END()

private:
    LRESULT OnInitDialog(WindowMessage& msg);
    LRESULT OnPaint(WindowMessage& msg);
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
