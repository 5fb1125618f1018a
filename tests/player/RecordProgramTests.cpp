// Recording in the real program: Brisvane.exe started as a user starts it,
// with a catalogue of the test whose channels are a radio station (HTTP
// audio) and an MMS station on 127.0.0.1, driven through its windows from
// this process. The recordings land in the real records folder under My
// Documents; the test's records are named after its channels ("RecTest")
// and removed around each test.

#include "player/recording/RecordManager.h"
#include "player/resources/Resource.h"
#include "tests/player/Mp3StreamServer.h"
#include "tests/player/PlayerTestSupport.h"
#include "tests/player/ProgramDriver.h"
#include "tests/recording/StreamServers.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <string>
#include <vector>

namespace PlayerTest {
namespace {

constexpr UINT ExitCommand = 32820;
const char RadioId[] = "de_rt_radio";
const wchar_t RadioName[] = L"RecTest Radio";
const char MmsId[] = "de_rt_mms";
const wchar_t MmsName[] = L"RecTest MMS";
constexpr int MmsPackets = 30;
// Rows of the channel list, sorted by name.
constexpr int MmsRow = 0;
constexpr int RadioRow = 1;
// Of the channels' streams, in kbit/s: the recordings' lengths follow.
constexpr int Bitrate = 128;
constexpr uint64_t BytesPerSecond = (Bitrate << 10) / 8;

std::wstring Folder()
{
    return ProgramFolderNamed(L"record_program");
}

std::wstring RecordsFolder()
{
    return CRecordManager::DefaultFolder();
}

// The file names of the test's recordings in the records folder.
std::vector<std::wstring> Recordings()
{
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found{};
    HANDLE search = ::FindFirstFileW((RecordsFolder() + L"RecTest*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do
        names.push_back(found.cFileName);
    while (::FindNextFileW(search, &found));
    ::FindClose(search);
    return names;
}

void RemoveRecordings()
{
    for (const std::wstring& name : Recordings())
        ::DeleteFileW((RecordsFolder() + name).c_str());
}

uint64_t SizeOf(const std::wstring& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!::GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data))
        return 0;
    return (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

// "name#channel#seconds.ext": the seconds, or -1 when the file name has
// another form.
long long SecondsIn(const std::wstring& fileName, const std::wstring& name, const char* channelId,
                    const std::wstring& extension)
{
    const std::wstring prefix = name + L"#" + std::wstring(channelId, channelId + strlen(channelId)) + L"#";
    const std::wstring suffix = L"." + extension;
    if (fileName.compare(0, prefix.size(), prefix) != 0 || fileName.size() <= prefix.size() + suffix.size() ||
        fileName.compare(fileName.size() - suffix.size(), suffix.size(), suffix) != 0)
        return -1;
    const std::wstring digits = fileName.substr(prefix.size(), fileName.size() - prefix.size() - suffix.size());
    if (digits.find_first_not_of(L"0123456789") != std::wstring::npos)
        return -1;
    return std::stoll(digits);
}

// The one recording of name whose duration has been written, or empty.
std::wstring FinishedRecording(const std::wstring& name, const char* channelId, const std::wstring& extension)
{
    for (const std::wstring& file : Recordings())
        if (SecondsIn(file, name, channelId, extension) > 0)
            return file;
    return std::wstring();
}

std::wstring StartedRecording(const std::wstring& name, const char* channelId, const std::wstring& extension)
{
    return name + L"#" + std::wstring(channelId, channelId + strlen(channelId)) + L"#0." + extension;
}

std::wstring ListText(HWND list, int index)
{
    const LRESULT length = ::SendMessageW(list, LB_GETTEXTLEN, index, 0);
    if (length < 0)
        return std::wstring();
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    ::SendMessageW(list, LB_GETTEXT, index, reinterpret_cast<LPARAM>(&text[0]));
    text.resize(static_cast<size_t>(length));
    return text;
}

std::vector<std::wstring> ListTexts(HWND list)
{
    std::vector<std::wstring> texts;
    const int count = static_cast<int>(::SendMessageW(list, LB_GETCOUNT, 0, 0));
    for (int index = 0; index < count; ++index)
        texts.push_back(ListText(list, index));
    return texts;
}

SYSTEMTIME LocalTimeIn(int seconds)
{
    SYSTEMTIME now{};
    ::GetLocalTime(&now);
    FILETIME file{};
    ::SystemTimeToFileTime(&now, &file);
    ULARGE_INTEGER value{};
    value.LowPart = file.dwLowDateTime;
    value.HighPart = file.dwHighDateTime;
    value.QuadPart += static_cast<ULONGLONG>(seconds) * 10000000ULL;
    file.dwLowDateTime = value.LowPart;
    file.dwHighDateTime = value.HighPart;
    SYSTEMTIME later{};
    ::FileTimeToSystemTime(&file, &later);
    later.wMilliseconds = 0;
    return later;
}

class RecordingProgram : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_radio.IsRunning());
        ASSERT_TRUE(InstallProgram(Folder()));
        std::vector<ChannelSpec> channels(2);
        channels[0].key = "rt_radio";
        channels[0].name = RadioName;
        channels[0].recorder = "mp3";
        channels[0].streams = {{Bitrate, m_radio.GetUrl()}};
        channels[1].key = "rt_mms";
        channels[1].name = MmsName;
        channels[1].recorder = "mms";
        channels[1].streams = {{Bitrate, L"http://127.0.0.1:" + std::to_wstring(m_mms.GetPort()) + L"/live.asf"}};
        for (ChannelSpec& channel : channels) {
            channel.country = "de";
            channel.category = "n";
            channel.player = "m";
            channel.radio = true;
        }
        MakeCatalogue(channels).Save(Folder() + L"\\Channels.brsc");
        RemoveRecordings();
        WriteSettings(StartSettings());
    }
    void TearDown() override { RemoveRecordings(); }

