// CTab: a strip of tabs, each of which shows its page windows while it is
// selected and hides and disables them otherwise. Tabs share the strip's
// width by their natural widths, shrinking proportionally when the strip is
// too narrow. With the keyboard focus on the strip, Left and Right move the
// selection (through the thread's message filter); Up and Down are kept
// from the strip. A strip that is not plain shows a count under each
// caption and remembers its selection in the setting "channels_tab".
#pragma once

#include "framework/MessageLoop.h"
#include "player/ui/DBufferedWnd.h"

#include <memory>
#include <string>
#include <vector>

struct TabItem {
    std::wstring caption;
    int naturalWidth = 0;
    std::vector<HWND> pages;
    RECT rect{};
    int count = 0;
};

class CTab : public CDBufferedWnd, public CMessageFilter {
public:
    static constexpr DWORD WindowStyle = CDBufferedWnd::WindowStyle | WS_TABSTOP;

    explicit CTab(bool plain);
    ~CTab() override;

    HWND Create(HWND parent, const RECT* rect = nullptr, DWORD style = WindowStyle, UINT id = 0)
    {
        return CDBufferedWnd::Create(parent, rect, style, id);
    }

    // Appends a tab (not selected); a page window is hidden and disabled.
    void AddTab(const std::wstring& caption, int naturalWidth, HWND page);
    // Adds a page window to the tab at index (its visibility is left alone).
    void AddPage(int index, HWND page);
    // Shows the tab's pages and hides the previous tab's; an index out of
    // range selects tab 0.
    void SelectTab(int index);
    // The count under the caption; repaints that tab only.
    void SetCount(int index, int count);

    int GetSelectedIndex() const { return m_selected; }
    int GetHotIndex() const { return m_hot; }
    int GetTabCount() const { return static_cast<int>(m_tabs.size()); }
    // The tab's rectangle in client coordinates, empty for a bad index.
    RECT GetTabRect(int index) const;

    // Skin images <prefix>0, <prefix>1, <prefix>2 and <prefix>bg.
    void LoadImages(const char* prefix);

    BOOL PreTranslateMessage(MSG* msg) override;

    MESSAGE_MAP_BEGIN(CTab)
        ON_MESSAGE(WM_CREATE, OnCreate)
        ON_MESSAGE(WM_DESTROY, OnDestroy)
        ON_MESSAGE(WM_SIZE, OnSize)
        ON_MESSAGE(WM_MOUSEMOVE, OnMouseMove)
        ON_MESSAGE(WM_LBUTTONDOWN, OnLeftButtonDown)
        ON_MESSAGE(WM_SETCURSOR, OnSetCursor)
        ON_MESSAGE(WM_KEYDOWN, OnKeyDown)
        CHAIN_MESSAGE_MAP(CDBufferedWnd)
    MESSAGE_MAP_END()

    void OnMouseLeave() override;
    void DoPaint(HDC dc, const RECT& client) override;

private:
    LRESULT OnCreate(WindowMessage& msg);
    LRESULT OnDestroy(WindowMessage& msg);
    LRESULT OnSize(WindowMessage& msg);
    LRESULT OnMouseMove(WindowMessage& msg);
    LRESULT OnLeftButtonDown(WindowMessage& msg);
    LRESULT OnSetCursor(WindowMessage& msg);
    LRESULT OnKeyDown(WindowMessage& msg);

    void Layout();
    void DrawTab(HDC dc, int index) const;
    static void ShowPages(const TabItem& tab, bool show);

    enum { TabImageCount = 3 };

    std::vector<std::unique_ptr<TabItem>> m_tabs;
    int m_selected = -1;
    int m_hot = -1;
    CImage* m_tabImages[TabImageCount] = {};
    CImage* m_background = nullptr;
    HFONT m_font = nullptr;
    COLORREF m_normalColor;
    COLORREF m_hotColor;
    COLORREF m_focusColor;
    int m_indent = 0;
    BYTE m_plain;
    bool m_filterAdded = false;
};
