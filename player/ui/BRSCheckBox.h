// CBRSCheckBox: a skinned check box. It subclasses a dialog's check box,
// makes it owner-drawn and keeps the checked state itself: every command the
// button reflects back (a click) toggles it. The parent must reflect
// notifications; it still gets its WM_COMMAND first.
#pragma once

#include "framework/Image.h"
#include "player/ui/SkinnedButton.h"

class CBRSCheckBox : public CSkinnedButton {
public:
    CBRSCheckBox();
    ~CBRSCheckBox() override = default;

    // Stores the value and repaints; an equal value does nothing.
    void SetCheck(bool checked);
    bool GetCheck() const { return m_checked != 0; }

    MESSAGE_MAP_BEGIN(CBRSCheckBox)
        ON_MESSAGE(OCM_COMMAND, OnReflectedCommand)
        CHAIN_MESSAGE_MAP(CSkinnedButton)
    MESSAGE_MAP_END()

    void DoPaint(const DRAWITEMSTRUCT& item) override;

private:
    LRESULT OnReflectedCommand(WindowMessage& msg);

    BYTE m_checked = 0;
    CImage* m_unchecked = nullptr;
    CImage* m_checkedImage = nullptr;
};