    static HWND Panel(HWND main) { return ::GetParent(FindDescendant(main, IDC_CHANNEL_LIST)); }
    static HWND RecordsList(HWND main) { return FindDescendant(main, IDC_RECORD_LIST); }

    // Selects the row in the channel list (the list holds no strings: its
    // rows are the channels sorted by name).
    static int SelectChannel(HWND main, int row)
    {
        HWND list = FindDescendant(main, IDC_CHANNEL_LIST);
        if (::SendMessageW(list, LB_GETCOUNT, 0, 0) != 2)
            return -1;
        ::SendMessageW(list, LB_SETCURSEL, row, 0);
        return row;
    }

    // Waits for the record dialog that trigger opens.
    static HWND OpenRecordDialog(const ProgramProcess& program, const std::function<void()>& trigger)
    {
        trigger();
        HWND dialog = nullptr;
        WaitFor([&] { return (dialog = program.DialogWithControl(IDC_RECORD_NAME)) != nullptr; });
        return dialog;
    }
    static void ChooseType(HWND dialog, int type)
    {
        HWND combo = ::GetDlgItem(dialog, IDC_RECORD_TYPE);
        ::SendMessageW(combo, CB_SETCURSEL, type, 0);
        ::SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDC_RECORD_TYPE, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
    }
    // The picker's pointer must lie in the program's memory.
    static void SetPicker(ProgramProcess& program, HWND dialog, int picker, const SYSTEMTIME& time)
    {
        void* remote = program.CopyInto(&time, sizeof(time));
        ASSERT_NE(remote, nullptr);
        ::SendMessageW(::GetDlgItem(dialog, picker), DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(remote));
    }
    static bool Accept(HWND dialog)
    {
        ::PostMessageW(dialog, WM_COMMAND, IDOK, 0);
        return WaitFor([&] { return !::IsWindow(dialog); }, 10000);
    }
    // The channel menu's record command for the channel.
    static HWND RecordFromChannelMenu(const ProgramProcess& program, HWND main, int row)
    {
        if (SelectChannel(main, row) < 0)
            return nullptr;
        return OpenRecordDialog(program,
                                [&] { ::PostMessageW(Panel(main), WM_COMMAND, ID_CHANNEL_RECORD, 0); });
    }

