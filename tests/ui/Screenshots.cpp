// ui_screenshots: shows the message box, the about box, the control bar in
// its states and the control kit, and saves what each window shows as a PNG
// into a folder, for review.
//   ui_screenshots OUT_FOLDER     (a Windows path or a path of the host)
// Run from <build>/tests, where the skin is found (scripts/screenshots).
#include "foundation/Lang.h"
#include "player/app/Settings.h"
#include "player/ui/AboutDlg.h"
#include "player/ui/BRSButton.h"
#include "player/ui/BRSCheckBox.h"
#include "player/ui/MsgBox.h"
#include "player/ui/PlayersDlg.h"
#include "player/ui/DialogChrome.h"
#include "player/ui/Tab.h"
#include "tests/ui/TestResources.h"
#include "tests/support/HostPath.h"
#include "tests/ui/UiTestSupport.h"

#include <windows.h>

#include <cstdio>
#include <functional>
#include <memory>
#include <string>

namespace {

std::wstring g_folder;
int g_failures = 0;

void Save(const std::unique_ptr<CImage>& image, const wchar_t* name)
{
    const std::wstring path = g_folder + L"\\" + name + L".png";
    if (!image || !UiTest::SavePng(*image, path)) {
        std::fwprintf(stderr, L"could not save %ls\n", path.c_str());
        ++g_failures;
        return;
    }
    std::wprintf(L"%ls\n", path.c_str());
}

// Runs the box and saves it once it shows, then closes it with Esc.
void ShootModal(const wchar_t* name, const std::function<void()>& run)
{
    UiTest::ModalDriver driver([name](HWND dialog) {
        Save(UiTest::CaptureWindow(dialog), name);
        UiTest::PostKey(::GetFocus() != nullptr ? ::GetFocus() : dialog, VK_ESCAPE);
    });
    run();
}

void ShootBoxes(HWND main)
{
    ShootModal(L"msgbox_yes_no", [] { ShowMsgBox("msg_recording", MsgBoxYesNo); });
    ShootModal(L"msgbox_ok_by_key", [] { ShowMsgBox("msg_lang_restart", MsgBoxOk); });
    ShootModal(L"msgbox_ok_direct_text", [] { ShowMsgBoxText(KV::Lang::GetText("msg_server_busy"), MsgBoxOk); });
    ShootModal(L"about", [main] {
        CAboutDlg about;
        about.DoModal(main);
    });
}

void ShootControlBar(UiTest::CMainWindowStub& main)
{
    CPlayersDlg area;
    area.Create(main);
    CControlsDlg& bar = area.GetControls();
    const auto shootBar = [&](const wchar_t* name) {
        UiTest::Pump();
        Save(UiTest::CaptureClient(bar), name);
    };

    area.SetWindowPos(nullptr, 0, 0, 642, 392, SWP_NOZORDER);
    shootBar(L"bar_start");
    Save(UiTest::CaptureClient(area), L"area_start");

    area.EnableControls(true);
    bar.EnableRecord(true);
    bar.SetPlaying(true);
    bar.SetStatus(L"Buffering 45%", 0);
    shootBar(L"bar_playing");

    bar.SetStatus(KV::Lang::GetText("str_error"), -2);
    shootBar(L"bar_server_busy_still_playing");

    bar.SetStatus(KV::Lang::GetText("str_error"), -1);
    bar.EnableRecord(false);
    shootBar(L"bar_error_stopped");

    area.EnableControls(false);
    bar.SetStatus(L"A web page channel", 0);
    shootBar(L"bar_web_page_no_controls");

    area.EnableControls(true);
    area.SetWindowPos(nullptr, 0, 0, 302, 392, SWP_NOZORDER);
    shootBar(L"bar_300_wide");

    area.SetWindowPos(nullptr, 0, 0, 802, 392, SWP_NOZORDER);
    shootBar(L"bar_800_wide");
    area.DestroyWindow();
}

// A skinned dialog with a button and two check boxes.
class CKitDialog : public CDialogImpl<CKitDialog> {
public:
    enum { IDD = IDD_KIT_DIALOG };

    MESSAGE_MAP_BEGIN(CKitDialog)
        ON_MESSAGE(WM_INITDIALOG, OnInitDialog)
        ON_MESSAGE(WM_CTLCOLORDLG, OnColorDialog)
        REFLECT_NOTIFICATIONS()
    MESSAGE_MAP_END()

    CBRSButton button;
    CBRSButton wideButton;
    CBRSCheckBox check;

private:
    LRESULT OnInitDialog(WindowMessage&)
    {
        button.SubclassWindow(GetDlgItem(IDC_KIT_BUTTON));
        wideButton.SubclassWindow(GetDlgItem(IDC_KIT_WIDE_BUTTON));
        wideButton.SetText("button_password");
        check.SubclassWindow(GetDlgItem(IDC_KIT_CHECK));
        check.SetWindowText(KV::Lang::GetText("check_autostart").c_str());
        return TRUE;
    }
    LRESULT OnColorDialog(WindowMessage&) { return SkinnedDialogBrush(); }
};

// The control kit: tab strips of both kinds, buttons and a check box.
void ShootKit(UiTest::CMainWindowStub& main)
{
    {
        CKitDialog kit;
        kit.Create(main);
        kit.SetWindowPos(nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        Save(UiTest::CaptureClient(kit), L"kit_unchecked");
        kit.check.SetCheck(true);
        Save(UiTest::CaptureClient(kit), L"kit_checked");
        kit.DestroyWindow();
    }

    main.SetWindowPos(nullptr, 0, 0, 400, 120, SWP_NOZORDER);
    CTab channels(false);
    const RECT channelsRect{0, 0, 300, 40};
    channels.Create(main, &channelsRect);
    channels.AddTab(KV::Lang::GetText("tab_channels"), 83, nullptr);
    channels.AddTab(KV::Lang::GetText("tab_favorites"), 83, nullptr);
    channels.AddTab(KV::Lang::GetText("tab_records"), 83, nullptr);
    channels.SelectTab(1);
    channels.SetCount(0, 128);
    channels.SetCount(1, 7);
    UiTest::Pump();
    Save(UiTest::CaptureClient(channels), L"tabs_channels_300");

    channels.SetWindowPos(nullptr, 0, 0, 200, 40, SWP_NOMOVE | SWP_NOZORDER);
    Save(UiTest::CaptureClient(channels), L"tabs_channels_200");

    CTab settings(true);
    const RECT settingsRect{0, 50, 300, 80};
    settings.Create(main, &settingsRect);
    settings.AddTab(KV::Lang::GetText("tab_general"), 83, nullptr);
    settings.AddTab(KV::Lang::GetText("tab_password"), 83, nullptr);
    settings.AddTab(KV::Lang::GetText("tab_updates"), 83, nullptr);
    settings.SelectTab(0);
    settings.SetFocus();
    UiTest::Pump();
    Save(UiTest::CaptureClient(settings), L"tabs_settings_plain_focused");
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc < 2) {
        std::fwprintf(stderr, L"usage: ui_screenshots OUT_FOLDER\n");
        return 2;
    }
    g_folder = WindowsPathOfHostPath(argv[1]);
    ::CreateDirectoryW(g_folder.c_str(), nullptr);
    UiTest::SetUpProcess();
    ::SetCursorPos(1270, 1010);
    {
        UiTest::CMainWindowStub main;
        main.CreateMain(642, 392);
        ShootBoxes(main);
        ShootControlBar(main);
        ShootKit(main);
    }
    UiTest::TearDownProcess();
    return g_failures == 0 ? 0 : 1;
}
