// The message box and the about box, run modally as the player runs them;
// a driver acts on each box once it shows, as a user would.
#include "foundation/Lang.h"
#include "foundation/Skin.h"
#include "player/app/Settings.h"
#include "player/ui/AboutDlg.h"
#include "player/ui/DialogChrome.h"
#include "player/ui/MsgBox.h"
#include "tests/ui/UiTestSupport.h"
#include "tests/support/WindowRefusal.h"
#include "tests/support/WindowText.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

using UiTest::ModalDriver;

HWND Item(HWND dialog, int id)
{
    return ::GetDlgItem(dialog, id);
}

class MsgBoxTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_NE(nullptr, m_main.CreateMain(640, 480));
        ::SetCursorPos(1270, 1010);
    }

    UiTest::CMainWindowStub m_main;
};

struct AnswerCase {
    const char* what;
    int buttons;
    std::function<void(HWND)> act;
    int expected;
};

void PressEscape(HWND dialog)
{
    UiTest::PostKey(::GetFocus() != nullptr ? ::GetFocus() : dialog, VK_ESCAPE);
}
void CloseBox(HWND dialog)
{
    ::PostMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
}
void ClickFirst(HWND dialog)
{
    UiTest::PostClickCentre(Item(dialog, IDOK));
}
void ClickNo(HWND dialog)
{
    UiTest::PostClickCentre(Item(dialog, IDCANCEL));
}
void EnterWithoutFocus(HWND dialog)
{
    ::SetFocus(nullptr);
    UiTest::PostKey(dialog, VK_RETURN);
}

TEST_F(MsgBoxTest, AnswersFollowTheButtonSetAndHowTheBoxWasClosed)
{
    const AnswerCase cases[] = {
        {"Yes/No, Esc", MsgBoxYesNo, PressEscape, MsgBoxNo},
        {"Yes/No, close box", MsgBoxYesNo, CloseBox, MsgBoxNo},
        {"Yes/No, click on Yes", MsgBoxYesNo, ClickFirst, MsgBoxYes},
        {"Yes/No, click on No", MsgBoxYesNo, ClickNo, MsgBoxNo},
        {"Yes/No, Enter with no button focused", MsgBoxYesNo, EnterWithoutFocus, MsgBoxNo},
        {"OK, click", MsgBoxOk, ClickFirst, 2},
        {"OK, Esc", MsgBoxOk, PressEscape, 0},
        {"OK, Enter with no button focused", MsgBoxOk, EnterWithoutFocus, 0},
    };
    for (const AnswerCase& c : cases) {
        ModalDriver driver(c.act);
        EXPECT_EQ(c.expected, ShowMsgBox("msg_recording", c.buttons)) << c.what;
        EXPECT_TRUE(driver.Acted()) << c.what;
    }
}

TEST_F(MsgBoxTest, AQuestionThatCannotOpenAnswersNo)
{
    WindowRefusal refusal;
    ASSERT_TRUE(refusal.Active());
    EXPECT_EQ(MsgBoxNo, ShowMsgBox("msg_recording", MsgBoxYesNo));
    EXPECT_EQ(MsgBoxNo, ShowMsgBoxText(L"Stop?", MsgBoxYesNo));
    EXPECT_EQ(0, ShowMsgBox("msg_server_busy", MsgBoxOk));
}

TEST_F(MsgBoxTest, TheEmblemIsDrawnOnlyOnTheHeaderStrip)
{
    constexpr COLORREF Ground = RGB(1, 2, 3);
    const auto emblemPixel = [&](bool withHeader) {
        KV::Skin::Free();
        UiTest::PutSkinImage("header_recorder_32", 32, 32, [](int, int) { return UiTest::Pixel{250, 0, 0, 255}; });
        if (withHeader)
            UiTest::PutSkinImage("msgbox_header", 20, 32, [](int, int) { return UiTest::Pixel{0, 0, 250, 255}; });
        HDC screen = ::GetDC(nullptr);
        HDC dc = ::CreateCompatibleDC(screen);
        HBITMAP bitmap = ::CreateCompatibleBitmap(screen, 351, 200);
        ::ReleaseDC(nullptr, screen);
        HGDIOBJ previous = ::SelectObject(dc, bitmap);
        const RECT client{0, 0, 351, 200};
        HBRUSH ground = ::CreateSolidBrush(Ground);
        ::FillRect(dc, &client, ground);
        ::DeleteObject(ground);
        PaintDialogHeader(dc, client);
        const COLORREF pixel = ::GetPixel(dc, 220, 10);
        ::SelectObject(dc, previous);
        ::DeleteObject(bitmap);
        ::DeleteDC(dc);
        return pixel;
    };
    EXPECT_EQ(Ground, emblemPixel(false));
    EXPECT_TRUE(UiTest::Near(RGB(250, 0, 0), emblemPixel(true), 8));
    KV::Skin::Free();
    UiTest::LoadShippedSkin();
}

