#include "player/ui/ChannelFilter.h"

#include "player/catalogue/ChannelList.h"
#include "player/catalogue/OrderedChunk.h"

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cwchar>

namespace {

wchar_t UpperLatin(wchar_t c)
{
    return c >= L'a' && c <= L'z' ? static_cast<wchar_t>(c - L'a' + L'A') : c;
}

} // namespace

std::wstring UpperCaseLatin(const std::wstring& text)
{
    std::wstring upper(text);
    for (wchar_t& c : upper)
        c = UpperLatin(c);
    return upper;
}

bool FilterKeeps(const ChannelFilter& filter, const CChannel& channel, std::wstring_view upperName)
{
    // The name first: the names of a refilter lie together in one block,
    // while the channels lie all over the heap, and a search leaves most
    // channels out.
    if (!filter.search.empty() && upperName.find(filter.search) == std::wstring_view::npos)
        return false;
    if (filter.country != nullptr && &channel.GetCountry() != filter.country)
        return false;
    if (filter.category != nullptr && channel.GetCategory() != filter.category)
        return false;
    if (filter.tvRadio == TvRadioChoice::TvOnly && channel.IsRadio())
        return false;
    if (filter.tvRadio == TvRadioChoice::RadioOnly && !channel.IsRadio())
        return false;
    return true;
}

std::wstring MakeSortText(const CChannel& channel)
{
    return channel.GetCountry().GetLabel() + channel.GetName();
}

namespace {

// Appends the sort key of text, under which a sorted list box's comparison
// (CompareStringW of the user's locale, case ignored) orders strings as
// plain byte comparisons of their keys do.
void AppendSortKey(LCID locale, std::wstring_view text, std::vector<BYTE>& keys)
{
    const DWORD flags = LCMAP_SORTKEY | NORM_IGNORECASE;
    const int length = static_cast<int>(text.size());
    BYTE key[512];
    int size = ::LCMapStringW(locale, flags, text.data(), length, reinterpret_cast<wchar_t*>(key), sizeof(key));
    if (size > 0) {
        keys.insert(keys.end(), key, key + size);
        return;
    }
    size = ::LCMapStringW(locale, flags, text.data(), length, nullptr, 0);
    if (size > 0) {
        const size_t at = keys.size();
        keys.resize(at + static_cast<size_t>(size));
        ::LCMapStringW(locale, flags, text.data(), length, reinterpret_cast<wchar_t*>(&keys[at]), size);
    }
}

// Where one channel's texts lie in the text block: its sort text, directly
// followed by its name upper-cased.
struct TextPlace {
    CChannel* channel;
    size_t at;
    size_t sortLength;
    size_t nameLength;
};

// One entry's place in the ordering: where its sort key lies, its index,
// which makes the order stable, and eight bytes of its key as a number that
// orders as the bytes do, which settles most comparisons without visiting
// the keys.
struct OrderItem {
    uint32_t keyAt;
    uint32_t keyLength;
    uint32_t index;
    uint64_t chunk;
};

// Orders the items, whose keys share their bytes before at, as byte
// comparisons of the whole keys do (a key that begins another goes first),
// equal keys by index: eight bytes at a time, going on only with the items
// that the bytes so far leave equal.
void SortByKeys(OrderItem* first, OrderItem* last, const BYTE* keys, size_t at)
{
    bool longer = false;
    for (OrderItem* item = first; item != last; ++item) {
        item->chunk = OrderedChunk(keys + item->keyAt, item->keyLength, at);
        longer = longer || item->keyLength > at + 8;
    }
    std::sort(first, last, [](const OrderItem& a, const OrderItem& b) {
        if (a.chunk != b.chunk)
            return a.chunk < b.chunk;
        if (a.keyLength != b.keyLength)
            return a.keyLength < b.keyLength;
        return a.index < b.index;
    });
    if (!longer)
        return;
    for (OrderItem* run = first; run != last;) {
        OrderItem* end = run + 1;
        while (end != last && end->chunk == run->chunk)
            ++end;
        if (end - run > 1)
            SortByKeys(run, end, keys, at + 8);
        run = end;
    }
}

} // namespace

std::vector<ChannelEntry> MakeSortedEntries(const CChannelList& catalogue)
{
    // One pass over the catalogue: its objects lie all over the heap.
    auto texts = std::make_shared<std::wstring>();
    std::vector<TextPlace> places;
    for (const auto& country : catalogue.GetCountries()) {
        const std::wstring& label = country.second->GetLabel();
        for (const auto& channel : country.second->GetChannels()) {
            const std::wstring& name = channel.second->GetName();
            places.push_back(TextPlace{channel.second.get(), texts->size(), label.size() + name.size(), name.size()});
            texts->append(label);
            texts->append(name);
            for (wchar_t c : name)
                texts->push_back(UpperLatin(c));
        }
    }

    const LCID locale = ::GetUserDefaultLCID();
    std::vector<BYTE> keys;
    keys.reserve(places.size() * 48);
    std::vector<OrderItem> order(places.size());
    for (size_t i = 0; i < places.size(); ++i) {
        const size_t keyAt = keys.size();
        AppendSortKey(locale, std::wstring_view(texts->data() + places[i].at, places[i].sortLength), keys);
        order[i] = OrderItem{static_cast<uint32_t>(keyAt), static_cast<uint32_t>(keys.size() - keyAt),
                             static_cast<uint32_t>(i), 0};
    }
    SortByKeys(order.data(), order.data() + order.size(), keys.data(), 0);

    std::vector<ChannelEntry> sorted;
    sorted.reserve(order.size());
    for (const OrderItem& item : order) {
        const TextPlace& place = places[item.index];
        const wchar_t* sortText = texts->data() + place.at;
        sorted.push_back(ChannelEntry{place.channel, std::wstring_view(sortText + place.sortLength, place.nameLength),
                                      std::wstring_view(sortText, place.sortLength), texts});
    }
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
