#include "player/ui/ChannelFilter.h"

#include "player/catalogue/ChannelList.h"

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <cwchar>

std::wstring UpperCaseLatin(const std::wstring& text)
{
    std::wstring upper(text);
    for (wchar_t& c : upper)
        if (c >= L'a' && c <= L'z')
            c = static_cast<wchar_t>(c - L'a' + L'A');
    return upper;
}

bool FilterKeeps(const ChannelFilter& filter, const CChannel& channel, const std::wstring& upperName)
{
    if (filter.country != nullptr && &channel.GetCountry() != filter.country)
        return false;
    if (filter.category != nullptr && channel.GetCategory() != filter.category)
        return false;
    if (filter.tvRadio == TvRadioChoice::TvOnly && channel.IsRadio())
        return false;
    if (filter.tvRadio == TvRadioChoice::RadioOnly && !channel.IsRadio())
        return false;
    if (!filter.search.empty() && upperName.find(filter.search) == std::wstring::npos)
        return false;
    return true;
}

std::wstring MakeSortText(const CChannel& channel)
{
    return channel.GetCountry().GetLabel() + channel.GetName();
}

namespace {

// Sort keys of the strings that a sorted list box's comparison
// (CompareStringW of the user's locale, case ignored) orders as plain byte
// comparisons of the keys do; kept end to end in one buffer.
class SortKeys {
public:
    explicit SortKeys(size_t count) { m_offsets.reserve(count + 1); m_offsets.push_back(0); m_bytes.reserve(count * 48); }

    void Add(LCID locale, const std::wstring& text)
    {
        const int length = static_cast<int>(text.size());
        BYTE key[512];
        int size = ::LCMapStringW(locale, LCMAP_SORTKEY | NORM_IGNORECASE, text.c_str(), length,
                                  reinterpret_cast<wchar_t*>(key), sizeof(key));
        if (size > 0) {
            m_bytes.insert(m_bytes.end(), key, key + size);
        } else {
            size = ::LCMapStringW(locale, LCMAP_SORTKEY | NORM_IGNORECASE, text.c_str(), length, nullptr, 0);
            if (size > 0) {
                const size_t at = m_bytes.size();
                m_bytes.resize(at + static_cast<size_t>(size));
                ::LCMapStringW(locale, LCMAP_SORTKEY | NORM_IGNORECASE, text.c_str(), length,
                               reinterpret_cast<wchar_t*>(&m_bytes[at]), size);
            }
        }
        m_offsets.push_back(m_bytes.size());
    }

    bool Less(size_t a, size_t b) const
    {
        const size_t lengthA = m_offsets[a + 1] - m_offsets[a];
        const size_t lengthB = m_offsets[b + 1] - m_offsets[b];
        const int order = std::memcmp(&m_bytes[m_offsets[a]], &m_bytes[m_offsets[b]], std::min(lengthA, lengthB));
        return order != 0 ? order < 0 : lengthA < lengthB;
    }

private:
    std::vector<size_t> m_offsets;
    std::vector<BYTE> m_bytes;
};

} // namespace

std::vector<ChannelEntry> MakeSortedEntries(const CChannelList& catalogue)
{
    size_t count = 0;
    for (const auto& country : catalogue.GetCountries())
        count += country.second->GetChannels().size();
    std::vector<ChannelEntry> entries;
    entries.reserve(count);
    for (const auto& country : catalogue.GetCountries())
        for (const auto& channel : country.second->GetChannels())
            entries.push_back(ChannelEntry{channel.second.get(), UpperCaseLatin(channel.second->GetName()),
                                           MakeSortText(*channel.second)});

    const LCID locale = ::GetUserDefaultLCID();
    SortKeys keys(entries.size());
    for (const ChannelEntry& entry : entries)
        keys.Add(locale, entry.sortText);
    std::vector<size_t> order(entries.size());
    for (size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) { return keys.Less(a, b); });

    std::vector<ChannelEntry> sorted;
    sorted.reserve(entries.size());
    for (size_t index : order)
        sorted.push_back(std::move(entries[index]));
    return sorted;
}

std::vector<const ChannelEntry*> ApplyFilter(const std::vector<ChannelEntry>& entries, const ChannelFilter& filter)
{
    std::vector<const ChannelEntry*> kept;
    for (const ChannelEntry& entry : entries)
        if (FilterKeeps(filter, *entry.channel, entry.upperName))
            kept.push_back(&entry);
    return kept;
}

CChannel* FindNextFavorite(const std::vector<CChannel*>& favorites, CChannel* current, bool forward)
{
    const size_t count = favorites.size();
    if (count == 0)
        return nullptr;
    if (current != nullptr && !current->IsFavourite())
        current = nullptr;
    size_t start = 0;
    if (current != nullptr) {
        const auto found = std::find(favorites.begin(), favorites.end(), current);
        if (found != favorites.end())
            start = static_cast<size_t>(found - favorites.begin());
    }
    for (size_t step = 0; step < count; ++step) {
        const size_t index = forward ? (start + step) % count : (start + count - 1 - step) % count;
        CChannel* candidate = favorites[index];
        if (candidate->IsFavourite() && candidate != current)
            return candidate;
    }
    return nullptr;
}
