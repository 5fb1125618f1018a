// The filter and favourite logic apart from the windows.

#include "player/catalogue/ChannelList.h"
#include "player/ui/ChannelFilter.h"
#include "tests/player/FixtureChannels.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>

namespace PlayerTest {
namespace {

TEST(ChannelFilter, UpperCasesLatinLettersOnly)
{
    EXPECT_EQ(UpperCaseLatin(L"abc xyz 09 ABC"), L"ABC XYZ 09 ABC");
    EXPECT_EQ(UpperCaseLatin(L"sp\u00e4t"), L"SP\u00e4T");
    EXPECT_EQ(UpperCaseLatin(L"\u0440\u0430\u0434\u0438\u043e"), L"\u0440\u0430\u0434\u0438\u043e");
    EXPECT_EQ(UpperCaseLatin(L""), L"");
}

// Entries stand in the order a sorted list box gives its strings (the user's
// locale, case ignored); entries that compare equal keep the catalogue's order
// (countries, then channels, in key order).
TEST(ChannelFilter, OrdersEntriesAsTheListBoxComparesWithTiesInCatalogueOrder)
{
    ResetSettings();
    // Sort texts sharing long beginnings, equal but for case, equal across
    // countries ("a" + "bc" and "ab" + "c"), prefixes of each other, with
    // hyphens, digits, accents, Cyrillic and nothing but the label.
    const wchar_t* const names[] = {L"bc",         L"c",       L"Alpha",     L"alpha",      L"ALPHA 2",
                                    L"Alpha-Beta", L"AlphaBeta", L"Alp",     L"Alphabet Kanal", L"Zeta 10",
                                    L"Zeta 9",     L"zeta 10",  L"\u00c4rger", L"Arger",      L"\u0420\u0430\u0434\u0438\u043e",
                                    L"\u0440\u0430\u0434\u0438\u043e", L"",  L"1 Live",    L"Ab",         L"Country Music Channel One",
                                    L"Country Music Channel Two", L"country music channel one"};
    std::vector<ChannelSpec> specs;
    for (const char* country : {"ab", "a", "de", "a_b"}) {
        int number = 0;
        for (const wchar_t* name : names) {
            ChannelSpec spec;
            spec.country = country;
            spec.key = "k" + std::to_string(10 + number++);
            spec.name = name;
            spec.category = "n";
            spec.player = "m";
            spec.streams = {{128, L"http://127.0.0.1:9/"}};
            specs.push_back(spec);
        }
    }
    CChannelList catalogue(WriteCatalogue(L"Ordering.brsc", specs));

    std::vector<CChannel*> expected;
    for (const auto& country : catalogue.GetCountries())
        for (const auto& channel : country.second->GetChannels())
            expected.push_back(channel.second.get());
    ASSERT_EQ(expected.size(), specs.size());
    const LCID locale = ::GetUserDefaultLCID();
    std::stable_sort(expected.begin(), expected.end(), [locale](const CChannel* a, const CChannel* b) {
        const std::wstring textA = MakeSortText(*a);
        const std::wstring textB = MakeSortText(*b);
        return ::CompareStringW(locale, NORM_IGNORECASE, textA.c_str(), static_cast<int>(textA.size()),
                                textB.c_str(), static_cast<int>(textB.size())) == CSTR_LESS_THAN;
    });

    const std::vector<ChannelEntry> entries = MakeSortedEntries(catalogue);
    std::vector<CChannel*> ordered;
    for (const ChannelEntry& entry : entries) {
        ordered.push_back(entry.channel);
        EXPECT_EQ(entry.sortText, MakeSortText(*entry.channel));
        EXPECT_EQ(entry.upperName, UpperCaseLatin(entry.channel->GetName()));
    }
    EXPECT_EQ(ordered, expected);
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
