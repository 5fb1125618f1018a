#include "player/catalogue/SortedKeys.h"

#include "foundation/DataKey.h"

#include <algorithm>

std::vector<const KV::DataKey*> SortedSubKeys(const KV::DataKey& key)
{
    std::vector<const KV::DataKey*> keys;
    keys.reserve(key.GetKeyCount());
    for (const auto& entry : key.GetKeys())
        keys.push_back(entry.second);
    std::sort(keys.begin(), keys.end(),
              [](const KV::DataKey* a, const KV::DataKey* b) { return a->GetName() < b->GetName(); });
    return keys;
}
