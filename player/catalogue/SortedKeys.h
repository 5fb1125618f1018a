#pragma once
// The sub-keys of a catalogue key in byte order of their names, as a load of
// the file keeps them: of two sub-keys of one name only the first in the
// file.

#include "foundation/DataTreeView.h"

#include <vector>

std::vector<KV::DataTreeView::Key> SortedSubKeys(const KV::DataTreeView::Key& key);
