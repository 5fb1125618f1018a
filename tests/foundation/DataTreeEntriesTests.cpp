// The entries of a key: found by name through any run of changes, in small
// keys and in keys large enough to keep an index; kept in the order they came.
#include "foundation/DataKey.h"
#include "foundation/FileStream.h"
#include "foundation/MemoryStream.h"
#include "TestTrees.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace {

std::string NameOf(uint32_t n)
{
    return "entry " + std::to_string(n);
}

// What the key must hold, checked entry by entry: every name held is found as
// the very object stored under it, and every name let go is gone.
void ExpectHolds(const KV::DataKey& key, const std::map<std::string, const KV::DataKey*>& model,
                 const std::vector<std::string>& gone)
{
    ASSERT_EQ(key.GetKeyCount(), model.size());
    for (const auto& entry : model)
        ASSERT_EQ(key.GetKey(entry.first), entry.second) << entry.first;
    for (const std::string& name : gone)
        ASSERT_EQ(key.GetKey(name), nullptr) << name;
    size_t visited = 0;
    for (const auto& entry : key.GetKeys()) {
        ASSERT_EQ(entry.first, entry.second->GetName());
        ++visited;
    }
    ASSERT_EQ(visited, model.size());
}

// Adds, deletes, detaches and renames in an order that mixes them, for a key
// that stays small and for one that grows far past where it keeps an index.
TEST(DataTreeEntries, EveryEntryStaysFoundThroughAddsRemovesAndRenames)
{
    for (const uint32_t count : {12u, 3000u}) {
        SCOPED_TRACE(count);
        KV::DataKey key("many");
        std::map<std::string, const KV::DataKey*> model;
        std::vector<std::string> gone;
        for (uint32_t n = 0; n < count; ++n)
            model[NameOf(n)] = key.AddKey(NameOf(n));
        ExpectHolds(key, model, gone);

        uint32_t seed = 12345;
        const auto next = [&seed] { return seed = seed * 1103515245u + 12345u; };
        for (uint32_t step = 0; step < count; ++step) {
            const std::string name = NameOf(next() % count);
            const auto found = model.find(name);
            if (found == model.end()) {
                model[name] = key.AddKey(name);
            } else if (step % 3 == 0) {
                ASSERT_TRUE(key.DeleteKey(name));
                model.erase(found);
                gone.push_back(name);
            } else if (step % 3 == 1) {
                const std::string renamed = name + " renamed " + std::to_string(step);
                ASSERT_TRUE(key.RenameKey(name, renamed));
                model[renamed] = found->second;
                model.erase(found);
                gone.push_back(name);
            } else {
                std::unique_ptr<KV::DataKey> detached(key.DetachKey(name));
                ASSERT_EQ(detached.get(), found->second);
                model.erase(found);
                gone.push_back(name);
            }
        }
        // Names let go may have come back since.
        std::vector<std::string> stillGone;
        for (const std::string& name : gone)
            if (model.count(name) == 0)
                stillGone.push_back(name);
        ExpectHolds(key, model, stillGone);
    }
}

// A file lists the entries of a key in any order; saving what was read gives
// the file's own bytes back, whatever the order and however large the key.
TEST(DataTreeEntries, ATreeReadFromAFileWritesTheSameBytesBack)
{
    for (const uint32_t count : {5u, 70u, 20000u}) {
        SCOPED_TRACE(count);
        KV::DataKey built("root");
        // Added from the top down, so no order by name or by time remains.
        for (uint32_t n = count; n-- > 0;) {
            built.SetUInt(NameOf(n * 7919u % count), n);
            built.GetKey(NameOf(n * 104729u % count), true)->SetStringW("w", L"x");
        }
        KV::MemoryStream first;
        built.Serialize(first);
        first.Seek(0, KV::SeekBegin);

        KV::DataKey loaded;
        ASSERT_TRUE(loaded.Deserialize(first));
        KV::MemoryStream second;
        loaded.Serialize(second);
        ASSERT_EQ(second.GetSize(), first.GetSize());
        EXPECT_EQ(0, std::memcmp(first.GetBuffer(), second.GetBuffer(), first.GetSize()));
    }
}

// A save goes to the file in pieces; a record larger than a piece and a tree
// of many of them come back whole.
TEST(DataTreeEntries, ASaveLargerThanItsPiecesComesBackWhole)
{
    wchar_t folder[MAX_PATH];
    ASSERT_NE(GetTempPathW(MAX_PATH, folder), 0u);
    const std::wstring path = std::wstring(folder) + L"entries_large_save.kvdt";

    KV::DataKey tree("large");
    KV::MemoryStream big;
    std::vector<uint8_t> bytes(700 * 1024);
    for (size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<uint8_t>(i * 31 + 7);
    big.Write(bytes.data(), static_cast<uint32_t>(bytes.size()));
    tree.SetBuffer("big", big);
    for (uint32_t n = 0; n < 20000; ++n)
        tree.GetKey(NameOf(n), true)->SetStringA("text", std::string(n % 50, 'a'));

    ASSERT_TRUE(tree.Save(path));
    KV::DataKey loaded;
    ASSERT_TRUE(loaded.Load(path));
    EXPECT_TRUE(TestTrees::SameTree(tree, loaded));

    KV::MemoryStream inMemory;
    tree.Serialize(inMemory);
    KV::FileStream file(path.c_str(), true);
    EXPECT_EQ(file.GetSize(), inMemory.GetSize());
    file.Close();
    DeleteFileW(path.c_str());
}

} // namespace
