// Draws the player's main window (channels, favourites and records tabs;
// stopped and playing; the records tab with a recording, a scheduled record
// and a finished one, and its popup menu), the record dialog for now, once
// and weekly, the splash and the password question into PNG files for
// review.
//   player_screenshots [folder]     (default: <build>/screenshots/main)

#include "foundation/Lang.h"
#include "foundation/Utilities.h"
#include "framework/Image.h"
#include "player/app/MainDlg.h"
#include "player/app/Settings.h"
#include "player/catalogue/ChannelList.h"
#include "player/recording/Record.h"
#include "player/recording/RecordManager.h"
#include "player/resources/Resource.h"
#include "player/ui/BannerDlg.h"
#include "player/ui/TypePasDlg.h"
#include "tests/grabbers/LocalHttpServer.h"
#include "tests/player/FixtureChannels.h"
#include "tests/player/Mp3StreamServer.h"
#include "tests/player/PlayerTestSupport.h"
#include "tests/support/TempFolder.h"

#include <shlobj.h>

#include <cstdio>
#include <memory>

using namespace PlayerTest;

namespace {

std::wstring g_folder;
int g_failures = 0;

void Save(HWND window, const wchar_t* name)
{
    ::RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_FRAME);
    PumpFor(300);
    const std::unique_ptr<CImage> image = CaptureWindow(window);
    const std::wstring path = g_folder + L"\\" + name;
    if (image && SavePng(*image, path)) {
        std::printf("%ls\n", path.c_str());
    } else {
        std::printf("could not write %ls\n", path.c_str());
        ++g_failures;
    }
}

void ClickTab(CMainDlg& main, int index)
{
    CTab& tab = main.GetChannels().GetTab();
    const RECT rect = tab.GetTabRect(index);
    const LPARAM at = MAKELPARAM((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
    ::PostMessageW(tab, WM_MOUSEMOVE, 0, at);
    ::PostMessageW(tab, WM_LBUTTONDOWN, MK_LBUTTON, at);
    Pump();
    ::PostMessageW(tab, WM_MOUSELEAVE, 0, 0);
    Pump();
}

// Saves the main window with the popup menu that a right click on the
// record's item opens, then closes the menu.
HWND g_menuShotWindow = nullptr;
const wchar_t* g_menuShotName = nullptr;

void CALLBACK TakeMenuShot(HWND, UINT, UINT_PTR timer, DWORD)
{
    ::KillTimer(nullptr, timer);
    Save(g_menuShotWindow, g_menuShotName);
    ::EndMenu();
}

void SaveRecordMenu(CMainDlg& main, const CRecord& record, const wchar_t* name)
{
    CRecordListBox& list = main.GetChannels().GetRecordListBox();
    RECT item{};
    list.GetItemRect(record.GetListIndex(), &item);
    g_menuShotWindow = main;
    g_menuShotName = name;
    ::SetTimer(nullptr, 0, 500, &TakeMenuShot);
    list.SendMessage(WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(item.left + 60, (item.top + item.bottom) / 2));
    Pump();
}

// The record dialog for the channel, as the given type shows it.
void SaveRecordDialog(CMainDlg& main, CChannel* channel, int type, const wchar_t* name)
{
    ModalDriver driver({[type, name](HWND dialog) {
        HWND types = ::GetDlgItem(dialog, IDC_RECORD_TYPE);
        ::SendMessageW(types, CB_SETCURSEL, type, 0);
        ::SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDC_RECORD_TYPE, CBN_SELCHANGE), reinterpret_cast<LPARAM>(types));
        if (type == CRecord::Weekly)
            for (int day = IDC_RECORD_DAY_FIRST + 5; day <= IDC_RECORD_DAY_LAST; ++day)
                ::SendMessageW(::GetDlgItem(dialog, day), BM_CLICK, 0, 0);
        Save(dialog, name);
        ::PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    }});
    main.SendMessage(WM_RECORD_CHANNEL, 0, reinterpret_cast<LPARAM>(channel));
}

