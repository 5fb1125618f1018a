#pragma once
// Tree equality as the file format sees it: the same names, type codes and
// payload bytes, whatever the order of the entries.

#include "foundation/DataKey.h"

#include <gtest/gtest.h>

namespace KvdtTest {

testing::AssertionResult SameTree(const KV::DataKey& expected, const KV::DataKey& actual);

} // namespace KvdtTest
