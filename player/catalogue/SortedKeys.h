#pragma once
// The sub-keys of a data-tree key in byte order of their names (the tree's
// own maps have no order).

#include <vector>

namespace KV {
class DataKey;
}

std::vector<const KV::DataKey*> SortedSubKeys(const KV::DataKey& key);
