// Control wrappers and the bitmap button, on the controls of a real dialog.
#include "FrameworkTestSupport.h"
#include "TestResources.h"

#include "framework/BitmapButton.h"
#include "framework/Controls.h"
#include "framework/Dialog.h"
#include "framework/GdiHelpers.h"
#include "framework/ImageList.h"

#include <gtest/gtest.h>

namespace {

class CControlsDlg : public CDialogImpl<CControlsDlg> {
public:
    enum { IDD = IDD_CONTROLS_DIALOG };
    MESSAGE_MAP_BEGIN(CControlsDlg)
        ON_COMMAND_CODE(IDC_BITMAP_BUTTON, BN_CLICKED, OnClicked)
        ON_COMMAND_CODE(IDC_BITMAP_BUTTON, BN_DOUBLECLICKED, OnDoubleClicked)
        REFLECT_NOTIFICATIONS()
    MESSAGE_MAP_END()
    int clicks = 0;
    int doubleClicks = 0;

private:
    LRESULT OnClicked(WindowMessage&)
    {
        ++clicks;
        return 0;
    }
    LRESULT OnDoubleClicked(WindowMessage&)
    {
        ++doubleClicks;
        return 0;
    }
};

class Controls : public ::testing::Test {
protected:
    void SetUp() override
    {
        InitControls();
        ASSERT_NE(dlg.Create(nullptr), nullptr);
    }
    void TearDown() override { dlg.DestroyWindow(); }

    CControlsDlg dlg;
};

TEST_F(Controls, ListBoxWrapper)
{
    CListBox list(dlg.GetDlgItem(IDC_LIST));
    int values[2] = {10, 20};
    EXPECT_EQ(list.AddString(L"alpha"), 0);
    EXPECT_EQ(list.AddString(L"gamma"), 1);
    EXPECT_EQ(list.InsertString(1, L"beta"), 1);
    list.SetItemDataPtr(0, &values[0]);
    list.SetItemDataPtr(2, &values[1]);
    EXPECT_EQ(list.GetCount(), 3);
    EXPECT_EQ(list.GetText(1), L"beta");
    EXPECT_EQ(list.GetItemDataPtr(2), &values[1]);
    EXPECT_EQ(list.GetItemDataPtr(7), nullptr);
    EXPECT_EQ(list.GetText(7), L"");

    EXPECT_EQ(list.SetCurSel(2), 2);
    EXPECT_EQ(list.GetCurSel(), 2);
    RECT item{};
    ASSERT_TRUE(list.GetItemRect(1, &item));
    bool outside = true;
    EXPECT_EQ(list.ItemFromPoint(POINT{item.left + 2, item.top + 1}, outside), 1);
    EXPECT_FALSE(outside);

    EXPECT_EQ(list.DeleteString(0), 2);
    EXPECT_EQ(list.GetItemDataPtr(1), &values[1]);
    list.ResetContent();
    EXPECT_EQ(list.GetCount(), 0);
    EXPECT_EQ(list.GetCurSel(), LB_ERR);
}

TEST_F(Controls, ComboBoxWrapper)
{
    CComboBox combo(dlg.GetDlgItem(IDC_COMBO));
    int value = 5;
    combo.AddString(L"TV");
    combo.AddString(L"Radio");
    EXPECT_EQ(combo.InsertString(0, L"All"), 0);
    combo.SetItemDataPtr(2, &value);
    EXPECT_EQ(combo.GetCount(), 3);
    EXPECT_EQ(combo.GetLBText(0), L"All");
    EXPECT_EQ(combo.GetItemDataPtr(2), &value);
    EXPECT_EQ(combo.GetItemDataPtr(0), nullptr);
    EXPECT_EQ(combo.SetCurSel(1), 1);
    EXPECT_EQ(combo.GetCurSel(), 1);

    combo.SetItemHeight(0, 18);
    EXPECT_EQ(combo.GetItemHeight(0), 18);
    combo.SetExtendedUI(TRUE);
    EXPECT_TRUE(combo.GetExtendedUI());
}

TEST_F(Controls, TrackBarWrapper)
{
    CTrackBarCtrl slider(dlg.GetDlgItem(IDC_TRACKBAR));
    slider.SetRange(0, 100, TRUE);
    slider.SetPageSize(5);
    slider.SetThumbLength(28);
    slider.SetPos(50);
    EXPECT_EQ(slider.GetRangeMin(), 0);
    EXPECT_EQ(slider.GetRangeMax(), 100);
    EXPECT_EQ(slider.GetPageSize(), 5);
    EXPECT_EQ(slider.GetThumbLength(), 28);
    EXPECT_EQ(slider.GetPos(), 50);
    slider.SetPos(150);
    EXPECT_EQ(slider.GetPos(), 100);  // kept in the range
    const RECT thumb = slider.GetThumbRect();
    EXPECT_GT(thumb.right, thumb.left);
}

// A solid 24-bit bitmap of one colour.
HBITMAP SolidBitmap(int cx, int cy, COLORREF colour)
{
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = cx;
    info.bmiHeader.biHeight = cy;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    void* bits = nullptr;
    HBITMAP bitmap = ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HDC dc = ::CreateCompatibleDC(nullptr);
    HGDIOBJ previous = ::SelectObject(dc, bitmap);
    RECT all{0, 0, cx, cy};
    CBrushHandle brush(::CreateSolidBrush(colour));
    ::FillRect(dc, &all, brush);
    ::SelectObject(dc, previous);
    ::DeleteDC(dc);
    return bitmap;
}

class BitmapButton : public Controls {
protected:
    static constexpr COLORREF kNormal = RGB(255, 0, 0);
    static constexpr COLORREF kHover = RGB(0, 255, 0);
    static constexpr COLORREF kPushed = RGB(0, 0, 255);

