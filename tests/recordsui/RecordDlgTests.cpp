// The record dialog: what it proposes for a new record of a channel or
// shows for a scheduled record, how the type switches its controls, what
// it gives back on OK, what it refuses and with which message, and the
// records page's properties command that opens it.
#include "tests/recordsui/RecordsPageFixture.h"

#include "foundation/Lang.h"
#include "player/catalogue/Channel.h"
#include "player/ui/RecordDlg.h"
#include "tests/support/WindowText.h"

#include <commctrl.h>

#include <functional>
#include <string>
#include <vector>

namespace RecordsUiTest {
namespace {

using RecordDialog = RecordsPageTest;

HWND Item(HWND dialog, int id)
{
    return ::GetDlgItem(dialog, id);
}

const CBRSCheckBox* DayBox(HWND dialog, int day)
{
    return dynamic_cast<const CBRSCheckBox*>(CWindowImplRoot::FromHandle(Item(dialog, IDC_RECORD_DAY_FIRST + day)));
}

void ChooseType(HWND dialog, int type)
{
    const HWND list = Item(dialog, IDC_RECORD_TYPE);
    ::SendMessageW(list, CB_SETCURSEL, static_cast<WPARAM>(type), 0);
    ::SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDC_RECORD_TYPE, CBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
}

void SetPicker(HWND dialog, int id, const CTime& time)
{
    SYSTEMTIME local{};
    ASSERT_TRUE(time.GetAsSystemTime(local));
    ::SendMessageW(Item(dialog, id), DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&local));
}

CTime PickerTime(HWND dialog, int id)
{
    SYSTEMTIME local{};
    ::SendMessageW(Item(dialog, id), DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&local));
    return CTime(local);
}

void SetName(HWND dialog, const std::wstring& name)
{
    ::SetWindowTextW(Item(dialog, IDC_RECORD_NAME), name.c_str());
}

// A real click on a day box (Monday 0 ... Sunday 6).
void ClickDay(HWND dialog, int day)
{
    UiTest::PostClickCentre(Item(dialog, IDC_RECORD_DAY_FIRST + day));
}

struct Shown {
    std::wstring caption, name, ok, cancel;
    std::vector<std::wstring> types, days;
    int type = -1;
    std::wstring startShows, endShows;
    bool pickersEnabled = true, daysEnabled = true;
    std::vector<bool> checked;
};

