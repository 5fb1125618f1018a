#pragma once
// A main window under test: created in this process over the standard
// catalogue, with stand-in back-ends, recorded shell starts and its own
// settings file and records folder; the updaters are off unless a test turns them on before
// Open.

#include "player/app/MainDlg.h"
#include "player/catalogue/ChannelList.h"
#include "tests/grabbers/LocalHttpServer.h"
#include "tests/player/FixtureChannels.h"
#include "tests/player/PlayerTestSupport.h"

#include <gtest/gtest.h>

#include <memory>

namespace PlayerTest {

class MainWindowTest : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Creates and shows the window with a client area of 790 x 480.
    void Open();
    // Destroys the window as the exit would, without the exit's wait.
    void Close();
    void SetClientSize(int width, int height);

    CMainDlg& Main() { return *m_main; }
    CChannelsCtrl& Panel() { return m_main->GetChannels(); }
    CControlsDlg& Controls() { return m_main->GetPlayers().GetControls(); }
    CStandInPlayer& Media() { return *TheStandIns().media; }
    CStandInPlayer& Web() { return *TheStandIns().web; }
    CChannel* Channel(const char* id) const;
    // The records folder of the windows under test (ends with a backslash).
    static std::wstring RecordsFolder();

    // Double-clicks the channel's row in the list, as a user does.
    void DoubleClick(CChannelListBox& list, const CChannel* channel);
    // Clicks a tab of the channel panel's strip.
    void ClickTab(int index);
    // Plays the channel as the channel list does.
    void Play(const CChannel* channel);

    LocalHttpServer m_server;
    std::unique_ptr<CMainDlg> m_main;
};

}  // namespace PlayerTest