    void SetUp() override
    {
        Controls::SetUp();
        ASSERT_TRUE(images.Create(20, 12, ILC_COLOR24, 4, 4));
        for (COLORREF colour : {kNormal, kHover, kPushed}) {
            CBitmapHandle bitmap(SolidBitmap(20, 12, colour));
            images.Add(bitmap);
        }
    }

    // What the button draws for a state, read back from an off-screen DC.
    COLORREF DrawnColour(CBitmapButton& button, UINT state)
    {
        HDC screen = ::GetDC(nullptr);
        HDC dc = ::CreateCompatibleDC(screen);
        CBitmapHandle target(::CreateCompatibleBitmap(screen, 20, 12));
        ::ReleaseDC(nullptr, screen);
        HGDIOBJ previous = ::SelectObject(dc, target);
        DRAWITEMSTRUCT item{};
        item.CtlType = ODT_BUTTON;
        item.CtlID = IDC_BITMAP_BUTTON;
        item.itemAction = ODA_DRAWENTIRE;
        item.itemState = state;
        item.hwndItem = button;
        item.hDC = dc;
        item.rcItem = RECT{0, 0, 20, 12};
        button.SendMessage(OCM_DRAWITEM, IDC_BITMAP_BUTTON, reinterpret_cast<LPARAM>(&item));
        const COLORREF colour = ::GetPixel(dc, 10, 6);
        ::SelectObject(dc, previous);
        ::DeleteDC(dc);
        return colour;
    }

