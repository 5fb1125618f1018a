// The main window with the real back-ends, as Wine provides them: a channel
// played from the list reaches the Media Player control with its address,
// and the control's reports reach the control bar. Wine's control plays
// files, not HTTP streams (it fails on those), so the channel's stream here
// is a WAV file. A recording of a radio station (silent MP3 frames from a
// local station) plays back through the control too.

#include "foundation/Lang.h"
#include "foundation/Utilities.h"
#include "framework/AxHost.h"
#include "framework/ComPtr.h"
#include "framework/ComBstr.h"
#include "player/app/MainDlg.h"
#include "player/playback/PlayerCtrl.h"
#include "player/recording/Record.h"
#include "player/recording/RecordManager.h"
#include "tests/player/MainWindowFixture.h"
#include "tests/player/Mp3StreamServer.h"
#include "tests/support/WavFile.h"

#include <wmp.h>

namespace PlayerTest {
namespace {

class RealBackEnds : public MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        // The live back-ends of the program, which stay for the process.
        CMainDlg::SetBackEndMaker(nullptr);
    }
    void TearDown() override
    {
        MainWindowTest::TearDown();
        UseStandIns();
    }
};

TEST_F(RealBackEnds, ADoubleClickHandsTheChannelsAddressToTheMediaPlayerControl)
{
    const std::wstring wav = KV::GetProgramFile(L"player_fixtures\\tone.wav");
    {
        const std::string bytes = SilenceWav();
        HANDLE file = ::CreateFileW(wav.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        DWORD written = 0;
        ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
        ::CloseHandle(file);
    }
    std::vector<ChannelSpec> channels = StandardChannels(m_server.GetPort());
    channels[0].streams[0].second = wav;
    CMainDlg::SetCatalogueFile(WriteCatalogue(L"RealBackEnds.brsc", channels));
    Open();
    CPlayerCtrl* media = CPlayerCtrl::FindByName("m");
    ASSERT_NE(media, nullptr);
    ASSERT_TRUE(media->IsCreated());
    ASSERT_NE(CPlayerCtrl::FindByName("e"), nullptr);

    DoubleClick(Panel().GetChannelList(), Channel(Ids::One));
    EXPECT_EQ(Main().GetCurrentPlayer(), media);
    EXPECT_TRUE(::IsWindowVisible(media->GetWindow()));
    CInterfacePtr<IWMPPlayer4> wmp;
    ASSERT_TRUE(SUCCEEDED(CAxWindow(media->GetWindow()).QueryControl(wmp.Receive())));
    CBstr url;
    ASSERT_EQ(wmp->get_URL(url.Receive()), S_OK);
    EXPECT_EQ(url.ToString(), wav);
    EXPECT_TRUE(Controls().IsPlaying());

    // The end of the file comes back as the stopped report.
    EXPECT_TRUE(PumpUntil([&] { return !Controls().IsPlaying(); }, 20000));
    EXPECT_NE(Controls().GetStatus(), KV::Lang::GetText("str_error"));
    ::DeleteFileW(wav.c_str());
}

TEST_F(RealBackEnds, ARecordingOfARadioStationPlaysBackThroughTheMediaPlayerControl)
{
    Mp3StreamServer station;
    UseStandardCatalogue(m_server.GetPort(), station.GetUrl());
    Open();
    CRecordManager& records = *Main().GetRecordManager();
    CRecord* record = records.AddRecord(Channel(Ids::Radio), L"Radio Mitschnitt", CRecord::Now, nullptr, nullptr,
                                        nullptr);
    // Some seconds of sound.
    ASSERT_TRUE(PumpUntil([&] { return record->GetBytes() > 64 * 1024; }, 20000));
    record->StopRecording();
    ASSERT_TRUE(PumpUntil([&] { return records.IsIdle(); }, 20000));
    ASSERT_TRUE(record->HasFile());

    Main().SendMessage(WM_PLAY_RECORD, 0, reinterpret_cast<LPARAM>(record));
    CPlayerCtrl* media = CPlayerCtrl::FindByName("m");
    ASSERT_EQ(Main().GetCurrentPlayer(), media);
    CInterfacePtr<IWMPPlayer4> wmp;
    ASSERT_TRUE(SUCCEEDED(CAxWindow(media->GetWindow()).QueryControl(wmp.Receive())));
    CBstr url;
    ASSERT_EQ(wmp->get_URL(url.Receive()), S_OK);
    EXPECT_EQ(url.ToString(), record->GetPath());
    EXPECT_TRUE(Controls().IsPlaying());
    // Wine's control tells no play state: the sound takes its time, then
    // the end comes back as the stopped report.
    const DWORD started = ::GetTickCount();
    EXPECT_TRUE(PumpUntil([&] { return !Controls().IsPlaying(); }, 30000));
    const double elapsed = (::GetTickCount() - started) / 1000.0;
    const double sound = static_cast<double>(record->GetBytes()) / Mp3StreamServer::FrameLength * 1152 / 44100;
    EXPECT_GT(elapsed, sound * 0.75) << sound << " s of sound played in " << elapsed << " s";
    EXPECT_NE(Controls().GetStatus(), KV::Lang::GetText("str_error"));
}

TEST_F(RealBackEnds, APlayThatComesBeforeTheRestOfTheSetUpMakesTheWebBackEndFirst)
{
    m_main = std::make_unique<CMainDlg>();
    ASSERT_NE(m_main->Create(nullptr), nullptr);
    // No message has been handled yet: the rest of the set-up still waits.
    Main().SendMessage(WM_PLAY_CHANNEL, 0, reinterpret_cast<LPARAM>(Channel(Ids::Web)));
    CPlayerCtrl* web = Main().GetCurrentPlayer();
    ASSERT_NE(web, nullptr);
    EXPECT_EQ(web, CPlayerCtrl::FindByName("e"));
    EXPECT_TRUE(::IsChild(Main(), web->GetWindow()));
    Pump();
    // The rest of the set-up makes no second one.
    EXPECT_EQ(CPlayerCtrl::FindByName("e"), web);
    EXPECT_EQ(Main().GetCurrentPlayer(), web);
}

}  // namespace
}  // namespace PlayerTest