    KeptSettings m_keptSettings;
    Mp3StreamServer m_radio;
    FakeMmsServer m_mms{FakeMmsServer::Mode::Serve, MmsPackets};
};

TEST_F(RecordingProgram, RecordsAChannelNowGrowsTheFileAndKeepsEveryByteWhenStoppedFromTheRecordsMenu)
{
    ProgramProcess program(Folder(), L"");
    HWND main = program.WaitForMainWindow();
    ASSERT_NE(main, nullptr);
    HWND records = RecordsList(main);
    ASSERT_NE(records, nullptr);
    EXPECT_EQ(::SendMessageW(records, LB_GETCOUNT, 0, 0), 0);

    // Select the channel with a double click (it plays), then the control
    // bar's record button.
    HWND list = FindDescendant(main, IDC_CHANNEL_LIST);
    const int row = SelectChannel(main, RadioRow);
    ASSERT_GE(row, 0);
    const int rowHeight = static_cast<int>(::SendMessageW(list, LB_GETITEMHEIGHT, row, 0));
    ::SendMessageW(list, LB_SETTOPINDEX, 0, 0);
    const LPARAM at = MAKELPARAM(20, rowHeight * row + rowHeight / 2);
    for (UINT message : {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP})
        ::PostMessageW(list, message, message == WM_LBUTTONUP ? 0 : MK_LBUTTON, at);
    ASSERT_TRUE(WaitFor([&] { return Text(main) == std::wstring(L"Brisvane Recorder - ") + RadioName; }))
        << Text(main);
    HWND recordButton = FindDescendant(main, IDC_RECORD);
    ASSERT_TRUE(WaitFor([&] { return ::IsWindowEnabled(recordButton) != FALSE; }));
    HWND dialog = OpenRecordDialog(program, [&] { ::PostMessageW(recordButton, BM_CLICK, 0, 0); });
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(Text(::GetDlgItem(dialog, IDC_RECORD_NAME)), RadioName);
    EXPECT_EQ(::SendMessageW(::GetDlgItem(dialog, IDC_RECORD_TYPE), CB_GETCURSEL, 0, 0), 0);
    ASSERT_TRUE(Accept(dialog));

    // Listed at once, counted, and recording into its file.
    EXPECT_EQ(ListTexts(records), std::vector<std::wstring>{RadioName});
    const std::wstring growing = RecordsFolder() + StartedRecording(RadioName, RadioId, L"mp3");
    ASSERT_TRUE(WaitFor([&] { return SizeOf(growing) > 0; })) << "no data in " << std::string(growing.begin(), growing.end());
    const uint64_t early = SizeOf(growing);
    EXPECT_TRUE(WaitFor([&] { return SizeOf(growing) > early + 8192; }));

    // Exit while recording asks first; "No" keeps the program and the
    // recording going.
    ::PostMessageW(main, WM_COMMAND, ExitCommand, 0);
    HWND question = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (question = program.DialogWithControl(IDC_MSGBOX_NO)) != nullptr; }));
    EXPECT_TRUE(::IsWindowVisible(::GetDlgItem(question, IDCANCEL)));
    ::PostMessageW(question, WM_COMMAND, IDCANCEL, 0);
    ASSERT_TRUE(WaitFor([&] { return !::IsWindow(question); }));
    const uint64_t answered = SizeOf(growing);
    EXPECT_TRUE(WaitFor([&] { return SizeOf(growing) > answered + 8192; }));
    EXPECT_FALSE(program.HasEnded());
    EXPECT_TRUE(::IsWindowEnabled(main));

    // Stop from the records menu while the station holds its stream: the
    // stop ends the recording at once, with every byte sent before it.
    m_radio.Hold();
    ASSERT_TRUE(m_radio.WaitUntilHeld());
    ::Sleep(1000);
    ASSERT_EQ(m_radio.GetStreamCount(), 1u);
    const std::string sent = m_radio.GetSent(0);
    ASSERT_EQ(::SendMessageW(records, LB_GETCURSEL, 0, 0), 0);
    ::SendMessageW(::GetParent(records), WM_COMMAND, ID_RECORD_STOP, 0);

    std::wstring finished;
    ASSERT_TRUE(WaitFor([&] { return !(finished = FinishedRecording(RadioName, RadioId, L"mp3")).empty(); }));
    EXPECT_FALSE(FileExists(growing));
    m_radio.Release();
    const std::string kept = ReadWholeFile(RecordsFolder() + finished);
    EXPECT_EQ(kept.size(), sent.size());
    EXPECT_TRUE(kept == sent) << "the recording differs from what the station sent";
    // Its length from the last progress report, at most ten blocks short.
    const long long seconds = SecondsIn(finished, RadioName, RadioId, L"mp3");
    EXPECT_LE(static_cast<uint64_t>(seconds), sent.size() / BytesPerSecond);
    EXPECT_GE(static_cast<uint64_t>(seconds), (sent.size() - 10 * 1024) / BytesPerSecond);
    EXPECT_EQ(ListTexts(records), std::vector<std::wstring>{RadioName});

    // Nothing records any more: the exit asks nothing.
    EXPECT_EQ(program.Exit(main), 0);
}

