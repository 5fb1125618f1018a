// The filter and favourite logic apart from the windows.

#include "player/catalogue/ChannelList.h"
#include "player/ui/ChannelFilter.h"
#include "tests/player/FixtureChannels.h"

#include <gtest/gtest.h>

namespace PlayerTest {
namespace {

TEST(ChannelFilter, UpperCasesLatinLettersOnly)
{
    EXPECT_EQ(UpperCaseLatin(L"abc xyz 09 ABC"), L"ABC XYZ 09 ABC");
    EXPECT_EQ(UpperCaseLatin(L"sp\u00e4t"), L"SP\u00e4T");
    EXPECT_EQ(UpperCaseLatin(L"\u0440\u0430\u0434\u0438\u043e"), L"\u0440\u0430\u0434\u0438\u043e");
    EXPECT_EQ(UpperCaseLatin(L""), L"");
}

class Favorites : public testing::Test {
protected:
    void SetUp() override
    {
        ResetSettings();
        m_catalogue = std::make_unique<CChannelList>(WriteCatalogue(L"Favorites.brsc", StandardChannels(9)));
        a = m_catalogue->FindChannel(Ids::Info);
        b = m_catalogue->FindChannel(Ids::Radio);
        c = m_catalogue->FindChannel(Ids::One);
        other = m_catalogue->FindChannel(Ids::Cine);
        for (CChannel* channel : {a, b, c})
            channel->SetFavourite(true);
    }
    std::unique_ptr<CChannelList> m_catalogue;
    CChannel* a = nullptr;
    CChannel* b = nullptr;
    CChannel* c = nullptr;
    CChannel* other = nullptr;
};

TEST_F(Favorites, StepsForwardAndBackwardWrappingAroundTheList)
{
    const std::vector<CChannel*> list = {a, b, c};
    struct Case {
        CChannel* current;
        bool forward;
        CChannel* expected;
    };
    const Case cases[] = {
        {b, true, c}, {b, false, a}, {c, true, a}, {a, false, c},
        {other, true, a}, {other, false, c}, {nullptr, true, a}, {nullptr, false, c},
    };
    for (const Case& each : cases)
        EXPECT_EQ(FindNextFavorite(list, each.current, each.forward), each.expected);
}

TEST_F(Favorites, HasNoStepFromTheOnlyFavouriteOrInAnEmptyList)
{
    EXPECT_EQ(FindNextFavorite({b}, b, true), nullptr);
    EXPECT_EQ(FindNextFavorite({b}, b, false), nullptr);
    EXPECT_EQ(FindNextFavorite({}, nullptr, true), nullptr);
    // A current channel that is no longer a favourite counts as none.
    b->SetFavourite(false);
    EXPECT_EQ(FindNextFavorite({a, c}, b, true), a);
}

TEST_F(Favorites, FilterKeepsTheEntriesInListOrder)
{
    const std::vector<ChannelEntry> entries = MakeSortedEntries(*m_catalogue);
    ASSERT_EQ(entries.size(), static_cast<size_t>(StandardChannelCount));
    EXPECT_EQ(entries.front().channel, other);
    EXPECT_EQ(entries.front().sortText, L"FranceCine Soir");
    ChannelFilter filter;
    filter.country = m_catalogue->FindCountry("de");
    filter.tvRadio = TvRadioChoice::RadioOnly;
    const auto kept = ApplyFilter(entries, filter);
    ASSERT_EQ(kept.size(), 1u);
    EXPECT_EQ(kept[0]->channel, b);
}

}  // namespace
}  // namespace PlayerTest
