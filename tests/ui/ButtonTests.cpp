// The skinned push button and check box inside a dialog that reflects its
// notifications, as the player's dialogs do.
#include "foundation/Skin.h"
#include "framework/Dialog.h"
#include "player/ui/BRSButton.h"
#include "player/ui/BRSCheckBox.h"
#include "tests/ui/TestResources.h"
#include "tests/ui/UiTestSupport.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

using UiTest::Pixel;

class CKitDialog : public CDialogImpl<CKitDialog> {
public:
    enum { IDD = IDD_KIT_DIALOG };

    MESSAGE_MAP_BEGIN(CKitDialog)
        ON_MESSAGE(WM_INITDIALOG, OnInitDialog)
        ON_COMMAND(IDC_KIT_CHECK, OnCheckCommand)
        ON_COMMAND_CODE(IDC_KIT_BUTTON, BN_CLICKED, OnButtonClicked)
        REFLECT_NOTIFICATIONS()
    MESSAGE_MAP_END()

    CBRSButton button;
    CBRSButton wideButton;
    CBRSCheckBox check;
    int checkCommands = 0;
    int buttonClicks = 0;

private:
    LRESULT OnInitDialog(WindowMessage&)
    {
        button.SubclassWindow(GetDlgItem(IDC_KIT_BUTTON));
        // Exactly 100 pixels wide before it takes the image's height.
        GetDlgItem(IDC_KIT_WIDE_BUTTON).SetWindowPos(nullptr, 0, 0, 100, 20, SWP_NOMOVE | SWP_NOZORDER);
        wideButton.SubclassWindow(GetDlgItem(IDC_KIT_WIDE_BUTTON));
        check.SubclassWindow(GetDlgItem(IDC_KIT_CHECK));
        return TRUE;
    }
    LRESULT OnButtonClicked(WindowMessage&)
    {
        ++buttonClicks;
        return 0;
    }
    LRESULT OnCheckCommand(WindowMessage& msg)
    {
        ++checkCommands;
        msg.handled = false;  // on to the reflection, as a dialog leaves it
        return 0;
    }
};

class ButtonTest : public testing::Test {
protected:
    void SetUp() override { ::SetCursorPos(1270, 1010); }
    void TearDown() override
    {
        if (m_dialog && m_dialog->m_hWnd != nullptr)
            m_dialog->DestroyWindow();
        m_dialog.reset();
        UiTest::LoadShippedSkin();
    }
    // After the test's own skin images: the controls read them when made.
    void OpenDialog()
    {
        m_dialog = std::make_unique<CKitDialog>();
        ASSERT_NE(nullptr, m_dialog->Create(nullptr));
        UiTest::Pump();
    }

    std::unique_ptr<CKitDialog> m_dialog;
};

// Column x of the test's odd-width button image: its own colour.
COLORREF ColumnColour(int x)
{
    return RGB(10 * x, 250 - 10 * x, 100);
}

TEST_F(ButtonTest, ThreeSliceImageStretchesOneMiddleColumnAndSkipsTheLastColumnOfAnOddImage)
{
    constexpr int ImageWidth = 21;
    UiTest::PutSkinImage("b0", ImageWidth, 10, [](int x, int) {
        const COLORREF c = ColumnColour(x);
        return Pixel{GetRValue(c), GetGValue(c), GetBValue(c), 255};
    });
    OpenDialog();
    CBRSButton& button = m_dialog->wideButton;
    const RECT client = button.GetClientRect();
    ASSERT_EQ(100, client.right);
    ASSERT_EQ(10, client.bottom);  // the image's height

    const auto shown = UiTest::CaptureClient(button);
    ASSERT_TRUE(shown);
    const int half = ImageWidth / 2;
    for (int x = 0; x < 100; ++x) {
        COLORREF expected;
        if (x < half)
            expected = ColumnColour(x);
        else if (x < half + (100 - ImageWidth))
            expected = ColumnColour(half);
        else if (x < 100 - half)
            expected = RGB(255, 0, 0);  // the backdrop shows through the gap
        else
            expected = ColumnColour(half + x - (100 - half));
        ASSERT_EQ(expected, shown->GetPixel(x, 5)) << "column " << x;
    }
}

struct StateCase {
    UINT itemState;
    COLORREF image;  // what the button's face shows
    const char* textColour;
};