TEST_F(RecordingProgram, RecordsAnMmsStationFromTheChannelMenuUntilTheStreamEnds)
{
    ProgramProcess program(Folder(), L"");
    HWND main = program.WaitForMainWindow();
    ASSERT_NE(main, nullptr);
    HWND dialog = RecordFromChannelMenu(program, main, MmsRow);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(Text(::GetDlgItem(dialog, IDC_RECORD_NAME)), MmsName);
    ASSERT_TRUE(Accept(dialog));

    // The station ends its stream: the recording keeps what came under
    // its final name.
    std::wstring finished;
    ASSERT_TRUE(WaitFor([&] {
        for (const std::wstring& file : Recordings())
            if (SecondsIn(file, MmsName, MmsId, L"asf") >= 0 && file != StartedRecording(MmsName, MmsId, L"asf"))
                return !(finished = file).empty();
        return false;
    })) << "no finished recording";
    EXPECT_EQ(ReadWholeFile(RecordsFolder() + finished), m_mms.ExpectedRecording());
    EXPECT_EQ(ListTexts(RecordsList(main)), std::vector<std::wstring>{MmsName});
    EXPECT_EQ(program.Exit(main), 0);
}

TEST_F(RecordingProgram, ScheduledRecordsRunByThemselvesAndAWeeklyOneComesBackAtTheNextStart)
{
    std::wstring weeklyName;
    {
        ProgramProcess program(Folder(), L"");
        HWND main = program.WaitForMainWindow();
        ASSERT_NE(main, nullptr);
        HWND records = RecordsList(main);

        // Once, from a few seconds ahead for a minute.
        HWND dialog = RecordFromChannelMenu(program, main, RadioRow);
        ASSERT_NE(dialog, nullptr);
        ChooseType(dialog, 1);
        EXPECT_TRUE(::IsWindowEnabled(::GetDlgItem(dialog, IDC_RECORD_START)));
        EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(dialog, IDC_RECORD_DAY_FIRST)));
        SetPicker(program, dialog, IDC_RECORD_START, LocalTimeIn(5));
        SetPicker(program, dialog, IDC_RECORD_END, LocalTimeIn(65));
        ASSERT_TRUE(Accept(dialog));
        const std::wstring growing = RecordsFolder() + StartedRecording(RadioName, RadioId, L"mp3");
        EXPECT_FALSE(FileExists(growing));

        // Weekly, every day, at a time that does not come during the test.
        dialog = RecordFromChannelMenu(program, main, RadioRow);
        ASSERT_NE(dialog, nullptr);
        weeklyName = Text(::GetDlgItem(dialog, IDC_RECORD_NAME));
        EXPECT_EQ(weeklyName, std::wstring(RadioName) + L" (2)");
        ChooseType(dialog, 2);
        EXPECT_TRUE(::IsWindowEnabled(::GetDlgItem(dialog, IDC_RECORD_DAY_FIRST)));
        SYSTEMTIME start = LocalTimeIn(0);
        start.wHour = static_cast<WORD>(start.wHour < 20 ? start.wHour + 2 : 1);
        start.wMinute = 0;
        SYSTEMTIME end = start;
        end.wHour = static_cast<WORD>(start.wHour + 1);
        SetPicker(program, dialog, IDC_RECORD_START, start);
        SetPicker(program, dialog, IDC_RECORD_END, end);
        ASSERT_TRUE(Accept(dialog));
        EXPECT_EQ(::SendMessageW(records, LB_GETCOUNT, 0, 0), 2);

        // The once record starts by itself, then stops by itself.
        ASSERT_TRUE(WaitFor([&] { return SizeOf(growing) > 0; }, 20000));
        std::wstring finished;
        ASSERT_TRUE(WaitFor([&] { return !(finished = FinishedRecording(RadioName, RadioId, L"mp3")).empty(); },
                            90000));
        EXPECT_GE(SecondsIn(finished, RadioName, RadioId, L"mp3"), 1);
        EXPECT_EQ(ReadWholeFile(RecordsFolder() + finished).substr(0, strlen(Mp3StreamServer::ResponseHead)),
                  Mp3StreamServer::ResponseHead);
        EXPECT_EQ(m_radio.GetStreamCount(), 1u);
        EXPECT_EQ(program.Exit(main), 0);
    }

    KV::DataKey saved;
    ASSERT_TRUE(saved.Load(SettingsFile()));
    const KV::DataKey* node = saved.GetKey("records");
    ASSERT_NE(node, nullptr);
    ASSERT_NE(node->GetKey("0"), nullptr);
    EXPECT_EQ(node->GetKey("0")->GetStringW("n", L""), weeklyName);
    EXPECT_EQ(node->GetKey("0")->GetInt("t", -1), 2);
    EXPECT_EQ(node->GetKey("1"), nullptr);

    // The next start lists the finished recording and the weekly record,
    // which is saved again at the next exit.
    ProgramProcess again(Folder(), L"");
    HWND main = again.WaitForMainWindow();
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(ListTexts(RecordsList(main)), (std::vector<std::wstring>{RadioName, weeklyName}));
    EXPECT_EQ(again.Exit(main), 0);
    ASSERT_TRUE(saved.Load(SettingsFile()));
    ASSERT_NE(saved.GetKey("records"), nullptr);
    ASSERT_NE(saved.GetKey("records")->GetKey("0"), nullptr);
    EXPECT_EQ(saved.GetKey("records")->GetKey("0")->GetStringW("n", L""), weeklyName);
}