Shown ReadDialog(HWND dialog)
{
    Shown shown;
    shown.caption = TextOf(dialog);
    shown.name = TextOf(Item(dialog, IDC_RECORD_NAME));
    shown.ok = TextOf(Item(dialog, IDOK));
    shown.cancel = TextOf(Item(dialog, IDCANCEL));
    const HWND list = Item(dialog, IDC_RECORD_TYPE);
    for (int i = 0; i < static_cast<int>(::SendMessageW(list, CB_GETCOUNT, 0, 0)); ++i) {
        wchar_t text[128] = {};
        ::SendMessageW(list, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
        shown.types.push_back(text);
    }
    shown.type = static_cast<int>(::SendMessageW(list, CB_GETCURSEL, 0, 0));
    shown.startShows = TextOf(Item(dialog, IDC_RECORD_START));
    shown.endShows = TextOf(Item(dialog, IDC_RECORD_END));
    shown.pickersEnabled =
        ::IsWindowEnabled(Item(dialog, IDC_RECORD_START)) && ::IsWindowEnabled(Item(dialog, IDC_RECORD_END));
    shown.daysEnabled = true;
    for (int day = 0; day < RecordSchedule::WeekdayCount; ++day) {
        shown.days.push_back(TextOf(Item(dialog, IDC_RECORD_DAY_FIRST + day)));
        shown.daysEnabled = shown.daysEnabled && ::IsWindowEnabled(Item(dialog, IDC_RECORD_DAY_FIRST + day));
        const CBRSCheckBox* box = DayBox(dialog, day);
        shown.checked.push_back(box != nullptr && box->GetCheck());
    }
    return shown;
}

TEST_F(RecordDialog, ANewRecordOfAChannelProposesAFreeNameAndRecordsNow)
{
    Start();
    struct Case {
        std::vector<std::wstring> taken;
        std::wstring proposed;
    };
    const Case cases[] = {
        {{}, L"Kanal Eins"},
        {{L"kanal EINS"}, L"Kanal Eins (2)"},
        {{L"Kanal Eins (2)"}, L"Kanal Eins (3)"},
    };
    for (const Case& c : cases) {
        for (const std::wstring& name : c.taken)
            AddScheduled(name, Radio());
        Shown shown;
        DialogDriver driver({[&](HWND dialog) {
            shown = ReadDialog(dialog);
            Dismiss(dialog);
        }});
        CRecordDlg dialog(Tv(), nullptr);
        EXPECT_EQ(IDCANCEL, dialog.DoModal(host->main));
        EXPECT_EQ(1u, driver.StepsRun());
        EXPECT_EQ(c.proposed, shown.name);
    }

    Shown shown;
    DialogDriver driver({[&](HWND dialog) {
        shown = ReadDialog(dialog);
        Dismiss(dialog);
    }});
    EXPECT_EQ(IDCANCEL, CRecordDlg(Tv(), nullptr).DoModal(host->main));
    EXPECT_EQ(KV::Lang::GetText("dlg_record"), shown.caption);
    EXPECT_EQ(L"OK", shown.ok);
    EXPECT_EQ(KV::Lang::GetText("button_cancel"), shown.cancel);
    EXPECT_EQ((std::vector<std::wstring>{KV::Lang::GetText("str_record_now"), KV::Lang::GetText("str_schedule"),
                                         KV::Lang::GetText("str_schedule_weekly")}),
              shown.types);
    EXPECT_EQ(0, shown.type);
    EXPECT_FALSE(shown.pickersEnabled);
    EXPECT_FALSE(shown.daysEnabled);
    EXPECT_EQ(std::vector<bool>(7, true), shown.checked);
    for (int day = 0; day < 7; ++day)
        EXPECT_EQ(KV::Lang::GetText("str_day_" + std::to_string(day + 1)), shown.days[static_cast<size_t>(day)]);
}

TEST_F(RecordDialog, TheTypeSwitchesPickersDaysAndWhatThePickersShow)
{
    Start();
    struct Case {
        int type;
        bool pickers;
        bool days;
    };
    const Case cases[] = {{1, true, false}, {2, true, true}, {0, false, false}, {2, true, true}, {1, true, false}};
    std::vector<Shown> seen;
    const CTime start = LocalTime(2031, 5, 6, 7, 5);
    const CTime end = LocalTime(2031, 5, 6, 19, 45);
    DialogDriver driver({[&](HWND dialog) {
        SetPicker(dialog, IDC_RECORD_START, start);
        SetPicker(dialog, IDC_RECORD_END, end);
        for (const Case& c : cases) {
            ChooseType(dialog, c.type);
            seen.push_back(ReadDialog(dialog));
        }
        Dismiss(dialog);
    }});
    CRecordDlg(Tv(), nullptr).DoModal(host->main);
    ASSERT_EQ(std::size(cases), seen.size());
    for (size_t i = 0; i < seen.size(); ++i) {
        EXPECT_EQ(cases[i].type, seen[i].type) << i;
        EXPECT_EQ(cases[i].pickers, seen[i].pickersEnabled) << i;
        EXPECT_EQ(cases[i].days, seen[i].daysEnabled) << i;
        // Hour and minute; the date too unless the record is weekly.
        const bool weekly = cases[i].type == 2;
        EXPECT_EQ(weekly ? L"07 : 05" : L"07 : 05    06 / 5 / 2031", seen[i].startShows) << i;
        EXPECT_EQ(weekly ? L"19 : 45" : L"19 : 45    06 / 5 / 2031", seen[i].endShows) << i;
    }
}

TEST_F(RecordDialog, OkGivesTheChosenNameTypeTimesAndDays)
{
    Start();
    const CTime lateStart = LocalTime(2031, 5, 6, 23, 30);
    const CTime pastMidnight = LocalTime(2031, 5, 7, 0, 30);
    const CTime evening = LocalTime(2031, 5, 6, 20, 0);
    const CTime later = LocalTime(2031, 5, 6, 21, 15);
    struct Case {
        const char* what;
        std::function<void(HWND)> fill;
        std::wstring name;
        int type;
        CTime start, end;  // unused for "now"
        std::vector<bool> days;
    };
    const Case cases[] = {
        {"now, as proposed", [](HWND) {}, L"Kanal Eins", 0, CTime(), CTime(), std::vector<bool>(7, true)},
        {"once across midnight",
         [&](HWND dialog) {
             SetName(dialog, L"Nachtfilm");
             ChooseType(dialog, 1);
             SetPicker(dialog, IDC_RECORD_START, lateStart);
             SetPicker(dialog, IDC_RECORD_END, pastMidnight);
         },
         L"Nachtfilm", 1, lateStart, pastMidnight, std::vector<bool>(7, true)},
        {"weekly without Monday, Wednesday and Sunday",
         [&](HWND dialog) {
             ChooseType(dialog, 2);
             SetPicker(dialog, IDC_RECORD_START, evening);
             SetPicker(dialog, IDC_RECORD_END, later);
             ClickDay(dialog, 0);
             ClickDay(dialog, 2);
             ClickDay(dialog, 6);
         },
         L"Kanal Eins", 2, evening, later, {false, true, false, true, true, true, false}},
    };
    for (const Case& c : cases) {
        DialogDriver driver({[&](HWND dialog) {
            c.fill(dialog);
            UiTest::PostClickCentre(Item(dialog, IDOK));
        }});
        CRecordDlg dialog(Tv(), nullptr);
        const CTime before = CTime::Now();
        ASSERT_EQ(IDOK, dialog.DoModal(host->main)) << c.what;
        const CTime after = CTime::Now();
        EXPECT_EQ(c.name, dialog.GetName()) << c.what;
        EXPECT_EQ(c.type, dialog.GetType()) << c.what;
        if (c.type == 0) {
            EXPECT_EQ(dialog.GetStart(), dialog.GetEnd()) << c.what;
            EXPECT_LE(before, dialog.GetStart()) << c.what;
            EXPECT_GE(after, dialog.GetStart()) << c.what;
        } else {
            EXPECT_EQ(c.start, dialog.GetStart()) << c.what;
            EXPECT_EQ(c.end, dialog.GetEnd()) << c.what;
        }
        const std::vector<bool> days(dialog.GetWeekdays(), dialog.GetWeekdays() + 7);
        EXPECT_EQ(c.days, days) << c.what;
    }
}

TEST_F(RecordDialog, RefusedInputShowsItsMessageAndKeepsTheDialogOpen)
{
    Start();
    AddScheduled(L"Morgen", Radio());
    const CTime t2200 = LocalTime(2031, 5, 6, 22, 0);
    const CTime t0100 = LocalTime(2031, 5, 6, 1, 0);
    const CTime t2300 = LocalTime(2031, 5, 6, 23, 0);
    struct Case {
        const char* what;
        std::function<void(HWND)> fill;
        const char* message;
    };
    const Case cases[] = {
        {"an empty name", [](HWND dialog) { SetName(dialog, L""); }, "msg_record_name"},
        {"another record's name in other letters", [](HWND dialog) { SetName(dialog, L"MORGEN"); },
         "msg_record_name"},
        {"once, start equals end",
         [&](HWND dialog) {
             ChooseType(dialog, 1);
             SetPicker(dialog, IDC_RECORD_START, t2200);
             SetPicker(dialog, IDC_RECORD_END, t2200);
         },
         "msg_wrong_time"},
        {"once, end before start",
         [&](HWND dialog) {
             ChooseType(dialog, 1);
             SetPicker(dialog, IDC_RECORD_START, t2300);
             SetPicker(dialog, IDC_RECORD_END, t2200);
         },
         "msg_wrong_time"},
        {"weekly 22:00 to 01:00",
         [&](HWND dialog) {
             ChooseType(dialog, 2);
             SetPicker(dialog, IDC_RECORD_START, t2200);
             SetPicker(dialog, IDC_RECORD_END, t0100 + CTimeSpan(86400));
         },
         "msg_wrong_time"},
        {"weekly without a day",
         [&](HWND dialog) {
             ChooseType(dialog, 2);
             SetPicker(dialog, IDC_RECORD_START, t2200);
             SetPicker(dialog, IDC_RECORD_END, t2300);
             for (int day = 0; day < 7; ++day)
                 ClickDay(dialog, day);
         },
         "msg_week_days"},
    };
    for (const Case& c : cases) {
        std::wstring message;
        bool stillOpen = false;
        DialogDriver driver({[&](HWND dialog) {
                                 c.fill(dialog);
                                 UiTest::PostClickCentre(Item(dialog, IDOK));
                             },
                             [&](HWND box) {
                                 message = MessageBoxText(box);
                                 Dismiss(box);
                             },
                             [&](HWND dialog) {
                                 stillOpen = ::IsWindowVisible(dialog) != FALSE;
                                 Dismiss(dialog);
                             }});
        EXPECT_EQ(IDCANCEL, CRecordDlg(Tv(), nullptr).DoModal(host->main)) << c.what;
        EXPECT_EQ(3u, driver.StepsRun()) << c.what;
        EXPECT_EQ(KV::Lang::GetText(c.message), message) << c.what;
        EXPECT_TRUE(stillOpen) << c.what;
    }
}

TEST_F(RecordDialog, ARecordKeepsItsOwnNameInAnyCaseButCannotTakeAnothers)
{
    Start();
    AddScheduled(L"Morgen", Radio());
    CRecord* evening = AddScheduled(L"Abend", Tv(), CRecord::Weekly);
    CTime start, end;
    evening->GetTimes(start, end);

    Shown shown;
    CTime shownStart, shownEnd;
    std::wstring refusal;
    DialogDriver driver({[&](HWND dialog) {
                             shown = ReadDialog(dialog);
                             shownStart = PickerTime(dialog, IDC_RECORD_START);
                             shownEnd = PickerTime(dialog, IDC_RECORD_END);
                             SetName(dialog, L"morgen");
                             ClickButton(dialog, IDOK);
                         },
                         [&](HWND box) {
                             refusal = MessageBoxText(box);
                             Dismiss(box);
                         },
                         [&](HWND dialog) {
                             SetName(dialog, L"ABEND");
                             ClickButton(dialog, IDOK);
                         }});
    CRecordDlg dialog(nullptr, evening);
    EXPECT_EQ(IDOK, dialog.DoModal(host->main));
    EXPECT_EQ(L"Abend", shown.name);
    EXPECT_EQ(2, shown.type);
    EXPECT_TRUE(shown.pickersEnabled);
    EXPECT_TRUE(shown.daysEnabled);
    EXPECT_EQ(std::vector<bool>(7, true), shown.checked);
    EXPECT_EQ(start, shownStart);
    EXPECT_EQ(end, shownEnd);
    EXPECT_EQ(KV::Lang::GetText("msg_record_name"), refusal);
    EXPECT_EQ(L"ABEND", dialog.GetName());
    EXPECT_EQ(2, dialog.GetType());
}

TEST_F(RecordDialog, PropertiesChangeAScheduledRecordAndNothingElse)
{
    ASSERT_TRUE(folder->Write(L"Datei#de_kanal#10.bin", 100));
    Start();
    CRecord* record = AddScheduled(L"Abend", Radio());
    AddScheduled(L"Morgen", Tv());
    const CTime start = LocalTime(2031, 5, 6, 20, 0);
    const CTime end = LocalTime(2031, 5, 6, 22, 0);

    host->Select(record);
    {
        DialogDriver driver({[&](HWND dialog) {
            SetName(dialog, L"Zuletzt");
            SetPicker(dialog, IDC_RECORD_START, start);
            SetPicker(dialog, IDC_RECORD_END, end);
            ClickButton(dialog, IDOK);
        }});
        Command(ID_RECORD_PROPERTIES);
        EXPECT_EQ(1u, driver.StepsRun());
    }
    EXPECT_EQ(L"Zuletzt", record->GetName());
    CTime gotStart, gotEnd;
    record->GetTimes(gotStart, gotEnd);
    EXPECT_EQ(start, gotStart);
    EXPECT_EQ(end, gotEnd);
    // Listed again under its new name, in order.
    EXPECT_EQ((std::vector<std::wstring>{L"Datei", L"Morgen", L"Zuletzt"}), host->Items());
    EXPECT_EQ(host->IndexOf(record), record->GetListIndex());

    // Cancel changes nothing.
    host->Select(record);
    {
        DialogDriver driver({[&](HWND dialog) {
            SetName(dialog, L"Anders");
            Dismiss(dialog);
        }});
        Command(ID_RECORD_PROPERTIES);
        EXPECT_EQ(1u, driver.StepsRun());
    }
    EXPECT_EQ(L"Zuletzt", record->GetName());

    // The schedule ticks on while the dialog is open: a record that started
    // recording meanwhile keeps what it had.
    const CTime now = CTime::Now();
    const CTime soon = now - CTimeSpan(1);
    const CTime hourLater = now + CTimeSpan(3600);
    CRecord* starting = manager->AddRecord(Tv(), L"Gleich", CRecord::Once, &soon, &hourLater, nullptr);
    host->Select(starting);
    {
        DialogDriver driver({[&](HWND dialog) {
            SetName(dialog, L"Umbenannt");
            host->List().SendMessage(WM_TIMER, CRecordListBox::TickTimer);
            ClickButton(dialog, IDOK);
        }});
        Command(ID_RECORD_PROPERTIES);
        EXPECT_EQ(1u, driver.StepsRun());
    }
    EXPECT_TRUE(starting->IsRecording());
    EXPECT_EQ(L"Gleich", starting->GetName());

    // A file has no properties: no dialog opens.
    host->Select(Find(L"Datei"));
    {
        DialogDriver driver({[&](HWND dialog) { Dismiss(dialog); }});
        Command(ID_RECORD_PROPERTIES);
        UiTest::Pump();
        EXPECT_EQ(0u, driver.StepsRun());
    }
}

} // namespace
} // namespace RecordsUiTest