TEST_F(ButtonTest, StateChoosesImageAndTextColourWithLaterRulesWinning)
{
    const COLORREF faces[] = {RGB(0, 0, 40), RGB(0, 40, 0), RGB(40, 0, 0)};
    const char* names[] = {"b0", "b1", "b2"};
    for (int i = 0; i < 3; ++i) {
        const COLORREF face = faces[i];
        UiTest::PutSkinImage(names[i], 20, 20, [face](int, int) {
            return Pixel{GetRValue(face), GetGValue(face), GetBValue(face), 255};
        });
    }
    OpenDialog();
    CBRSButton& button = m_dialog->button;
    button.SetWindowText(L"HH");

    const StateCase cases[] = {
        {0, faces[0], "tab_0"},
        {ODS_FOCUS, faces[1], "tab_1"},
        {ODS_FOCUS | ODS_SELECTED, faces[2], "tab_2"},
        {ODS_FOCUS | ODS_SELECTED | ODS_DISABLED, RGB(255, 0, 0), "check_2"},
    };
    for (const StateCase& c : cases) {
        CImage canvas;
        ASSERT_TRUE(canvas.Create(60, 20, 24));
        {
            CImageDC dc(canvas);
            DRAWITEMSTRUCT item{};
            item.CtlType = ODT_BUTTON;
            item.hwndItem = button;
            item.hDC = dc;
            item.rcItem = RECT{0, 0, 60, 20};
            item.itemState = c.itemState;
            button.DoPaint(item);
        }
        EXPECT_EQ(c.image, canvas.GetPixel(1, 1)) << c.textColour;
        const COLORREF text = KV::Skin::GetColor(c.textColour);
        bool textSeen = false;
        for (int y = 0; y < 20 && !textSeen; ++y)
            for (int x = 0; x < 60 && !textSeen; ++x)
                textSeen = UiTest::Near(canvas.GetPixel(x, y), text, 6);
        EXPECT_TRUE(textSeen) << c.textColour;
    }
}

TEST_F(ButtonTest, ButtonIsHotWhileThePointerVisitsIt)
{
    UiTest::PutSkinImage("b0", 20, 20, [](int, int) { return Pixel{0, 0, 90, 255}; });
    UiTest::PutSkinImage("b1", 20, 20, [](int, int) { return Pixel{0, 90, 0, 255}; });
    OpenDialog();
    CBRSButton& button = m_dialog->wideButton;  // without the focus

    POINT inside{50, 5};
    button.ClientToScreen(&inside);
    ::SetCursorPos(inside.x, inside.y);
    button.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(50, 5));
    EXPECT_TRUE(button.IsHot());
    // The hover notice repaints it.
    const auto face = [&] { return UiTest::CaptureClient(button)->GetPixel(2, 2); };
    EXPECT_TRUE(UiTest::PumpUntil([&] { return face() == RGB(0, 90, 0); })) << std::hex << face();

    ::SetCursorPos(1270, 1010);
    EXPECT_TRUE(UiTest::PumpUntil([&] { return !button.IsHot(); }));
    EXPECT_EQ(RGB(0, 0, 90), face());
}

TEST_F(ButtonTest, ButtonReportsClicksAsAStandardButtonDoes)
{
    OpenDialog();
    EXPECT_TRUE(m_dialog->button.GetStyle() & BS_OWNERDRAW);
    UiTest::PostClickCentre(m_dialog->button);
    UiTest::Pump();
    EXPECT_EQ(1, m_dialog->buttonClicks);
}

TEST_F(ButtonTest, CheckBoxTogglesOnEachClickAndTheParentStillHearsOfIt)
{
    OpenDialog();
    CBRSCheckBox& check = m_dialog->check;
    EXPECT_FALSE(check.GetCheck());
    EXPECT_TRUE(check.GetStyle() & BS_OWNERDRAW);
    for (int click = 1; click <= 3; ++click) {
        UiTest::PostClickCentre(check);
        UiTest::Pump();
        EXPECT_EQ(click % 2 == 1, check.GetCheck()) << "click " << click;
        EXPECT_EQ(click, m_dialog->checkCommands);
    }
}

TEST_F(ButtonTest, CheckBoxRepaintsOnlyWhenItsValueChanges)
{
    OpenDialog();
    CBRSCheckBox& check = m_dialog->check;
    check.UpdateWindow();
    check.SetCheck(false);
    EXPECT_FALSE(::GetUpdateRect(check, nullptr, FALSE));
    check.SetCheck(true);
    EXPECT_TRUE(::GetUpdateRect(check, nullptr, FALSE));
    EXPECT_TRUE(check.GetCheck());
    check.UpdateWindow();
    check.SetCheck(true);
    EXPECT_FALSE(::GetUpdateRect(check, nullptr, FALSE));
}

TEST_F(ButtonTest, CheckBoxImageBlendsByItsPremultipliedAlphaOverTheBackground)
{
    // Half-transparent white, straight colours in the file: premultiplied at
    // load, the blend gives 128 + background * 127 / 255.
    UiTest::PutSkinImage("check_box_1", 16, 16, [](int, int) { return Pixel{255, 255, 255, 128}; });
    UiTest::PutSkinImage("check_box_0", 16, 16, [](int, int) { return Pixel{0, 0, 0, 0}; });
    OpenDialog();
    CBRSCheckBox& check = m_dialog->check;
    const COLORREF background = KV::Skin::DefaultBkColor;
    EXPECT_TRUE(UiTest::Near(background, UiTest::CaptureClient(check)->GetPixel(8, 8)));

    check.SetCheck(true);
    const COLORREF blended = UiTest::CaptureClient(check)->GetPixel(8, 8);
    const COLORREF expected = RGB(128 + GetRValue(background) * 127 / 255, 128 + GetGValue(background) * 127 / 255,
                                  128 + GetBValue(background) * 127 / 255);
    EXPECT_TRUE(UiTest::Near(expected, blended, 2)) << std::hex << blended << " vs " << expected;
}

}  // namespace
