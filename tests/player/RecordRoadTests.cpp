// The main window's record roads with the records page: the records folder
// listed on the records tab, the record command opening the record dialog
// and adding what it returns, a finished recording played through the
// back-end for its type, and the exit that asks before it stops running
// recordings. The radio channel's stream is a local station.

#include "foundation/Lang.h"
#include "player/app/MainDlg.h"
#include "player/app/Settings.h"
#include "player/recording/Record.h"
#include "player/recording/RecordManager.h"
#include "player/ui/MsgBox.h"
#include "tests/player/MainWindowFixture.h"
#include "tests/support/WindowRefusal.h"
#include "tests/player/Mp3StreamServer.h"
#include "tests/support/TempFolder.h"

namespace PlayerTest {
namespace {

class RecordRoads : public MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        ASSERT_TRUE(m_station.IsRunning());
        UseStandardCatalogue(m_server.GetPort(), m_station.GetUrl());
    }

    CRecordManager& Manager() { return *Main().GetRecordManager(); }
    CRecordListBox& RecordList() { return Panel().GetRecordListBox(); }
    // Records the radio channel now, as the record dialog's OK does; the
    // record, or null when none was added.
    const CRecord* RecordRadioNow()
    {
        ModalDriver driver({Press(IDOK)});
        Main().SendMessage(WM_RECORD_CHANNEL, 0, reinterpret_cast<LPARAM>(Channel(Ids::Radio)));
        return Manager().GetRecords().size() == 1 ? Manager().GetRecords()[0].get() : nullptr;
    }
    bool RecordButtonEnabled() { return ::IsWindowEnabled(Controls().GetDlgItem(IDC_RECORD)) != FALSE; }
    // A finished recording in the records folder.
    static std::wstring PutRecording(const std::wstring& fileName)
    {
        const std::wstring path = RecordsFolder() + fileName;
        ::CreateDirectoryW(RecordsFolder().c_str(), nullptr);
        EXPECT_TRUE(WriteWholeFile(path, std::string(4096, 'x')));
        return path;
    }

    Mp3StreamServer m_station;
};

// The text of the message box the action sees, then the button.
ModalDriver::Action NoteMessageAndPress(std::wstring& text, int buttonId)
{
    return [&text, buttonId](HWND dialog) {
        if (const CMsgBox* box = dynamic_cast<const CMsgBox*>(CWindowImplRoot::FromHandle(dialog)))
            text = box->GetText();
        Press(buttonId)(dialog);
    };
}

TEST_F(RecordRoads, TheRecordsTabListsTheRecordingsOfTheRecordsFolder)
{
    PutRecording(L"Show#de_tst_radio#125.mp3");
    PutRecording(L"Other#xx_none#3.asf");
    Open();
    ASSERT_NE(Main().GetRecordManager(), nullptr);
    EXPECT_EQ(Manager().GetFolder(), RecordsFolder());
    EXPECT_EQ(RecordList().GetCount(), 2);
    EXPECT_EQ(Panel().GetShownCount(CChannelsCtrl::RecordsTab), 2);
    ClickTab(CChannelsCtrl::RecordsTab);
    EXPECT_TRUE(RecordList().IsWindowVisible());
    EXPECT_TRUE(Panel().GetRecordsPage().IsWindowVisible());
}