TEST_F(RecordingProgram, AFileLeftByAKilledRunStaysIntactAndTheNextRecordingGetsAnotherName)
{
    const std::wstring first = RecordsFolder() + StartedRecording(RadioName, RadioId, L"mp3");
    std::string left;
    {
        ProgramProcess program(Folder(), L"");
        HWND main = program.WaitForMainWindow();
        ASSERT_NE(main, nullptr);
        HWND dialog = RecordFromChannelMenu(program, main, RadioRow);
        ASSERT_NE(dialog, nullptr);
        ASSERT_TRUE(Accept(dialog));
        ASSERT_TRUE(WaitFor([&] { return SizeOf(first) > 16384; }));
        program.Kill();
        left = ReadWholeFile(first);
        ASSERT_FALSE(left.empty());
    }

    ProgramProcess program(Folder(), L"");
    HWND main = program.WaitForMainWindow();
    ASSERT_NE(main, nullptr);
    HWND records = RecordsList(main);
    EXPECT_EQ(ListTexts(records), std::vector<std::wstring>{RadioName});
    HWND dialog = RecordFromChannelMenu(program, main, RadioRow);
    ASSERT_NE(dialog, nullptr);
    const std::wstring second = std::wstring(RadioName) + L" (2)";
    EXPECT_EQ(Text(::GetDlgItem(dialog, IDC_RECORD_NAME)), second);
    ASSERT_TRUE(Accept(dialog));
    const std::wstring growing = RecordsFolder() + StartedRecording(second, RadioId, L"mp3");
    ASSERT_TRUE(WaitFor([&] { return SizeOf(growing) > 16384; }));
    EXPECT_EQ(ReadWholeFile(first), left);

    // Exit, and "Yes": the recording stops and gets its final name.
    ::PostMessageW(main, WM_COMMAND, ExitCommand, 0);
    HWND question = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (question = program.DialogWithControl(IDC_MSGBOX_NO)) != nullptr; }));
    ::PostMessageW(::GetDlgItem(question, IDOK), BM_CLICK, 0, 0);
    EXPECT_EQ(program.WaitForExit(), 0);
    EXPECT_FALSE(FileExists(growing));
    EXPECT_FALSE(FinishedRecording(second, RadioId, L"mp3").empty());
    EXPECT_EQ(ReadWholeFile(first), left);
}

}  // namespace
}  // namespace PlayerTest
