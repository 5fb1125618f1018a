// The shipped channel catalogue, read through the player's catalogue: every
// channel of the file loads (none is dropped for its category, none lacks a
// stream: no "No url!"), plays through a back-end the player has, and can
// be recorded only where the recorder can read its streams.
#include "foundation/DataKey.h"
#include "tests/data/ShippedData.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace {

bool StartsWith(const std::wstring& text, const wchar_t* start)
{
    return text.compare(0, wcslen(start), start) == 0;
}

TEST(ShippedCatalogue, LoadsEveryChannelOfTheFileWithoutAMessage)
{
    ShippedData::Catalogue catalogue;
    EXPECT_EQ(catalogue.Messages(), std::vector<std::wstring>());
    KV::DataKey root;
    ASSERT_TRUE(ShippedData::LoadTree(L"Channels.brsc", root));
    size_t channelsInFile = 0;
    for (const auto& country : root.GetKeys())
        channelsInFile += country.second->GetKeyCount();
    size_t loaded = 0;
    for (const auto& country : catalogue.List().GetCountries())
        loaded += country.second->GetChannels().size();
    EXPECT_GT(loaded, 0u);
    EXPECT_EQ(loaded, channelsInFile);
    EXPECT_EQ(catalogue.List().GetCountries().size(), root.GetKeyCount());
}

TEST(ShippedCatalogue, EveryChannelCanBePlayed)
{
    ShippedData::Catalogue catalogue;
    std::set<std::string> ids;
    for (const auto& country : catalogue.List().GetCountries()) {
        for (const auto& entry : country.second->GetChannels()) {
            const CChannel& channel = *entry.second;
            SCOPED_TRACE(channel.GetId());
            EXPECT_TRUE(ids.insert(channel.GetId()).second) << "two channels with one id";
            EXPECT_EQ(catalogue.List().FindChannel(channel.GetId()), &channel);
            EXPECT_FALSE(channel.GetName().empty());
            ASSERT_NE(channel.GetCategory(), nullptr);
            // The two back-ends: Windows Media Player and the web browser.
            const std::string& player = channel.GetPlayerKey();
            EXPECT_TRUE(player == "m" || player == "e") << "back-end " << player;
            // Shipped channels play their addresses as they stand.
            EXPECT_TRUE(channel.GetGrabberKey().empty());
            ASSERT_FALSE(channel.GetSources().empty());
            for (const auto& source : channel.GetSources()) {
                EXPECT_TRUE(StartsWith(source.GetUrl(), L"http://") || StartsWith(source.GetUrl(), L"https://"));
                // A stream's bitrate; a web page has none.
                if (player == "m") {
                    EXPECT_GT(source.GetBitrate(), 0);
                } else {
                    EXPECT_EQ(source.GetBitrate(), 0);
                }
            }
            // Radio plays through the Media Player; the browser shows TV pages.
            if (channel.IsRadio()) {
                EXPECT_EQ(player, "m");
            }
        }
    }
}

TEST(ShippedCatalogue, RecordsOnlyWhatTheRecorderCanRead)
{
    ShippedData::Catalogue catalogue;
    for (const auto& country : catalogue.List().GetCountries()) {
        for (const auto& entry : country.second->GetChannels()) {
            const CChannel& channel = *entry.second;
            SCOPED_TRACE(channel.GetId());
            if (!channel.IsRecordable())
                continue;
            // The HTTP audio recorder reads plain HTTP over a socket of its
            // own: every stream it may be handed must be one.
            EXPECT_EQ(channel.GetRecorderKey(), "mp3");
            EXPECT_TRUE(channel.IsRadio());
            for (const auto& source : channel.GetSources())
                EXPECT_TRUE(StartsWith(source.GetUrl(), L"http://"));
        }
    }
}

TEST(ShippedCatalogue, OffersTvRadioRecordingAndAChoiceOfStreams)
{
    ShippedData::Catalogue catalogue;
    bool tv = false, radio = false, recordable = false, severalStreams = false;
    std::set<std::string> categories;
    for (const auto& country : catalogue.List().GetCountries()) {
        EXPECT_NE(country.second->GetFlag(), nullptr) << country.first;
        EXPECT_NE(country.second->GetLabel(), std::wstring(country.first.begin(), country.first.end()))
            << "no language text c_" << country.first;
        for (const auto& entry : country.second->GetChannels()) {
            const CChannel& channel = *entry.second;
            (channel.IsRadio() ? radio : tv) = true;
            recordable = recordable || channel.IsRecordable();
            severalStreams = severalStreams || channel.GetSources().size() > 1;
            categories.insert(channel.GetCategory()->GetCode());
        }
    }
    EXPECT_TRUE(tv);
    EXPECT_TRUE(radio);
    EXPECT_TRUE(recordable);
    EXPECT_TRUE(severalStreams);
    EXPECT_GE(categories.size(), 4u);
    // The parental lock's category is not shipped.
    EXPECT_EQ(categories.count("ad"), 0u);
}

} // namespace