TEST_F(RecordRoads, TheRecordButtonOpensTheRecordDialogForTheCurrentChannelAndOkAddsTheRecord)
{
    Open();
    Play(Channel(Ids::Radio));
    ASSERT_TRUE(RecordButtonEnabled());

    // Cancel adds nothing.
    std::wstring proposed;
    {
        ModalDriver driver({[&](HWND dialog) {
            wchar_t name[128] = {};
            ::GetDlgItemTextW(dialog, IDC_RECORD_NAME, name, 127);
            proposed = name;
            Press(IDCANCEL)(dialog);
        }});
        ::PostMessageW(Controls().GetDlgItem(IDC_RECORD), BM_CLICK, 0, 0);
        PumpUntil([&] { return !driver.Dialogs().empty(); });
        PumpFor(200);
    }
    EXPECT_EQ(proposed, L"Bayern Welle");
    EXPECT_TRUE(Manager().GetRecords().empty());

    // A record for once, from the channel menu's command.
    {
        ModalDriver driver({[](HWND dialog) {
            HWND type = ::GetDlgItem(dialog, IDC_RECORD_TYPE);
            ::SendMessageW(type, CB_SETCURSEL, CRecord::Once, 0);
            ::SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDC_RECORD_TYPE, CBN_SELCHANGE),
                           reinterpret_cast<LPARAM>(type));
            SYSTEMTIME start{2031, 5, 0, 6, 20, 0, 0, 0};
            SYSTEMTIME end{2031, 5, 0, 6, 21, 30, 0, 0};
            ::SendMessageW(::GetDlgItem(dialog, IDC_RECORD_START), DTM_SETSYSTEMTIME, GDT_VALID,
                           reinterpret_cast<LPARAM>(&start));
            ::SendMessageW(::GetDlgItem(dialog, IDC_RECORD_END), DTM_SETSYSTEMTIME, GDT_VALID,
                           reinterpret_cast<LPARAM>(&end));
            Press(IDOK)(dialog);
        }});
        Main().SendMessage(WM_RECORD_CHANNEL, 0, reinterpret_cast<LPARAM>(Channel(Ids::Radio)));
    }
    ASSERT_EQ(Manager().GetRecords().size(), 1u);
    const CRecord& record = *Manager().GetRecords()[0];
    EXPECT_EQ(record.GetName(), L"Bayern Welle");
    EXPECT_EQ(record.GetType(), CRecord::Once);
    EXPECT_EQ(record.GetChannel(), Channel(Ids::Radio));
    EXPECT_FALSE(record.IsRecording());
    EXPECT_EQ(record.GetStatusText(), L"20:00 06/05/2031 - 21:30 06/05/2031");
    EXPECT_EQ(RecordList().GetCount(), 1);
    EXPECT_EQ(Panel().GetShownCount(CChannelsCtrl::RecordsTab), 1);
}

TEST_F(RecordRoads, SavedSchedulesComeBackAtTheNextStartWithTheirRecorders)
{
    Open();
    const CTime start(2031, 5, 2, 20, 15, 0);
    const CTime end(2031, 5, 2, 22, 0, 0);
    const bool weekend[7] = {false, false, false, false, false, true, true};
    // "Erstes Test" names its back-end's recorder ("D"), the radio its own.
    Manager().AddRecord(Channel(Ids::One), L"Film", CRecord::Weekly, &start, &end, weekend);
    Manager().AddRecord(Channel(Ids::Radio), L"Nachrichten", CRecord::Once, &start, &end, nullptr);
    ASSERT_TRUE(CSettings::Save());
    Close();
    m_main.reset();

    CSettings::Load(SettingsFileName());
    {
        // A record without its recorder would say so in a message box.
        ModalDriver driver({});
        Open();
        EXPECT_TRUE(driver.Dialogs().empty());
    }
    ASSERT_EQ(Manager().GetRecords().size(), 2u);
    EXPECT_EQ(Panel().GetShownCount(CChannelsCtrl::RecordsTab), 2);
    for (const auto& record : Manager().GetRecords()) {
        ASSERT_NE(record->GetFactory(), nullptr) << std::string(record->GetName().begin(), record->GetName().end());
        if (record->GetName() == L"Film") {
            EXPECT_EQ(record->GetType(), CRecord::Weekly);
            EXPECT_EQ(record->GetExtension(), L"asf");
            EXPECT_EQ(record->GetChannel(), Channel(Ids::One));
        } else {
            EXPECT_EQ(record->GetName(), L"Nachrichten");
            EXPECT_EQ(record->GetType(), CRecord::Once);
            EXPECT_EQ(record->GetExtension(), L"mp3");
            CTime savedStart;
            CTime savedEnd;
            record->GetTimes(savedStart, savedEnd);
            EXPECT_EQ(savedStart, start);
            EXPECT_EQ(savedEnd, end);
        }
    }
}

TEST_F(RecordRoads, AFinishedRecordingPlaysThroughTheMediaPlayerAndItsNameGoesInTheTitle)
{
    const std::wstring path = PutRecording(L"Show#de_tst_radio#125.mp3");
    Open();
    ASSERT_EQ(Manager().GetRecords().size(), 1u);
    CRecord* record = Manager().GetRecords()[0].get();
    Play(Channel(Ids::Radio));
    ASSERT_EQ(Media().plays.size(), 1u);

    Main().SendMessage(WM_PLAY_RECORD, 0, reinterpret_cast<LPARAM>(record));
    ASSERT_EQ(Media().plays.size(), 2u);
    EXPECT_EQ(Media().plays.back().url, path);
    EXPECT_EQ(Media().plays.back().title, L"Show");
    EXPECT_EQ(Main().GetWindowText(), L"Brisvane Recorder - Show " + KV::Lang::GetText("str_record"));
    EXPECT_EQ(Main().GetCatalogue()->GetCurrentChannel(), nullptr);
    EXPECT_EQ(Manager().GetCurrentRecord(), record);
    EXPECT_TRUE(Controls().IsPlaying());
    EXPECT_FALSE(RecordButtonEnabled());

    // Play with no channel current plays the current record.
    Main().SendMessage(WM_PLAY_CHANNEL, 0, 0);
    ASSERT_EQ(Media().plays.size(), 3u);
    EXPECT_EQ(Media().plays.back().url, path);

    // Playing a channel ends the record's turn.
    Play(Channel(Ids::Radio));
    EXPECT_EQ(Manager().GetCurrentRecord(), nullptr);
    EXPECT_EQ(Main().GetWindowText(), L"Brisvane Recorder - Bayern Welle");
    Main().SendMessage(WM_PLAY_CHANNEL, 0, 0);
    EXPECT_EQ(Media().plays.back().url, m_station.GetUrl());

    // What is no record of the list plays nothing.
    int notARecord = 0;
    const size_t plays = Media().plays.size();
    Main().SendMessage(WM_PLAY_RECORD, 0, reinterpret_cast<LPARAM>(&notARecord));
    EXPECT_EQ(Media().plays.size(), plays);
}

