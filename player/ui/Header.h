#pragma once
// CHeader: the 48-pixel bar across the top of the main window. It paints
// the skin's header picture and carries the main menu as two text buttons
// at its right end, "menu_tools" and "menu_help", each dropping down one
// popup of the header menu; the chosen commands go to the main window.

#include "player/ui/DBufferedWnd.h"
#include "player/ui/MenuResource.h"

#include <memory>
#include <string>
#include <vector>

class CImage;

struct HeaderButton {
    std::wstring caption;
    int width = 0;
    HMENU menu = nullptr;  // owned by the header's menu
    RECT rect{};
};

class CHeader : public CDBufferedWnd {
public:
    static constexpr int Height = 48;
    enum ButtonIndex { ToolsButton = 0, HelpButton = 1 };

    CHeader() = default;

    // Drops down the button's popup under it; the command goes to the
    // header's parent.
    void ShowMenu(int index);
    void CheckMenuItem(int index, UINT commandId, bool checked);

    int GetButtonCount() const { return static_cast<int>(m_buttons.size()); }
    const HeaderButton& GetButton(int index) const { return *m_buttons[static_cast<size_t>(index)]; }
    int GetHotIndex() const { return m_hot; }
    // The button under a client point, or -1.
    int HitTest(POINT point) const;

    // Right-aligned 16 pixels from the right edge, 10 pixels apart, in the
    // band from y 32 to 48.
    static void LayOutButtons(std::vector<std::unique_ptr<HeaderButton>>& buttons, int clientRight);
    // Caption width plus 14, less 6 when the caption holds an ampersand.
    static int ButtonWidth(const std::wstring& caption, int textWidth);

    MESSAGE_MAP_BEGIN(CHeader)
        ON_MESSAGE(WM_CREATE, OnCreate)
        ON_MESSAGE(WM_DESTROY, OnDestroy)
        ON_MESSAGE(WM_SIZE, OnSize)
        ON_MESSAGE(WM_MOUSEMOVE, OnMouseMove)
        ON_MESSAGE(WM_LBUTTONDOWN, OnLeftButtonDown)
        ON_MESSAGE(WM_SETCURSOR, OnSetCursor)
        CHAIN_MESSAGE_MAP(CDBufferedWnd)
    MESSAGE_MAP_END()

    void OnMouseLeave() override;
    void OnMouseHover() override {}
    void DoPaint(HDC dc, const RECT& client) override;

private:
    LRESULT OnCreate(WindowMessage& msg);
    LRESULT OnDestroy(WindowMessage& msg);
    LRESULT OnSize(WindowMessage& msg);
    LRESULT OnMouseMove(WindowMessage& msg);
    LRESULT OnLeftButtonDown(WindowMessage& msg);
    LRESULT OnSetCursor(WindowMessage& msg);

    void AddButton(HDC dc, const char* textId, int subMenu);

    std::vector<std::unique_ptr<HeaderButton>> m_buttons;
    int m_hot = -1;
    CMenuResource m_menu;
    const CImage* m_background = nullptr;
    const CImage* m_emblem = nullptr;
};
