// CBRSButton: a skinned push button. It subclasses a dialog's button, makes
// it owner-drawn and paints it from the skin's button images (normal, hot,
// pressed, disabled) with the text colour of the state. The parent must
// reflect notifications (REFLECT_NOTIFICATIONS) so that the button gets its
// WM_DRAWITEM. Clicks reach the parent as from any button.
#pragma once

#include "framework/Image.h"
#include "player/ui/SkinnedButton.h"

#include <string>

class CBRSButton : public CSkinnedButton {
public:
    enum SizingMode {
        NaturalSize = 0,  // the image as it is; the button takes its size
        ThreeSlice = 1,   // edges kept, middle column stretched to the width
    };
    enum State { Normal = 0, Hot = 1, Pressed = 2, Disabled = 3, StateCount = 4 };

    CBRSButton();
    ~CBRSButton() override = default;

    // Subclasses the button, makes it owner-drawn and, when the normal image
    // exists, sizes it to the image (the width too in NaturalSize mode).
    BOOL SubclassWindow(HWND button);
    // The button's text from the language pack.
    void SetText(const std::string& languageId);

    void SetSizingMode(SizingMode mode) { m_sizingMode = mode; }

    void DoPaint(const DRAWITEMSTRUCT& item) override;

private:
    void DrawImage(HDC dc, const CImage& image, const RECT& rect) const;

    CImage* m_images[StateCount] = {};
    COLORREF m_colors[StateCount] = {};
    HFONT m_font = nullptr;
    int m_sizingMode = ThreeSlice;
};
