// The test catalogues of tests/data/catalogues hold what their comments
// promise to the tests that use them.
#include "player/playback/UrlGrabber.h"
#include "tests/data/ShippedData.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace {

TEST(TestCatalogues, FullHasAChannelOfEveryKind)
{
    ShippedData::Catalogue catalogue(L"data\\Full.brsc");
    EXPECT_TRUE(catalogue.Messages().empty());
    std::set<std::string> categories, players, recorders, grabbers;
    bool tv = false, radio = false, severalStreams = false;
    for (const auto& country : catalogue.List().GetCountries()) {
        for (const auto& entry : country.second->GetChannels()) {
            const CChannel& channel = *entry.second;
            categories.insert(channel.GetCategory()->GetCode());
            players.insert(channel.GetPlayerKey());
            recorders.insert(channel.GetRecorderKey());
            grabbers.insert(channel.GetGrabberKey());
            (channel.IsRadio() ? radio : tv) = true;
            severalStreams = severalStreams || channel.GetSources().size() > 2;
        }
    }
    EXPECT_EQ(categories.size(), CChannelList::CategoryCount);
    EXPECT_EQ(players, (std::set<std::string>{"e", "m"}));
    EXPECT_EQ(recorders, (std::set<std::string>{"", "D", "mms", "mp3"}));
    EXPECT_EQ(grabbers, (std::set<std::string>{"", "tvl", "wmp"}));
    EXPECT_TRUE(tv && radio && severalStreams);
    EXPECT_NE(CUrlGrabber::Find("wmp"), nullptr);
    EXPECT_EQ(CUrlGrabber::Find("version"), nullptr);
}

TEST(TestCatalogues, EdgeLoadsWhatALoaderMustAndReportsTheChannelWithoutStreams)
{
    ShippedData::Catalogue catalogue(L"data\\Edge.brsc");
    ASSERT_EQ(catalogue.Messages().size(), 1u);
    EXPECT_NE(catalogue.Messages()[0].find(L"No url!"), std::wstring::npos);
    CChannel* gap = catalogue.List().FindChannel("de_gap");
    ASSERT_NE(gap, nullptr);
    EXPECT_EQ(gap->GetSources().size(), 2u);
    EXPECT_NE(catalogue.List().FindChannel("de_tv1"), nullptr);
    EXPECT_EQ(catalogue.List().FindChannel("de_nocat"), nullptr);
    EXPECT_EQ(catalogue.List().FindChannel("de_badcat"), nullptr);
    CChannel* typed = catalogue.List().FindChannel("de_typed");
    ASSERT_NE(typed, nullptr);
    EXPECT_TRUE(typed->GetName().empty());
    EXPECT_FALSE(typed->IsRadio());
    EXPECT_EQ(typed->GetSources()[0].GetBitrate(), 0);
    EXPECT_TRUE(typed->GetSources()[0].GetUrl().empty());
    EXPECT_NE(catalogue.List().FindChannel("a_b_c"), nullptr);
    EXPECT_NE(catalogue.List().FindCountry("zz"), nullptr);
    EXPECT_NE(CUrlGrabber::Find("x"), nullptr);
    EXPECT_EQ(CUrlGrabber::Find("narrow"), nullptr);
}

TEST(TestCatalogues, TemplateOnlyHasAGrabberAndNoCountries)
{
    ShippedData::Catalogue catalogue(L"data\\TemplateOnly.brsc");
    EXPECT_TRUE(catalogue.List().GetCountries().empty());
    EXPECT_EQ(catalogue.List().GetCategories().size(), CChannelList::CategoryCount);
    EXPECT_NE(CUrlGrabber::Find("x"), nullptr);
}

} // namespace
