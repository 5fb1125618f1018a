// The records page: its list over the records manager, what each item
// shows and where it draws it, the commands on the selected record, Enter,
// the record dialog behind "properties" and the schedule's timer.
#include "tests/recordsui/RecordsPageFixture.h"

#include "foundation/Lang.h"
#include "foundation/Skin.h"
#include "foundation/UtilitiesCommon.h"
#include "player/app/Messages.h"
#include "player/catalogue/Channel.h"

#include <commctrl.h>

#include <vector>

namespace RecordsUiTest {
namespace {

using RecordsPage = RecordsPageTest;

RECT ChildRect(HWND child)
{
    RECT rect{};
    ::GetWindowRect(child, &rect);
    ::MapWindowPoints(nullptr, ::GetParent(child), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

std::wstring DoneText(const CRecord& record)
{
    return record.GetDurationText() + L"   " + KV::Lang::GetText("str_size") + L": " +
           KV::FormatSizeKb(static_cast<uint32_t>(record.GetBytes()), 0);
}

std::wstring ScheduleText(const CRecord& record)
{
    CTime start, end;
    record.GetTimes(start, end);
    return start.Format(L"%H:%M %d/%m/%Y") + L" - " + end.Format(L"%H:%M %d/%m/%Y");
}

TEST_F(RecordsPage, TheListFillsThePageWithTheStyleOfARecordsList)
{
    Start();
    const HWND list = host->List();
    ASSERT_TRUE(::IsWindow(list));
    EXPECT_EQ(IDC_RECORD_LIST, ::GetDlgCtrlID(list));
    RECT rect = ChildRect(list);
    EXPECT_EQ(0, rect.left);
    EXPECT_EQ(0, rect.top);
    EXPECT_EQ(PageHost::Width, rect.right);
    EXPECT_EQ(PageHost::Height, rect.bottom);

    host->page.SetWindowPos(nullptr, 0, 0, 180, 150, SWP_NOMOVE | SWP_NOZORDER);
    rect = ChildRect(list);
    EXPECT_EQ(0, rect.left);
    EXPECT_EQ(0, rect.top);
    EXPECT_EQ(180, rect.right);
    EXPECT_EQ(150, rect.bottom);

    EXPECT_EQ(CRecordListBox::ItemHeight, host->List().GetItemHeight(0));
    const DWORD style = host->List().GetStyle();
    for (DWORD bit : {DWORD(LBS_OWNERDRAWFIXED), DWORD(LBS_HASSTRINGS), DWORD(LBS_SORT), DWORD(LBS_NOTIFY),
                      DWORD(LBS_NOINTEGRALHEIGHT)})
        EXPECT_EQ(bit, style & bit) << std::hex << bit;
    EXPECT_TRUE(host->List().GetExStyle() & WS_EX_STATICEDGE);
    // The scroll bar shows once the items outgrow the list.
    EXPECT_FALSE(host->List().GetStyle() & WS_VSCROLL);
    for (int i = 0; i < 8; ++i)
        AddScheduled(L"Serie " + std::to_wstring(i), Tv());
    EXPECT_TRUE(host->List().GetStyle() & WS_VSCROLL);
}

TEST_F(RecordsPage, RecordsAreListedByNameAndEveryIndexFollowsAddingAndDeleting)
{
    ASSERT_TRUE(folder->Write(L"Zeta#de_kanal#10.bin", 100));
    ASSERT_TRUE(folder->Write(L"alpha#de_welle#5.bin", 100));
    Start();
    EXPECT_EQ(2, host->tabCount);
    AddScheduled(L"Mitte", Tv());
    AddScheduled(L"Beta", Radio());

    EXPECT_EQ((std::vector<std::wstring>{L"alpha", L"Beta", L"Mitte", L"Zeta"}), host->Items());
    EXPECT_EQ(4, host->tabCount);
    // The record added last is selected.
    EXPECT_EQ(Find(L"Beta"), host->page.GetSelectedRecord());
    auto expectInStep = [&] {
        for (const auto& record : manager->GetRecords()) {
            EXPECT_EQ(host->IndexOf(record.get()), record->GetListIndex());
            EXPECT_EQ(record->GetName(), host->List().GetText(record->GetListIndex()));
        }
    };
    expectInStep();

    host->Select(Find(L"alpha"));
    Command(ID_RECORD_DELETE);
    EXPECT_EQ((std::vector<std::wstring>{L"Beta", L"Mitte", L"Zeta"}), host->Items());
    EXPECT_EQ(3, host->tabCount);
    EXPECT_FALSE(FileExists(folder->File(L"alpha#de_welle#5.bin")));
    expectInStep();
}

TEST_F(RecordsPage, EachItemShowsTheIconsAndTextsOfItsRecordsState)
{
    ASSERT_TRUE(folder->Write(L"Datei#de_kanal#125.bin", 3000));
    ASSERT_TRUE(folder->Write(L"Fremd#zz_weg#7.bin", 10));
    Start();
    // The one being deleted is gone once its recorder's last report is
    // taken: nothing is pumped from here on.
    const auto [connecting, recording, failed, scheduled, deleting] = AddOneInEachState();

    struct Case {
        const char* what;
        const CRecord* record;
        const char* stateIcon;
        const char* channelIcon;  // null: no channel
        std::wstring status;
    };
    const Case cases[] = {
        {"a found file", Find(L"Datei"), "icon_disc", "icon_tv_16", DoneText(*Find(L"Datei"))},
        {"a found file of an unknown channel", Find(L"Fremd"), "icon_disc", nullptr, DoneText(*Find(L"Fremd"))},
        {"a scheduled radio record", scheduled, "icon_schedule", "icon_radio_16", L""},
        {"a connecting record", connecting, "icon_recording", "icon_tv_16", KV::Lang::GetText("str_connecting")},
        {"a recording record", recording, "icon_recording", "icon_tv_16",
         KV::Lang::GetText("str_recording") + L": " + recording->GetDurationText() + L"   " +
             KV::Lang::GetText("str_size") + L": " + KV::FormatSizeKb(static_cast<uint32_t>(recording->GetBytes()), 0)},
        {"a record being deleted", deleting, "icon_recording", "icon_tv_16", KV::Lang::GetText("str_deleting")},
        {"a failed record", failed, "icon_schedule", "icon_tv_16", KV::Lang::GetText("str_error")},
    };
    for (const Case& c : cases) {
        ASSERT_NE(nullptr, c.record) << c.what;
        const CRecordListBox::ItemLook look = host->List().DescribeItem(*c.record);
        EXPECT_EQ(c.record->GetName(), look.name) << c.what;
        EXPECT_EQ(KV::Skin::GetImage(c.stateIcon), look.stateIcon) << c.what;
        EXPECT_NE(nullptr, look.stateIcon) << c.what;
        if (c.channelIcon != nullptr) {
            EXPECT_EQ(KV::Skin::GetImage(c.channelIcon), look.channelIcon) << c.what;
            EXPECT_EQ(KV::Skin::GetImage("f_de"), look.flag) << c.what;
            EXPECT_NE(nullptr, look.flag) << c.what;
        } else {
            EXPECT_EQ(nullptr, look.channelIcon) << c.what;
            EXPECT_EQ(nullptr, look.flag) << c.what;
        }
        const std::wstring status = c.status.empty() ? ScheduleText(*c.record) : c.status;
        EXPECT_EQ(status, look.status) << c.what;
    }
}

// Solid test images, so that what an item draws can be read back.
const UiTest::Pixel Red{220, 0, 0, 255};
const UiTest::Pixel Green{0, 200, 0, 255};
const UiTest::Pixel Blue{0, 0, 230, 255};
const UiTest::Pixel Yellow{230, 220, 0, 255};
const UiTest::Pixel Magenta{210, 0, 210, 255};
const UiTest::Pixel Cyan{0, 210, 220, 255};
const UiTest::Pixel Brown{120, 60, 0, 255};

COLORREF ColorOf(UiTest::Pixel p)
{
    return RGB(p.r, p.g, p.b);
}

class RecordsPageDrawing : public RecordsPageTest {
protected:
    void PrepareSkin() override
    {
        auto solid = [](const char* name, int w, int h, UiTest::Pixel p) {
            UiTest::PutSkinImage(name, w, h, [p](int, int) { return p; });
        };
        solid("icon_recording", 12, 12, Red);
        solid("icon_disc", 12, 12, Green);
        solid("icon_schedule", 12, 12, Blue);
        solid("icon_tv_16", 12, 12, Yellow);
        solid("icon_radio_16", 12, 12, Magenta);
        solid("f_de", 12, 10, Cyan);
        solid("channelgridline", 150, 1, Brown);
    }
    void RestoreSkin() override { UiTest::LoadShippedSkin(); }
};

TEST_F(RecordsPageDrawing, ItemsDrawBackgroundIconsAndTwoLinesOfTextInPlace)
{
    ASSERT_TRUE(folder->Write(L"Aufnahme#de_kanal#60.bin", 2000));
    ASSERT_TRUE(folder->Write(L"Fremd#zz_weg#7.bin", 10));
    Start();
    AddScheduled(L"Bald", Radio());
    AddRecording(L"Live");
    host->Select(Find(L"Aufnahme"));
    // Items: Aufnahme (selected), Bald, Fremd, Live.
    ASSERT_EQ((std::vector<std::wstring>{L"Aufnahme", L"Bald", L"Fremd", L"Live"}), host->Items());

    const std::unique_ptr<CImage> shot = UiTest::CaptureClient(host->List());
    ASSERT_NE(nullptr, shot);
    const int h = CRecordListBox::ItemHeight;
    auto at = [&](int item, int x, int y) { return shot->GetPixel(x, item * h + y); };
    auto alike = [](COLORREF a, COLORREF b) { return UiTest::Near(a, b, 12); };

    // Backgrounds: the selected item's grey band, white elsewhere.
    EXPECT_TRUE(alike(RGB(192, 192, 192), at(0, 220, 5)));
    EXPECT_TRUE(alike(RGB(255, 255, 255), at(1, 220, 5)));
    // The grid line along each item's last row, from x 4.
    EXPECT_TRUE(alike(ColorOf(Brown), at(1, 10, h - 1)));
    EXPECT_TRUE(alike(RGB(255, 255, 255), at(1, 2, h - 1)));

    struct IconCase {
        int item;
        COLORREF state;
        bool channel;
        COLORREF channelIcon;
    };
    const IconCase icons[] = {
        {0, ColorOf(Green), true, ColorOf(Yellow)},
        {1, ColorOf(Blue), true, ColorOf(Magenta)},
        {2, ColorOf(Green), false, 0},
        {3, ColorOf(Red), true, ColorOf(Yellow)},
    };
    for (const IconCase& c : icons) {
        const COLORREF background = c.item == 0 ? RGB(192, 192, 192) : RGB(255, 255, 255);
        EXPECT_TRUE(alike(c.state, at(c.item, 2, 2))) << c.item;
        EXPECT_TRUE(alike(c.state, at(c.item, 13, 13))) << c.item;
        EXPECT_TRUE(alike(background, at(c.item, 1, 3))) << c.item;
        EXPECT_TRUE(alike(c.channel ? c.channelIcon : background, at(c.item, 30, 2))) << c.item;
        EXPECT_TRUE(alike(c.channel ? ColorOf(Cyan) : background, at(c.item, 31, 17))) << c.item;
    }

    // An empty list with the focus draws its empty item white.
    CImage empty;
    ASSERT_TRUE(empty.Create(60, CRecordListBox::ItemHeight, 24));
    {
        CImageDC dc(empty);
        DRAWITEMSTRUCT item{};
        item.CtlType = ODT_LISTBOX;
        item.itemID = static_cast<UINT>(-1);
        item.hDC = dc;
        item.rcItem = RECT{0, 0, 60, CRecordListBox::ItemHeight};
        host->List().DrawItem(item);
    }
    EXPECT_TRUE(alike(RGB(255, 255, 255), empty.GetPixel(30, 15)));
    EXPECT_TRUE(alike(RGB(255, 255, 255), empty.GetPixel(3, 3)));

    // Text in the item's colour on both lines, right of x 50 only.
    auto hasText = [&](int item, int top, int bottom, int left, int right) {
        for (int y = top; y < bottom; ++y) {
            for (int x = left; x < right; ++x) {
                if (UiTest::Near(at(item, x, y), CRecordListBox::TextColor, 60))
                    return true;
            }
        }
        return false;
    };
    for (int item = 0; item < 4; ++item) {
        EXPECT_TRUE(hasText(item, 0, 13, 50, 230)) << item;
        EXPECT_TRUE(hasText(item, 13, h - 1, 50, 230)) << item;
        EXPECT_FALSE(hasText(item, 0, h - 1, 14, 30)) << item;
    }
}

TEST_F(RecordsPage, PlayCommandsGoToTheMainWindowForRecordsThatHaveThem)
{
    ASSERT_TRUE(folder->Write(L"Datei#de_kanal#10.bin", 100));
    ASSERT_TRUE(folder->Write(L"Fremd#zz_weg#7.bin", 10));
    Start();
    CRecord* file = Find(L"Datei");
    CRecord* foreign = Find(L"Fremd");
    CRecord* scheduled = AddScheduled(L"Bald", Radio());

    struct Case {
        const char* what;
        CRecord* record;
        UINT command;
        UINT expectedMessage;  // 0: nothing is sent
        LPARAM expectedParam;
    };
    const Case cases[] = {
        {"play a file", file, ID_RECORD_PLAY, WM_PLAY_RECORD, reinterpret_cast<LPARAM>(file)},
        {"play a file's channel", file, ID_RECORD_PLAY_CHANNEL, WM_PLAY_CHANNEL, reinterpret_cast<LPARAM>(Tv())},
        {"play a scheduled record", scheduled, ID_RECORD_PLAY, 0, 0},
        {"play a scheduled record's channel", scheduled, ID_RECORD_PLAY_CHANNEL, WM_PLAY_CHANNEL,
         reinterpret_cast<LPARAM>(Radio())},
        {"play the channel of a file without one", foreign, ID_RECORD_PLAY_CHANNEL, 0, 0},
    };
    for (const Case& c : cases) {
        host->main.received.clear();
        host->Select(c.record);
        Command(c.command);
        if (c.expectedMessage == 0) {
            EXPECT_TRUE(host->main.received.empty()) << c.what;
            continue;
        }
        ASSERT_EQ(1u, host->main.received.size()) << c.what;
        EXPECT_EQ(c.expectedMessage, host->main.received[0].message) << c.what;
        EXPECT_EQ(0u, host->main.received[0].wParam) << c.what;
        EXPECT_EQ(c.expectedParam, host->main.received[0].lParam) << c.what;
    }

    // Nothing selected: nothing happens.
    host->main.received.clear();
    host->List().SetCurSel(-1);
    Command(ID_RECORD_PLAY);
    Command(ID_RECORD_PLAY_CHANNEL);
    EXPECT_TRUE(host->main.received.empty());
}

TEST_F(RecordsPage, ADoubleClickAndEnterPlayAFinishedRecordingOnly)
{
    ASSERT_TRUE(folder->Write(L"Datei#de_kanal#10.bin", 100));
    Start();
    CRecord* file = Find(L"Datei");
    CRecord* scheduled = AddScheduled(L"Bald", Radio());
    const HWND list = host->List();

    auto doubleClick = [&](const CRecord* record) {
        RECT rect{};
        host->List().GetItemRect(host->IndexOf(record), &rect);
        const LPARAM at = MAKELPARAM(60, (rect.top + rect.bottom) / 2);
        ::PostMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, at);
        ::PostMessageW(list, WM_LBUTTONUP, 0, at);
        ::PostMessageW(list, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
        ::PostMessageW(list, WM_LBUTTONUP, 0, at);
        UiTest::Pump();
    };
    auto enter = [&](const CRecord* record) {
        host->Select(record);
        ::SetFocus(list);
        UiTest::PostKey(list, VK_RETURN);
        UiTest::Pump();
    };
    auto wantsEnter = [&](const CRecord* record) {
        host->Select(record);
        MSG key{list, WM_KEYDOWN, VK_RETURN, 1, 0, {0, 0}};
        return (::SendMessageW(list, WM_GETDLGCODE, VK_RETURN, reinterpret_cast<LPARAM>(&key)) &
                DLGC_WANTMESSAGE) != 0;
    };

    doubleClick(scheduled);
    EXPECT_EQ(scheduled, host->page.GetSelectedRecord());
    enter(scheduled);
    EXPECT_TRUE(host->main.received.empty());
    EXPECT_FALSE(wantsEnter(scheduled));

    doubleClick(file);
    enter(file);
    ASSERT_EQ(2u, host->main.received.size());
    for (const auto& received : host->main.received) {
        EXPECT_EQ(WM_PLAY_RECORD, received.message);
        EXPECT_EQ(reinterpret_cast<LPARAM>(file), received.lParam);
    }
    // A dialog manager leaves Enter to the list while it has a file to play.
    EXPECT_TRUE(wantsEnter(file));
}

TEST_F(RecordsPage, ShowInFolderSelectsTheFileInTheExplorer)
{
    ASSERT_TRUE(folder->Write(L"Datei#de_kanal#10.bin", 100));
    Start();
    struct Call {
        std::wstring operation, file, parameters;
        int show;
    };
    std::vector<Call> calls;
    CRecordsCtrl::SetShellRunner([&](const wchar_t* operation, const wchar_t* file, const std::wstring& parameters,
                                     int show) { calls.push_back({operation, file, parameters, show}); });

    host->Select(AddScheduled(L"Bald", Radio()));
    Command(ID_RECORD_OPEN_FOLDER);
    EXPECT_TRUE(calls.empty());

    host->Select(Find(L"Datei"));
    Command(ID_RECORD_OPEN_FOLDER);
    CRecordsCtrl::SetShellRunner(nullptr);
    ASSERT_EQ(1u, calls.size());
    EXPECT_EQ(L"open", calls[0].operation);
    EXPECT_EQ(L"explorer", calls[0].file);
    EXPECT_EQ(L"/select, \"" + folder->File(L"Datei#de_kanal#10.bin") + L"\"", calls[0].parameters);
    EXPECT_EQ(SW_SHOWNORMAL, calls[0].show);
}

TEST_F(RecordsPage, ARecordingIsStoppedNotDeletedAndABeingDeletedOneTakesNoCommands)
{
    Start();
    CRecord* recording = AddRecording(L"Live", RecorderPlan::RecordData);
    host->Select(recording);
    Command(ID_RECORD_DELETE);
    Command(ID_RECORD_PROPERTIES);
    ASSERT_EQ(recording, Find(L"Live"));
    EXPECT_TRUE(recording->IsRecording());

    Command(ID_RECORD_STOP);
    ASSERT_TRUE(WaitFor([&] { return recording->GetState() == Recorder::Done; }));
    EXPECT_TRUE(recording->HasFile());
    const std::wstring path = recording->GetPath();
    EXPECT_TRUE(FileExists(path));
    Command(ID_RECORD_DELETE);
    EXPECT_EQ(nullptr, Find(L"Live"));
    EXPECT_FALSE(FileExists(path));

    // Deleted while recording: it stops and goes by itself; in between it
    // takes no command.
    CRecord* closing = AddRecording(L"Weg");
    host->Select(closing);
    HoldRecorderStops(true);
    closing->Delete();
    ASSERT_TRUE(closing->IsClosing());
    host->main.received.clear();
    Command(ID_RECORD_PLAY_CHANNEL);
    Command(ID_RECORD_STOP);
    UiTest::Pump();
    EXPECT_TRUE(host->main.received.empty());
    EXPECT_EQ(closing, Find(L"Weg"));
    HoldRecorderStops(false);
    EXPECT_TRUE(WaitFor([&] { return Find(L"Weg") == nullptr; }));
    EXPECT_EQ(0, host->tabCount);
}

TEST_F(RecordsPage, TheListsTimerStartsARecordWhoseStartHasCome)
{
    Start();
    const CTime now = CTime::Now();
    const CTime start = now - CTimeSpan(1);
    const CTime end = now + CTimeSpan(3600);
    const int made = RecordersMade();
    CRecord* record = manager->AddRecord(Tv(), L"Gleich", CRecord::Once, &start, &end, nullptr);
    EXPECT_EQ(0, record->GetState());
    // No message but the list's own timer.
    EXPECT_TRUE(WaitFor([&] { return record->GetState() == Recorder::Connecting; }));
    EXPECT_EQ(made + 1, RecordersMade());
}

} // namespace
} // namespace RecordsUiTest
