#include "player/catalogue/SortedKeys.h"

#include "foundation/DataKey.h"
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
    const KV::DataKey* key;
};

} // namespace

std::vector<const KV::DataKey*> SortedSubKeys(const KV::DataKey& key)
{
    std::vector<const KV::DataKey*> keys;
    keys.reserve(key.GetKeyCount());
    for (const auto& entry : key.GetKeys())
        keys.push_back(entry.second);
    const auto byName = [](const KV::DataKey* a, const KV::DataKey* b) { return a->GetName() < b->GetName(); };
    // Files written in key order need no sort at all.
    if (std::is_sorted(keys.begin(), keys.end(), byName))
        return keys;

    // Most names differ in their first bytes: comparing those as numbers
    // spares the sort a visit to every key for every comparison.
    std::vector<SortEntry> entries;
    entries.reserve(keys.size());
    for (const KV::DataKey* each : keys)
        entries.push_back(SortEntry{NamePrefix(each->GetName()), each});
    std::sort(entries.begin(), entries.end(), [](const SortEntry& a, const SortEntry& b) {
        if (a.prefix != b.prefix)
            return a.prefix < b.prefix;
        return a.key->GetName() < b.key->GetName();
    });
    for (size_t i = 0; i < entries.size(); ++i)
        keys[i] = entries[i].key;
    return keys;
}
