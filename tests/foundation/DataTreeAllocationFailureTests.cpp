// Memory running out in the middle of a load: the loader refuses the data
// and tells that memory ran out; nothing is thrown, nothing half-read stays,
// and the same data loads once memory is there again. The C heap is made to
// fail (AllocationTracker) after a given number of bytes, at many points of
// the load in turn.
#include "foundation/DataKey.h"
#include "foundation/Lang.h"
#include "foundation/MemoryStream.h"
#include "foundation/VectorStream.h"
#include "foundation/ZipArchive.h"
#include "tests/support/TempFolder.h"
#include "tests/support/ZipBuilder.h"
#include "AllocationTracker.h"
#include "TestBytes.h"
#include "TestTrees.h"

#include <gtest/gtest.h>

#include <string>

using TestBytes::Bytes;

namespace {

// Below the size from which loads use an arena, so that every part of the
// tree comes from the heap; with names too long to be held inline.
void BuildTree(KV::DataKey& root)
{
    root.SetName("lang_doc_1.0");
    KV::DataKey* language = root.GetKey("lang_0", true);
    language->SetStringW("language", L"English");
    language->SetStringW("ext", L"en");
    for (int i = 0; i < 300; ++i) {
        KV::DataKey* item = language->GetKey("an item id long enough for the heap " + std::to_string(i), true);
        item->SetStringW("text", L"Text number " + std::to_wstring(i));
        item->SetDouble("d", i);
    }
}

Bytes Serialized(const KV::DataKey& tree)
{
    KV::VectorStream stream;
    tree.Serialize(stream);
    return Bytes(stream.GetData(), stream.GetData() + stream.GetSize());
}

// Limits from nothing at all up to nearly what the whole load takes.
const int64_t Limits[] = {0, 64, 512, 2048, 8192, 20000, 40000, 60000, 80000, 120000};

class FailingAllocations : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(AllocationTracker::Active());
        BuildTree(m_tree);
        m_bytes = Serialized(m_tree);
        ASSERT_LT(m_bytes.size(), 64u * 1024);
    }
    void TearDown() override { AllocationTracker::StopFailing(); }

    // Runs load under each limit; every run either reads the whole tree or
    // reports OutOfMemory, and the smallest limits must run out.
    template <typename Load>
    void ExpectRefusalsUnderEveryLimit(Load&& load)
    {
        int outOfMemory = 0;
        for (int64_t limit : Limits) {
            KV::DataKey key("before");
            KV::DataKey::ReadResult result = KV::DataKey::ReadResult::Refused;
            AllocationTracker::FailBeyond(limit);
            EXPECT_NO_THROW(result = load(key)) << "limit " << limit;
            AllocationTracker::StopFailing();
            if (result == KV::DataKey::ReadResult::Read) {
                EXPECT_TRUE(TestTrees::SameTree(key, m_tree)) << "limit " << limit;
                continue;
            }
            EXPECT_EQ(result, KV::DataKey::ReadResult::OutOfMemory) << "limit " << limit;
            EXPECT_EQ(key.GetName(), "before") << "limit " << limit;
            EXPECT_EQ(key.GetValueCount() + key.GetKeyCount(), 0u) << "limit " << limit;
            ++outOfMemory;
        }
        EXPECT_GE(outOfMemory, 3);
        KV::DataKey again;
        EXPECT_EQ(load(again), KV::DataKey::ReadResult::Read);
        EXPECT_TRUE(TestTrees::SameTree(again, m_tree));
    }

    KV::DataKey m_tree;
    Bytes m_bytes;
};

TEST_F(FailingAllocations, DeserializeFromMemoryRefusesAndThrowsNothing)
{
    KV::MemoryStream stream;
    TestBytes::Fill(stream, m_bytes);
    ExpectRefusalsUnderEveryLimit([&](KV::DataKey& key) {
        stream.Seek(0, KV::SeekBegin);
        return key.ReadFrom(stream);
    });
}

TEST_F(FailingAllocations, LoadFromAFileRefusesAndThrowsNothing)
{
    TempFolder folder;
    const std::wstring path = folder.File(L"tree.kvdt");
    ASSERT_TRUE(TestBytes::WriteFileBytes(path, m_bytes));
    ExpectRefusalsUnderEveryLimit([&](KV::DataKey& key) { return key.LoadFile(path); });
    // The bool form gives false for the same refusals.
    KV::DataKey key;
    AllocationTracker::FailBeyond(0);
    bool loaded = true;
    EXPECT_NO_THROW(loaded = key.Load(path));
    AllocationTracker::StopFailing();
    EXPECT_FALSE(loaded);
}

TEST_F(FailingAllocations, ZipEntryRefusesAndSaysMemoryRanOut)
{
    TempFolder folder;
    const std::wstring path = folder.File(L"update.zip");
    const std::string zip = ZipBuilder().Add("update", std::string(m_bytes.begin(), m_bytes.end())).Build();
    ASSERT_TRUE(TestBytes::WriteFileBytes(path, Bytes(zip.begin(), zip.end())));
    ZipArchive archive;
    ASSERT_TRUE(archive.Open(path.c_str()));
    bool outOfMemory = false;
    std::unique_ptr<KV::DataKey> tree;
    AllocationTracker::FailBeyond(2048);
    EXPECT_NO_THROW(tree = archive.LoadDataKey(L"update", &outOfMemory));
    AllocationTracker::StopFailing();
    EXPECT_EQ(tree, nullptr);
    EXPECT_TRUE(outOfMemory);
    tree = archive.LoadDataKey(L"update", &outOfMemory);
    ASSERT_NE(tree, nullptr);
    EXPECT_FALSE(outOfMemory);
    EXPECT_TRUE(TestTrees::SameTree(*tree, m_tree));
}

TEST_F(FailingAllocations, LanguagePackLoadsNothingAndThrowsNothing)
{
    TempFolder folder;
    const std::wstring path = folder.File(L"pack.lngp");
    ASSERT_TRUE(TestBytes::WriteFileBytes(path, m_bytes));
    for (int64_t limit : Limits) {
        AllocationTracker::FailBeyond(limit);
        EXPECT_NO_THROW(KV::Lang::Load(path)) << "limit " << limit;
        AllocationTracker::StopFailing();
        // All of the language or none of it.
        if (KV::Lang::GetCount() != 0) {
            EXPECT_EQ(KV::Lang::GetText("an item id long enough for the heap 299"), L"Text number 299");
        }
        KV::Lang::Free();
    }
    KV::Lang::Load(path);
    EXPECT_EQ(KV::Lang::GetCount(), 1);
    KV::Lang::Free();
}

} // namespace