TEST_F(MsgBoxTest, YesNoBoxLaysOutTwoCaptionedButtonsFromTheRight)
{
    RECT client{};
    std::vector<RECT> buttons;
    std::vector<std::wstring> captions;
    bool thirdHidden = false;
    std::wstring title;
    HWND owner = nullptr;
    ModalDriver driver([&](HWND dialog) {
        ::GetClientRect(dialog, &client);
        for (int id : {IDOK, IDCANCEL}) {
            HWND button = Item(dialog, id);
            RECT rect{};
            ::GetWindowRect(button, &rect);
            ::MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
            buttons.push_back(rect);
            captions.push_back(TextOf(button));
        }
        thirdHidden = !::IsWindowVisible(Item(dialog, IDC_MSGBOX_NO));
        title = TextOf(dialog);
        owner = ::GetWindow(dialog, GW_OWNER);
        PressEscape(dialog);
    });
    EXPECT_EQ(MsgBoxNo, ShowMsgBox("msg_recording", MsgBoxYesNo));

    EXPECT_EQ(351, client.right);
    ASSERT_EQ(2u, buttons.size());
    EXPECT_EQ(187, buttons[0].left);
    EXPECT_EQ(267, buttons[1].left);
    for (const RECT& rect : buttons) {
        EXPECT_EQ(164, rect.top);
        EXPECT_EQ(74, rect.right - rect.left);
        EXPECT_EQ(KV::Skin::GetImage("b0")->GetHeight(), rect.bottom - rect.top);
    }
    EXPECT_EQ(KV::Lang::GetText("button_yes"), captions[0]);
    EXPECT_EQ(KV::Lang::GetText("button_no"), captions[1]);
    EXPECT_TRUE(thirdHidden);
    EXPECT_EQ(CSettings::GetProductName(), title);
    EXPECT_EQ(m_main.m_hWnd, owner);
}

TEST_F(MsgBoxTest, OkBoxShowsOneOkButtonAtTheRight)
{
    std::vector<int> shownIds;
    int left = 0;
    std::wstring caption;
    ModalDriver driver([&](HWND dialog) {
        for (int id : {IDOK, IDC_MSGBOX_NO, IDCANCEL}) {
            if (::IsWindowVisible(Item(dialog, id)))
                shownIds.push_back(id);
        }
        RECT rect{};
        ::GetWindowRect(Item(dialog, IDOK), &rect);
        ::MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
        left = rect.left;
        caption = TextOf(Item(dialog, IDOK));
        PressEscape(dialog);
    });
    ShowMsgBoxText(L"The server is busy.", MsgBoxOk);
    EXPECT_EQ(std::vector<int>{IDOK}, shownIds);
    EXPECT_EQ(351 - 80 - 4, left);
    EXPECT_EQ(L"OK", caption);
}

// The first column of the text area that shows the text colour.
int FirstTextColumn(const CImage& client)
{
    const COLORREF text = KV::Skin::GetTextColor();
    for (int x = 0; x < 200; ++x) {
        for (int y = 40; y < 150; ++y) {
            if (UiTest::Near(client.GetPixel(x, y), text, 40))
                return x;
        }
    }
    return -1;
}

