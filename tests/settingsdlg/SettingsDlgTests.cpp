// The settings dialog as the main window's settings command runs it: its
// layout, what OK and Cancel do with the pages' options, the remembered
// tab, and the colours each dialog and page answers.
#include "foundation/Lang.h"
#include "foundation/Skin.h"
#include "player/app/Settings.h"
#include "player/ui/SetPasDlg.h"
#include "player/ui/SettingsDlg.h"
#include "tests/settingsdlg/SettingsTestSupport.h"
#include "tests/support/WindowText.h"

#include <cstdlib>

namespace {

using namespace SettingsTest;

// A child of the window whose text is that.
HWND FindByText(HWND parent, const std::wstring& text)
{
    for (HWND child = ::GetWindow(parent, GW_CHILD); child != nullptr; child = ::GetWindow(child, GW_HWNDNEXT)) {
        if (TextOf(child) == text)
            return child;
    }
    return nullptr;
}

std::string ShowRect(const RECT& r)
{
    return "(" + std::to_string(r.left) + ", " + std::to_string(r.top) + ", " + std::to_string(r.right) + ", " +
           std::to_string(r.bottom) + ")";
}

RECT RectInClient(HWND window, HWND client)
{
    RECT rect{};
    ::GetWindowRect(window, &rect);
    ::MapWindowPoints(nullptr, client, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

// Of the control's pixels as the dialog shows them after a full repaint,
// how many differ from the skin's background colour.
double ShareNotBackground(HWND dialog, HWND control)
{
    ::RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    LOGBRUSH background{};
    ::GetObjectW(KV::Skin::GetBkBrush(), sizeof(background), &background);
    const RECT rect = RectInClient(control, dialog);
    HDC dc = ::GetDC(dialog);
    int differing = 0;
    int all = 0;
    for (int y = rect.top; y < rect.bottom; ++y) {
        for (int x = rect.left; x < rect.right; ++x, ++all) {
            if (!UiTest::Near(::GetPixel(dc, x, y), background.lbColor))
                ++differing;
        }
    }
    ::ReleaseDC(dialog, dc);
    return all > 0 ? static_cast<double>(differing) / all : 0.0;
}

bool IsChecked(HWND dialog, int id)
{
    const CBRSCheckBox* box = dynamic_cast<CBRSCheckBox*>(CWindowImplRoot::FromHandle(FindControl(dialog, id)));
    return box != nullptr && box->GetCheck();
}

using SettingsDialogTest = DialogTest;

TEST_F(SettingsDialogTest, OpensTranslatedWithTheStripAtTheTopAndThePagesBelowIt)
{
    const int remembered = CSettingsDlg::GetRememberedTab();
    CSettingsDlg settings;
    RunScripted(settings, {Step(DialogKind::Settings, [&](HWND dialog) {
        EXPECT_EQ(KV::Lang::GetText("dlg_settings"), TextOf(dialog));
        EXPECT_EQ(L"OK", TextOf(FindControl(dialog, IDOK)));
        EXPECT_EQ(KV::Lang::GetText("button_cancel"), TextOf(FindControl(dialog, IDCANCEL)));
        const struct {
            int id;
            const char* textId;
        } texts[] = {{IDC_AUTOSTART, "check_autostart"},       {IDC_AUTO_UPDATE, "check_update"},
                     {IDC_AUTO_CUPDATE, "check_cupdate"},      {IDC_USE_PASSWORD, "check_password"},
                     {IDC_CHANGE_PASSWORD, "button_password"}};
        for (const auto& text : texts)
            EXPECT_EQ(KV::Lang::GetText(text.textId), TextOf(FindControl(dialog, text.id))) << text.textId;

        const RECT client = CWindow(dialog).GetClientRect();
        const CTab* strip = settings.GetTabStrip();
        ASSERT_NE(nullptr, strip);
        EXPECT_EQ(IDC_SETTINGS_TAB, ::GetDlgCtrlID(*strip));
        EXPECT_EQ(3, strip->GetTabCount());
        EXPECT_EQ(remembered, strip->GetSelectedIndex());
        const RECT stripRect = RectInClient(*strip, dialog);
        EXPECT_EQ(ShowRect(RECT{16, 16, client.right - 16, 44}), ShowRect(stripRect));

        const std::vector<HWND>& pages = settings.GetPages();
        ASSERT_EQ(3u, pages.size());
        EXPECT_NE(nullptr, FindByText(pages[CSettingsDlg::GeneralPage], KV::Lang::GetText("group_lang")));
        HWND above = *strip;
        for (size_t i = 0; i < pages.size(); ++i) {
            EXPECT_EQ(ShowRect(RECT{16, 44, client.right - 16, 244}), ShowRect(RectInClient(pages[i], dialog))) << i;
            EXPECT_EQ(static_cast<int>(i) == remembered, ::IsWindowVisible(pages[i]) != FALSE) << i;
            EXPECT_EQ(pages[i], ::GetWindow(above, GW_HWNDNEXT)) << "tab order after the strip, page " << i;
            above = pages[i];
        }

        // Centred over its owner, the 640 x 480 stand-in at the origin.
        const RECT frame = CWindow(dialog).GetWindowRect();
        EXPECT_LE(std::abs((frame.left + frame.right) / 2 - 320), 1);
        EXPECT_LE(std::abs((frame.top + frame.bottom) / 2 - 240), 1);

        // The pages reach below the top of OK and Cancel, which still show.
        const RECT okRect = RectInClient(FindControl(dialog, IDOK), dialog);
        EXPECT_LT(okRect.top, 244);
        EXPECT_GT(ShareNotBackground(dialog, FindControl(dialog, IDOK)), 0.5);
        EXPECT_GT(ShareNotBackground(dialog, FindControl(dialog, IDCANCEL)), 0.5);
        Click(dialog, IDCANCEL);
    })});
}

struct OptionsCase {
    const char* what;
    bool update, cupdate, autostart;  // before
    std::vector<int> clicks;           // check boxes, in this order
    int close;                         // IDOK or IDCANCEL
    bool expectUpdate, expectCupdate, expectAutostart;
};

int PageOf(int checkBox)
{
    return checkBox == IDC_AUTOSTART ? CSettingsDlg::GeneralPage : CSettingsDlg::UpdatesPage;
}

TEST_F(SettingsDialogTest, OkHasEveryPageWriteItsOptionsAndCancelWritesNothing)
{
    const OptionsCase cases[] = {
        {"OK without changes", false, true, false, {}, IDOK, false, true, false},
        {"OK after toggling all three", false, true, false,
         {IDC_AUTO_UPDATE, IDC_AUTO_CUPDATE, IDC_AUTOSTART}, IDOK, true, false, true},
        {"OK after toggling one twice", true, true, true, {IDC_AUTO_CUPDATE, IDC_AUTO_CUPDATE}, IDOK, true, true,
         true},
        {"OK turning autostart off", true, false, true, {IDC_AUTOSTART}, IDOK, true, false, false},
        {"Cancel after toggling all three", true, false, true,
         {IDC_AUTO_UPDATE, IDC_AUTO_CUPDATE, IDC_AUTOSTART}, IDCANCEL, true, false, true},
    };
    for (const OptionsCase& c : cases) {
        SCOPED_TRACE(c.what);
        CSettings::SetBool("automatic_update", c.update);
        CSettings::SetBool("automatic_cupdate", c.cupdate);
        CSettings::SetAutostart(c.autostart);
        ASSERT_EQ(c.autostart, HasAutostartEntry());

        std::vector<ScriptStep> steps;
        steps.push_back(Step(DialogKind::Settings, [&](HWND dialog) {
            EXPECT_EQ(c.update, IsChecked(dialog, IDC_AUTO_UPDATE));
            EXPECT_EQ(c.cupdate, IsChecked(dialog, IDC_AUTO_CUPDATE));
            EXPECT_EQ(c.autostart, IsChecked(dialog, IDC_AUTOSTART));
        }));
        for (int id : c.clicks) {
            // Bring the box's page up first, as a user would.
            steps.push_back(Step(DialogKind::Settings, [id](HWND dialog) { ClickTab(dialog, PageOf(id)); }));
            steps.push_back(Step(DialogKind::Settings, [id](HWND dialog) { Click(dialog, id); }));
        }
        steps.push_back(Step(DialogKind::Settings, [&](HWND dialog) { Click(dialog, c.close); }));

        CSettingsDlg settings;
        EXPECT_EQ(c.close, RunScripted(settings, std::move(steps)));
        EXPECT_EQ(c.expectUpdate, CSettings::GetBool("automatic_update", !c.expectUpdate));
        EXPECT_EQ(c.expectCupdate, CSettings::GetBool("automatic_cupdate", !c.expectCupdate));
        EXPECT_EQ(c.expectAutostart, CSettings::GetAutostart());
        // The Run entry follows the option, naming this very program.
        EXPECT_EQ(c.expectAutostart, HasAutostartEntry());
        if (c.expectAutostart) {
            wchar_t self[MAX_PATH] = {};
            ::GetModuleFileNameW(nullptr, self, MAX_PATH);
            EXPECT_EQ(std::wstring(self), ReadAutostartEntry());
        }
    }
    CSettings::SetAutostart(false);
}

TEST_F(SettingsDialogTest, CancelKeepsATypedPasswordUnsavedButRemembersTheTab)
{
    CSettings::SetBool("use_password", false);
    CSettings::SetString("pass", L"");
    CSettingsDlg settings;
    const INT_PTR result = RunScripted(settings, {
        Step(DialogKind::Settings, [](HWND dialog) { ClickTab(dialog, CSettingsDlg::PasswordPage); }),
        Step(DialogKind::Settings, [](HWND dialog) { Click(dialog, IDC_CHANGE_PASSWORD); }),
        NewPassword(L"abcd", L"abcd"),
        Step(DialogKind::Settings, [](HWND dialog) { Click(dialog, IDC_USE_PASSWORD); }),
        Step(DialogKind::Settings, [&](HWND dialog) {
            EXPECT_TRUE(IsChecked(dialog, IDC_USE_PASSWORD));
            Click(dialog, IDCANCEL);
        }),
    });
    EXPECT_EQ(IDCANCEL, result);
    EXPECT_FALSE(CSettings::GetBool("use_password", true));
    EXPECT_EQ(L"", CSettings::GetString("pass", L"unset"));
    EXPECT_EQ(CSettingsDlg::PasswordPage, CSettingsDlg::GetRememberedTab());

    // The next opening starts on that tab, and OK remembers a new choice.
    CSettingsDlg again;
    RunScripted(again, {
        Step(DialogKind::Settings, [&](HWND dialog) {
            EXPECT_TRUE(::IsWindowVisible(again.GetPages()[CSettingsDlg::PasswordPage]));
            EXPECT_FALSE(::IsWindowVisible(again.GetPages()[CSettingsDlg::GeneralPage]));
            ClickTab(dialog, CSettingsDlg::UpdatesPage);
        }),
        Step(DialogKind::Settings, [](HWND dialog) { Click(dialog, IDOK); }),
    });
    EXPECT_EQ(CSettingsDlg::UpdatesPage, CSettingsDlg::GetRememberedTab());
    // Reopening the same object builds the strip afresh.
    RunScripted(again, {Step(DialogKind::Settings, [&](HWND dialog) {
        EXPECT_EQ(3, again.GetTabStrip()->GetTabCount());
        EXPECT_EQ(CSettingsDlg::UpdatesPage, again.GetTabStrip()->GetSelectedIndex());
        ClickTab(dialog, CSettingsDlg::GeneralPage);
    }), Step(DialogKind::Settings, [](HWND dialog) { Click(dialog, IDCANCEL); })});
    EXPECT_EQ(CSettingsDlg::GeneralPage, CSettingsDlg::GetRememberedTab());
}

// How a dialog or page answers one WM_CTLCOLOR* message.
struct ColourCase {
    const char* what;
    UINT message;
    enum Brush { Background, Null, SystemChoice } brush;
    bool transparent;
    enum Text { SkinText, Untouched, AnyText } text;
};

void CheckColour(HWND window, const ColourCase& c)
{
    SCOPED_TRACE(c.what);
    HDC dc = ::CreateCompatibleDC(nullptr);
    ::SetBkMode(dc, OPAQUE);
    ::SetTextColor(dc, RGB(1, 2, 3));
    const HBRUSH brush =
        reinterpret_cast<HBRUSH>(::SendMessageW(window, c.message, reinterpret_cast<WPARAM>(dc), 0));
    switch (c.brush) {
    case ColourCase::Background:
        EXPECT_EQ(KV::Skin::GetBkBrush(), brush);
        break;
    case ColourCase::Null:
        EXPECT_EQ(::GetStockObject(NULL_BRUSH), brush);
        break;
    case ColourCase::SystemChoice:
        EXPECT_NE(KV::Skin::GetBkBrush(), brush);
        break;
    }
    EXPECT_EQ(c.transparent, ::GetBkMode(dc) == TRANSPARENT);
    if (c.text == ColourCase::SkinText) {
        EXPECT_EQ(KV::Skin::GetTextColor(), ::GetTextColor(dc));
    } else if (c.text == ColourCase::Untouched) {
        EXPECT_EQ(RGB(1, 2, 3), ::GetTextColor(dc));
    }
    ::DeleteDC(dc);
}

TEST_F(SettingsDialogTest, DialogsAndPagesAnswerTheSkinsColours)
{
    const ColourCase dialogCases[] = {
        {"settings dialog", WM_CTLCOLORDLG, ColourCase::Background, false, ColourCase::Untouched},
    };
    const ColourCase generalCases[] = {
        {"general page", WM_CTLCOLORDLG, ColourCase::Background, true, ColourCase::Untouched},
        {"general static", WM_CTLCOLORSTATIC, ColourCase::Background, true, ColourCase::SkinText},
        {"general button", WM_CTLCOLORBTN, ColourCase::Background, true, ColourCase::Untouched},
    };
    const ColourCase updatesCases[] = {
        {"updates page", WM_CTLCOLORDLG, ColourCase::Null, true, ColourCase::Untouched},
        {"updates static", WM_CTLCOLORSTATIC, ColourCase::Background, true, ColourCase::SkinText},
    };
    const ColourCase passwordCases[] = {
        {"password page", WM_CTLCOLORDLG, ColourCase::Null, true, ColourCase::Untouched},
        {"password static", WM_CTLCOLORSTATIC, ColourCase::Background, false, ColourCase::Untouched},
        {"password button", WM_CTLCOLORBTN, ColourCase::SystemChoice, true, ColourCase::AnyText},
    };
    CSettingsDlg settings;
    RunScripted(settings, {Step(DialogKind::Settings, [&](HWND dialog) {
        for (const ColourCase& c : dialogCases)
            CheckColour(dialog, c);
        // The settings dialog leaves its static texts to the system.
        CheckColour(dialog, {"settings static", WM_CTLCOLORSTATIC, ColourCase::SystemChoice, false, ColourCase::AnyText});
        for (const ColourCase& c : generalCases)
            CheckColour(settings.GetPages()[CSettingsDlg::GeneralPage], c);
        for (const ColourCase& c : updatesCases)
            CheckColour(settings.GetPages()[CSettingsDlg::UpdatesPage], c);
        for (const ColourCase& c : passwordCases)
            CheckColour(settings.GetPages()[CSettingsDlg::PasswordPage], c);
        Click(dialog, IDCANCEL);
    })});

    CSetPasDlg newPassword;
    RunScripted(newPassword, {Step(DialogKind::SetPassword, [](HWND dialog) {
        CheckColour(dialog, {"new-password dialog", WM_CTLCOLORDLG, ColourCase::Background, false, ColourCase::Untouched});
        CheckColour(dialog, {"new-password static", WM_CTLCOLORSTATIC, ColourCase::Background, true, ColourCase::SkinText});
        Click(dialog, IDCANCEL);
    })});
}

}  // namespace