TEST_F(RecordRoads, ExitWhileRecordingAsksNoKeepsRecordingAndYesStopsAndKeepsTheFile)
{
    Open();
    const CRecord* record = RecordRadioNow();
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record->GetType(), CRecord::Now);
    ASSERT_TRUE(PumpUntil([&] { return record->GetBytes() > 40000; }, 20000));

    std::wstring question;
    {
        ModalDriver driver({NoteMessageAndPress(question, IDCANCEL)});
        Main().SendMessage(WM_COMMAND, ID_APP_EXIT);
        EXPECT_EQ(driver.Dialogs().size(), 1u);
    }
    EXPECT_EQ(question, KV::Lang::GetText("msg_recording"));
    ASSERT_TRUE(Main().IsWindow());
    EXPECT_TRUE(Main().IsWindowEnabled());
    EXPECT_TRUE(record->IsRecording());
    const uint64_t bytes = record->GetBytes();
    EXPECT_TRUE(PumpUntil([&] { return record->GetBytes() > bytes; }, 10000));

    question.clear();
    {
        ModalDriver driver({NoteMessageAndPress(question, IDOK)});
        Main().SendMessage(WM_COMMAND, ID_APP_EXIT);
    }
    EXPECT_EQ(question, KV::Lang::GetText("msg_recording"));
    EXPECT_FALSE(Main().IsWindow());
    // The recording ended before the window went: its file has its final
    // name.
    WIN32_FIND_DATAW found{};
    HANDLE search = ::FindFirstFileW((RecordsFolder() + L"Bayern Welle#de_tst_radio#*.mp3").c_str(), &found);
    ASSERT_NE(search, INVALID_HANDLE_VALUE);
    ::FindClose(search);
    EXPECT_STRNE(found.cFileName, L"Bayern Welle#de_tst_radio#0.mp3");
    EXPECT_GT(found.nFileSizeLow, 40000u);
}

TEST_F(RecordRoads, ExitWhileRecordingGoesNoFurtherWhenTheQuestionCannotOpen)
{
    Open();
    const CRecord* record = RecordRadioNow();
    ASSERT_NE(record, nullptr);
    ASSERT_TRUE(PumpUntil([&] { return record->GetBytes() > 0; }, 20000));
    {
        WindowRefusal refusal;
        ASSERT_TRUE(refusal.Active());
        Main().SendMessage(WM_COMMAND, ID_APP_EXIT);
    }
    ASSERT_TRUE(Main().IsWindow());
    EXPECT_TRUE(Main().IsWindowEnabled());
    EXPECT_TRUE(record->IsRecording());
}

TEST_F(RecordRoads, NoScheduledRecordStartsWhileTheExitWaits)
{
    Open();
    Play(Channel(Ids::One));
    // The back-end never reports itself stopped: the exit waits for it as
    // long as it may, while records come due.
    Media().stopsOnRequest = false;
    const CTime now = CTime::Now();
    const CTime later = now + CTimeSpan(600);
    const CRecord* record = Manager().AddRecord(Channel(Ids::Radio), L"Spät", CRecord::Once, &now, &later, nullptr);
    EXPECT_FALSE(record->IsRecording());

    Main().SendMessage(WM_COMMAND, ID_APP_EXIT);
    EXPECT_FALSE(Main().IsWindow());
    WIN32_FIND_DATAW found{};
    HANDLE search = ::FindFirstFileW((RecordsFolder() + L"Spät#*").c_str(), &found);
    EXPECT_EQ(search, INVALID_HANDLE_VALUE) << "a recording began during the exit";
    if (search != INVALID_HANDLE_VALUE)
        ::FindClose(search);
    EXPECT_EQ(m_station.GetStreamCount(), 0u);
}

}  // namespace
}  // namespace PlayerTest