    CImageList images;
};

TEST_F(BitmapButton, TakesTheSizeOfItsImagesAndDrawsEachState)
{
    CBitmapButton button(BMPBTN_HOVER | BMPBTN_AUTOSIZE);
    ASSERT_TRUE(button.SubclassWindow(dlg.GetDlgItem(IDC_BITMAP_BUTTON)));
    button.SetImageList(images);
    button.SetImages(0, 2, 1);  // normal, pushed, hover and focus; no disabled image
    EXPECT_EQ(button.GetButtonStyle() & BS_TYPEMASK, static_cast<UINT>(BS_OWNERDRAW));
    const RECT client = button.GetClientRect();
    EXPECT_EQ(client.right, 20);
    EXPECT_EQ(client.bottom, 12);

    struct Case {
        UINT state;
        COLORREF colour;
    };
    for (Case c : {Case{0, kNormal}, Case{ODS_FOCUS, kHover}, Case{ODS_SELECTED, kPushed},
                   Case{ODS_SELECTED | ODS_FOCUS, kPushed}, Case{ODS_DISABLED, kNormal},
                   Case{ODS_DISABLED | ODS_FOCUS, kNormal}}) {
        SCOPED_TRACE(c.state);
        EXPECT_EQ(DrawnColour(button, c.state), c.colour);
    }

    // On screen, through the dialog's reflection.
    dlg.ShowWindow(SW_SHOWNOACTIVATE);
    button.Invalidate();
    button.UpdateWindow();
    HDC screen = ::GetDC(button);
    EXPECT_EQ(::GetPixel(screen, 10, 6), kNormal);
    ::ReleaseDC(button, screen);
}

TEST_F(BitmapButton, HoverImageOnlyWithTheHoverStyle)
{
    for (DWORD style : {DWORD(BMPBTN_HOVER), DWORD(0)}) {
        SCOPED_TRACE(style);
        CBitmapButton button(style, images);
        ASSERT_TRUE(button.SubclassWindow(dlg.GetDlgItem(IDC_BITMAP_BUTTON)));
        button.SetImages(0, 2, 1);
        button.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(3, 3));
        EXPECT_EQ(button.IsHovering(), style != 0);
        EXPECT_EQ(DrawnColour(button, 0), style != 0 ? kHover : kNormal);
        button.SendMessage(WM_MOUSELEAVE);
        EXPECT_FALSE(button.IsHovering());
        EXPECT_EQ(DrawnColour(button, 0), kNormal);
        button.UnsubclassWindow();
    }
}

TEST_F(BitmapButton, ToolTipShowsTheLatestText)
{
    CBitmapButton button;
    button.SetToolTipText(L"Play");  // before the window: applied when subclassing
    ASSERT_TRUE(button.SubclassWindow(dlg.GetDlgItem(IDC_BITMAP_BUTTON)));
    HWND tip = button.GetToolTip();
    ASSERT_NE(tip, nullptr);
    auto text = [&] {
        wchar_t buffer[80] = {};
        TOOLINFOW tool{};
        tool.cbSize = TTTOOLINFOW_V2_SIZE;
        tool.hwnd = dlg;
        tool.uId = reinterpret_cast<UINT_PTR>(button.m_hWnd);
        tool.lpszText = buffer;
        ::SendMessageW(tip, TTM_GETTEXTW, 80, reinterpret_cast<LPARAM>(&tool));
        return std::wstring(buffer);
    };
    EXPECT_EQ(text(), L"Play");
    button.SetToolTipText(L"Stop");
    EXPECT_EQ(text(), L"Stop");
    EXPECT_EQ(::SendMessageW(tip, TTM_GETTOOLCOUNT, 0, 0), 1);
}

TEST_F(BitmapButton, QuickSecondClickIsAClick)
{
    CBitmapButton button(BMPBTN_AUTOSIZE, images);
    ASSERT_TRUE(button.SubclassWindow(dlg.GetDlgItem(IDC_BITMAP_BUTTON)));
    const LPARAM inside = MAKELPARAM(5, 5);
    button.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, inside);
    button.SendMessage(WM_LBUTTONUP, 0, inside);
    button.SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, inside);
    button.SendMessage(WM_LBUTTONUP, 0, inside);
    EXPECT_EQ(dlg.clicks, 2);
    EXPECT_EQ(dlg.doubleClicks, 0);
}

}  // namespace