TEST_F(MsgBoxTest, ADirectTextStartsTenPixelsRightOfATextByKey)
{
    const std::wstring text = KV::Lang::GetText("msg_recording");
    ASSERT_FALSE(text.empty());
    int byKey = -1;
    int direct = -1;
    {
        ModalDriver driver([&](HWND dialog) {
            byKey = FirstTextColumn(*UiTest::CaptureClient(dialog));
            PressEscape(dialog);
        });
        ShowMsgBox("msg_recording", MsgBoxOk);
    }
    {
        ModalDriver driver([&](HWND dialog) {
            direct = FirstTextColumn(*UiTest::CaptureClient(dialog));
            PressEscape(dialog);
        });
        ShowMsgBoxText(text, MsgBoxOk);
    }
    ASSERT_GE(byKey, 50);
    EXPECT_LT(byKey, 56);
    EXPECT_EQ(byKey + 10, direct);
}

TEST_F(MsgBoxTest, AboutBoxShowsNameVersionAndOpensItsThreeLinks)
{
    std::vector<std::wstring> opened;
    CAboutDlg::SetUrlOpener([&](HWND, const std::wstring& url) { opened.push_back(url); });
    std::wstring title, version, home, publisher, support, homeLabel;
    ModalDriver driver([&](HWND dialog) {
        title = TextOf(dialog);
        version = TextOf(Item(dialog, IDC_VERSION));
        home = TextOf(Item(dialog, IDC_LINK_HOME));
        publisher = TextOf(Item(dialog, IDC_LINK_PUBLISHER));
        support = TextOf(Item(dialog, IDC_LINK_SUPPORT));
        homeLabel = TextOf(::GetWindow(Item(dialog, IDC_LINK_HOME), GW_HWNDPREV));
        const struct {
            int id;
            UINT code;
        } notices[] = {{IDC_LINK_HOME, NM_CLICK}, {IDC_LINK_PUBLISHER, NM_RETURN}, {IDC_LINK_SUPPORT, NM_CLICK}};
        for (const auto& notice : notices) {
            NMHDR header{Item(dialog, notice.id), static_cast<UINT_PTR>(notice.id), notice.code};
            ::SendMessageW(dialog, WM_NOTIFY, notice.id, reinterpret_cast<LPARAM>(&header));
        }
        UiTest::PostClickCentre(Item(dialog, IDOK));
    });
    CAboutDlg about;
    EXPECT_EQ(IDOK, about.DoModal(m_main));
    CAboutDlg::SetUrlOpener(nullptr);
    // The links must leave the skin's brush alone.
    EXPECT_EQ(OBJ_BRUSH, static_cast<int>(::GetObjectType(KV::Skin::GetBkBrush())));

    EXPECT_EQ(KV::Lang::GetText("dlg_about") + L" " + CSettings::GetProductName(), title);
    EXPECT_EQ(L"Version 2.3.2", version);
    EXPECT_EQ(KV::Lang::GetText("static_home_page"), homeLabel);
    EXPECT_NE(std::wstring::npos, home.find(L"<a>"));
    const std::wstring language = KV::Lang::GetCurrentExt();
    ASSERT_EQ(3u, opened.size());
    EXPECT_EQ(MakeProductSiteUrl(language, L"2.3.2"), opened[0]);
    EXPECT_EQ(MakePublisherSiteUrl(L"2.3.2", language), opened[1]);
    EXPECT_EQ(MakeSupportMailUrl(), opened[2]);
    EXPECT_NE(std::wstring::npos, opened[0].find(L"/" + language + L"/?app=brsv&ver=2.3.2"));
    EXPECT_NE(std::wstring::npos, opened[1].find(L"/?app=brsv&ver=2.3.2&lang=" + language));
    EXPECT_EQ(0u, opened[2].find(L"mailto:"));
    // Each caption names the address its link opens.
    const std::wstring productHost = opened[0].substr(8, opened[0].find(L'/', 8) - 8);
    EXPECT_EQ(L"<a>" + productHost + L"</a>", home);
    EXPECT_NE(std::wstring::npos, publisher.find(opened[1].substr(8, opened[1].find(L'/', 8) - 8)));
    EXPECT_EQ(L"<a>" + opened[2].substr(7) + L"</a>", support);
}

}  // namespace
