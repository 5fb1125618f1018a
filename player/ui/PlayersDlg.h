// CPlayersDlg: the player area of the main window. The back-ends' windows
// fill it above the control bar, which it owns; it draws the black room
// with the skin's frame around it.
#pragma once

#include "framework/Dialog.h"
#include "player/resources/Resource.h"
#include "player/ui/ControlsDlg.h"

class CPlayersDlg : public CDialogImpl<CPlayersDlg> {
public:
    enum { IDD = IDD_PLAYERS };

    // The control bar's height.
    static constexpr int ControlsHeight = 90;

    CControlsDlg& GetControls() { return m_controls; }
    void EnableControls(bool enable) { m_controls.EnableControls(enable); }

    MESSAGE_MAP_BEGIN(CPlayersDlg)
        ON_MESSAGE(WM_INITDIALOG, OnInitDialog)
        ON_MESSAGE(WM_SIZE, OnSize)
        ON_MESSAGE(WM_PAINT, OnPaint)
        ON_MESSAGE(WM_ERASEBKGND, OnEraseBackground)
        ON_MESSAGE(WM_CTLCOLORDLG, OnColorDialog)
    MESSAGE_MAP_END()

private:
    LRESULT OnInitDialog(WindowMessage& msg);
    LRESULT OnSize(WindowMessage& msg);
    LRESULT OnPaint(WindowMessage& msg);
    LRESULT OnEraseBackground(WindowMessage& msg);
    LRESULT OnColorDialog(WindowMessage& msg);

    CControlsDlg m_controls;
};
