// The back-end family: registry, whole-family operations, listener.

#include "player/app/Settings.h"
#include "player/playback/PlayerCtrl.h"
#include "tests/backends/TestSupport.h"

#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <string>
#include <vector>

namespace {

// A back-end without an engine that records the family's calls.
class ProbePlayer : public CPlayerCtrl {
public:
    ProbePlayer(const std::string& name, std::vector<std::string>* log, std::set<std::wstring> fileTypes = {})
        : CPlayerCtrl(name), m_log(log)
    {
        m_fileTypes = std::move(fileTypes);
        m_schemes[L"mms"] = 1;
    }
    void Play(const std::wstring&, const std::wstring&) override {}
    void Stop() override {}
    void SetVolume(int volume) override { m_log->push_back(GetName() + " volume " + std::to_string(volume)); }
    void OnAppExit() override { m_log->push_back(GetName() + " exit"); }

private:
    std::vector<std::string>* m_log;
};

}  // namespace

TEST(PlayerFamily, NotifyStatusReachesTheListenerOnlyWhenOneIsSet)
{
    std::vector<std::string> log;
    ProbePlayer player("probe", &log);
    player.NotifyStatus(L"nobody listens", PlayerStatus::Text);  // must not crash

    RecordingListener listener;
    player.NotifyStatus(L"Connecting", PlayerStatus::Stopped);
    player.NotifyStatus(nullptr, PlayerStatus::Error);
    ASSERT_EQ(listener.reports.size(), 2u);
    EXPECT_EQ(listener.reports[0].player, &player);
    EXPECT_EQ(listener.reports[0].text, L"Connecting");
    EXPECT_EQ(listener.reports[0].code, PlayerStatus::Stopped);
    EXPECT_TRUE(listener.reports[1].textIsNull);
    EXPECT_EQ(listener.reports[1].code, PlayerStatus::Error);
}

TEST(PlayerFamily, RegistryFindsByNameAndByExactFileType)
{
    std::vector<std::string> log;
    ProbePlayer web("e", &log);
    ProbePlayer media("m", &log, {L"asf", L"mp3"});

    EXPECT_EQ(CPlayerCtrl::FindByName("m"), &media);
    EXPECT_EQ(CPlayerCtrl::FindByName("e"), &web);
    EXPECT_EQ(CPlayerCtrl::FindByName("vlcp"), nullptr);

    struct Case {
        const wchar_t* extension;
        CPlayerCtrl* expected;
    };
    const Case cases[] = {{L"asf", &media}, {L"mp3", &media}, {L"ASF", nullptr}, {L"wma", nullptr}, {L"", nullptr}};
    for (const Case& c : cases)
        EXPECT_EQ(CPlayerCtrl::FindByType(c.extension), c.expected) << c.extension;
}

TEST(PlayerFamily, LaterBackendReplacesTheEntryAndLeavesWithItsDestruction)
{
    std::vector<std::string> log;
    auto first = std::make_unique<ProbePlayer>("dup", &log);
    auto second = std::make_unique<ProbePlayer>("dup", &log);
    EXPECT_EQ(CPlayerCtrl::FindByName("dup"), second.get());
    first.reset();  // no longer the entry: leaves it alone
    EXPECT_EQ(CPlayerCtrl::FindByName("dup"), second.get());
    second.reset();
    EXPECT_EQ(CPlayerCtrl::FindByName("dup"), nullptr);
}

TEST(PlayerFamily, VolumeAndExitReachEveryBackendInNameOrder)
{
    std::vector<std::string> log;
    ProbePlayer media("m", &log);
    ProbePlayer web("e", &log);

    CPlayerCtrl::SetVolumeAll(70);
    CPlayerCtrl::ExitAll();
    EXPECT_EQ(log, (std::vector<std::string>{"e volume 70", "m volume 70", "e exit", "m exit"}));
    EXPECT_EQ(CPlayerCtrl::GetCurrentVolume(), 70);
    EXPECT_EQ(CSettings::GetInt("sound_volume", 50), 70);
}

TEST(PlayerFamily, SchemeLookupGivesTheDeclaredValueOrMinusOne)
{
    std::vector<std::string> log;
    ProbePlayer player("probe", &log);
    EXPECT_EQ(player.FindScheme(L"mms"), 1);
    EXPECT_EQ(player.FindScheme(L"MMS"), -1);
    EXPECT_EQ(player.FindScheme(L"rtsp"), -1);
}

TEST(PlayerFamily, BaseOperationsDoNothing)
{
    std::vector<std::string> log;
    ProbePlayer player("probe", &log);
    EXPECT_TRUE(player.IsStopped());
    EXPECT_TRUE(player.HasControls());
    EXPECT_EQ(player.GetRecorderKey(), "");
    player.Redraw();
    player.ToggleFullScreen();
    EXPECT_TRUE(log.empty());
}

TEST(PlayerFamily, DeleteAllDestroysEveryBackendAndEmptiesTheRegistry)
{
    std::vector<std::string> log;
    new ProbePlayer("e", &log);
    new ProbePlayer("m", &log);
    ASSERT_EQ(CPlayerCtrl::Registry().size(), 2u);
    CPlayerCtrl::DeleteAll();
    EXPECT_TRUE(CPlayerCtrl::Registry().empty());
    EXPECT_EQ(CPlayerCtrl::FindByName("m"), nullptr);
}
