#pragma once
// What the channel panel's filters decide, apart from the windows: which
// channels a choice of country, category, TV/radio and search text keeps,
// the text the lists sort channels by, and the step from one favourite to
// the next.

#include <memory>
#include <string>
#include <string_view>
#include <vector>

class CCategory;
class CChannel;
class CChannelList;
class CCountry;

enum class TvRadioChoice { Both = 0, TvOnly = 1, RadioOnly = 2 };

struct ChannelFilter {
    const CCountry* country = nullptr;    // null: every country
    const CCategory* category = nullptr;  // null: every category
    TvRadioChoice tvRadio = TvRadioChoice::Both;
    // Upper-cased with UpperCaseLatin; empty: no search.
    std::wstring search;
};

// Only the letters a to z become capitals, as the C runtime's default locale
// does: the search ignores case for Latin letters only.
std::wstring UpperCaseLatin(const std::wstring& text);

// Whether the filter keeps the channel; upperName is its name upper-cased.
bool FilterKeeps(const ChannelFilter& filter, const CChannel& channel, std::wstring_view upperName);

// Country label followed by the channel name: what the lists sort by.
std::wstring MakeSortText(const CChannel& channel);

// One channel as the panel keeps it for filtering: its upper-cased name and
// its sort text, computed once. The texts of all entries of one ordering are
// kept end to end in one block, which the entries share.
struct ChannelEntry {
    CChannel* channel;
    std::wstring_view upperName;
    std::wstring_view sortText;
    std::shared_ptr<const std::wstring> texts;
};

// Every channel of the catalogue (countries and channels in key order),
// then stably ordered by sort text as a sorted list box orders its strings
// (the user's locale, case ignored).
std::vector<ChannelEntry> MakeSortedEntries(const CChannelList& catalogue);

// The entries the filter keeps, in the entries' order.
std::vector<const ChannelEntry*> ApplyFilter(const std::vector<ChannelEntry>& entries, const ChannelFilter& filter);

// The favourite after (forward) or before the current one in display order,
// wrapping around; with no current favourite, forward gives the first and
// backward the last. Null when no other favourite qualifies.
CChannel* FindNextFavorite(const std::vector<CChannel*>& favoritesInDisplayOrder, CChannel* current, bool forward);