void SaveRecordScenes(CMainDlg& main, CChannelList& catalogue)
{
    CRecordManager& records = *main.GetRecordManager();
    CChannel* radio = catalogue.FindChannel(Ids::Radio);
    CChannel* one = catalogue.FindChannel(Ids::One);
    SaveRecordDialog(main, radio, CRecord::Now, L"record-dialog-now.png");
    SaveRecordDialog(main, radio, CRecord::Once, L"record-dialog-once.png");
    SaveRecordDialog(main, one, CRecord::Weekly, L"record-dialog-weekly.png");

    const CTime evening(2031, 5, 2, 20, 15, 0);
    const CTime late(2031, 5, 2, 22, 0, 0);
    const bool weekend[7] = {false, false, false, false, true, true, false};
    records.AddRecord(one, L"Film Abend", CRecord::Weekly, &evening, &late, weekend);
    CRecord* recording = records.AddRecord(radio, L"Bayern Welle", CRecord::Now, nullptr, nullptr, nullptr);
    PumpUntil([&] { return recording->GetBytes() > 100000; }, 20000);
    Save(main, L"main-records-recording.png");
    SaveRecordMenu(main, *recording, L"records-menu-recording.png");
    for (const auto& record : records.GetRecords())
        if (record->HasFile() && !record->IsRecording())
            SaveRecordMenu(main, *record, L"records-menu-finished.png");
    for (const auto& record : records.GetRecords())
        if (record->GetType() == CRecord::Weekly)
            SaveRecordMenu(main, *record, L"records-menu-scheduled.png");
    records.StopAll();
    PumpUntil([&] { return records.IsIdle(); }, 20000);
    Save(main, L"main-records-finished.png");
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    g_folder = argc > 1 ? argv[1] : KV::GetProgramFile(L"..\\screenshots\\main");
    ::SHCreateDirectoryExW(nullptr, g_folder.c_str(), nullptr);
    SetUpProcess();
    {
        LocalHttpServer server;
        Mp3StreamServer station;
        TempFolder records;
        WriteWholeFile(records.File(L"Morgenmagazin#de_tst_radio#183.mp3"), std::string(2928100, '\0'));
        CMainDlg::SetRecordsFolder(records.Path());
        ResetSettings();
        CSettings::SetBool("automatic_update", false);
        CSettings::SetBool("automatic_cupdate", false);
        UseStandIns();
        RecordShellCalls();
        UseStandardCatalogue(server.GetPort(), station.GetUrl());

        ShowBanner();
        PumpUntil([] { return GetBannerWindow() != nullptr; });
        PumpFor(300);
        if (HWND banner = GetBannerWindow())
            Save(banner, L"splash.png");

        CMainDlg main;
        main.Create(nullptr);
        main.ShowWindow(SW_SHOW);
        RECT rect{0, 0, 790, 480};
        ::AdjustWindowRectEx(&rect, main.GetStyle(), FALSE, main.GetExStyle());
        main.SetWindowPos(HWND_TOP, 20, 20, rect.right - rect.left, rect.bottom - rect.top, 0);
        PumpUntil([] { return !IsBannerThreadRunning(); });
        Save(main, L"main-channels-stopped.png");

        CChannelList& catalogue = *main.GetCatalogue();
        for (const char* id : {Ids::One, Ids::Radio, Ids::Info, Ids::Cyrillic})
            catalogue.FindChannel(id)->SetFavourite(true);
        CChannelListBox& list = main.GetChannels().GetChannelList();
        CChannel* one = catalogue.FindChannel(Ids::One);
        list.SetCurSel(list.FindChannel(one));
        main.GetChannels().SendMessage(WM_COMMAND, ID_CHANNEL_FAVORITE);
        main.GetChannels().SendMessage(WM_COMMAND, ID_CHANNEL_FAVORITE);
        main.SendMessage(WM_PLAY_CHANNEL, 0, reinterpret_cast<LPARAM>(one));
        TheStandIns().media->Report(L"Playing \"Erstes Test\": 512 kbps", 0);
        Save(main, L"main-channels-playing.png");

        ClickTab(main, CChannelsCtrl::FavoritesTab);
        main.GetChannels().GetFavoriteList().SetCurSel(main.GetChannels().GetFavoriteList().FindChannel(one));
        Save(main, L"main-favorites-playing.png");

        main.SendMessage(WM_STOP_CHANNEL);
        TheStandIns().media->Report(L"Stopped", 1);
        Save(main, L"main-favorites-stopped.png");

        ClickTab(main, CChannelsCtrl::RecordsTab);
        Save(main, L"main-records.png");
        SaveRecordScenes(main, catalogue);

        CSettings::SetBool("use_password", true);
        CSettings::SetString("pass", L"1234");
        {
            ModalDriver driver({[](HWND dialog) {
                ::SetDlgItemTextW(dialog, IDC_TYPED_PASSWORD, L"12");
                Save(dialog, L"password.png");
                ::PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
            }});
            main.SendMessage(WM_PLAY_CHANNEL, 0, reinterpret_cast<LPARAM>(catalogue.FindChannel(Ids::Night)));
        }
        main.DestroyWindow();
        Pump();
        TheStandIns().Clear();
    }
    ::DeleteFileW(SettingsFilePath().c_str());
    TearDownProcess();
    return g_failures == 0 ? 0 : 1;
}
