// CVolumeCtrl: a track bar painted from the skin ("volume_bg" under a
// "volume_thumb" at the thumb's place). Range, position, dragging and the
// owner's notifications stay those of the standard track bar.
#pragma once

#include "framework/Controls.h"
#include "framework/WindowImpl.h"

class CVolumeCtrl : public CWindowImpl<CVolumeCtrl, CTrackBarCtrl> {
public:
    // FALSE when the window cannot be subclassed.
    BOOL SubclassWindow(HWND trackBar);

    MESSAGE_MAP_BEGIN(CVolumeCtrl)
        ON_MESSAGE(WM_PAINT, OnPaint)
        ON_MESSAGE(WM_SETCURSOR, OnSetCursor)
    MESSAGE_MAP_END()

private:
    LRESULT OnPaint(WindowMessage& msg);
    LRESULT OnSetCursor(WindowMessage& msg);
};
