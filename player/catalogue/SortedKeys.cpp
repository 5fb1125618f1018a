#include "player/catalogue/SortedKeys.h"

#include "player/catalogue/OrderedChunk.h"

#include <algorithm>
#include <cstdint>
#include <string_view>

namespace {

// Two names whose first eight bytes differ are ordered by them; equal
// prefixes leave it to the whole names.
uint64_t NamePrefix(std::string_view name)
{
    return OrderedChunk(reinterpret_cast<const unsigned char*>(name.data()), name.size(), 0);
}

struct SortEntry {
    uint64_t prefix;
    std::string_view name;
    uint32_t order; // in the file
    KV::DataTreeView::Key key;
};

bool Before(const SortEntry& a, const SortEntry& b)
{
    return a.prefix != b.prefix ? a.prefix < b.prefix : a.name < b.name;
}

bool SameName(const SortEntry& a, const SortEntry& b)
{
    return a.prefix == b.prefix && a.name == b.name;
}

} // namespace

std::vector<KV::DataTreeView::Key> SortedSubKeys(const KV::DataTreeView::Key& key)
{
    // Most names differ in their first bytes: comparing those as numbers
    // spares the sort a visit to every name for every comparison.
    std::vector<SortEntry> entries;
    entries.reserve(key.GetKeyCount());
    bool sorted = true;
    key.ForEachKey([&](const KV::DataTreeView::Key& sub) {
        const std::string_view name = sub.GetName();
        entries.push_back(SortEntry{NamePrefix(name), name, static_cast<uint32_t>(entries.size()), sub});
        if (entries.size() > 1 && !Before(entries[entries.size() - 2], entries.back()))
            sorted = false;
    });
    // Files written in key order need no sort at all.
    if (!sorted) {
        std::sort(entries.begin(), entries.end(), [](const SortEntry& a, const SortEntry& b) {
            return SameName(a, b) ? a.order < b.order : Before(a, b);
        });
    }

    std::vector<KV::DataTreeView::Key> keys;
    keys.reserve(entries.size());
    for (size_t i = 0; i < entries.size(); ++i)
        if (i == 0 || !SameName(entries[i], entries[i - 1]))
            keys.push_back(entries[i].key);
    return keys;
}
