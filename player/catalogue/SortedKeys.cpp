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
        if (!entries.empty() && !(entries.back().name < name))
            sorted = false;
        entries.push_back(SortEntry{NamePrefix(name), name, static_cast<uint32_t>(entries.size()), sub});
    });
    // Files written in key order need no sort at all.
    if (!sorted) {
        std::sort(entries.begin(), entries.end(), [](const SortEntry& a, const SortEntry& b) {
            if (a.prefix != b.prefix)
                return a.prefix < b.prefix;
            if (a.name != b.name)
                return a.name < b.name;
            return a.order < b.order;
        });
    }

    std::vector<KV::DataTreeView::Key> keys;
    keys.reserve(entries.size());
    for (size_t i = 0; i < entries.size(); ++i)
        if (i == 0 || entries[i].name != entries[i - 1].name)
            keys.push_back(entries[i].key);
    return keys;
}
