// Large trees read from data are built in one arena and, while nothing in
// them changes, freed with it at once. These follow a loaded tree through
// every way its parts can change or leave it: the content must stay right and
// every byte must come back once the last part is gone.
#include "foundation/DataKey.h"
#include "foundation/MemoryStream.h"
#include "foundation/VectorStream.h"
#include "AllocationTracker.h"
#include "TestBytes.h"
#include "TestTrees.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <thread>

using TestBytes::Bytes;

namespace {

const char LongKeyName[] = "a sub-key name longer than a short string";
const char LongValueName[] = "a value name longer than a short string";

// Catalogue-shaped and well above the size from which loads use an arena,
// with long and short names and strings. withHeapPayloads adds doubles and
// buffers, which live on the heap even in an arena's tree.
void BuildLargeTree(KV::DataKey& root, bool withHeapPayloads = false)
{
    root.SetName("large");
    root.SetStringW("web", L"http://tv.example/live/%s");
    for (int i = 0; i < 1500; ++i) {
        char name[16];
        std::snprintf(name, sizeof(name), "ch%05d", i);
        KV::DataKey* channel = root.GetKey(name, true);
        channel->SetStringW("n", L"Channel number " + std::to_wstring(i));
        channel->SetStringA("c", "mu");
        channel->SetInt("b", i);
        channel->SetFloat("f", i + 0.25f);
        channel->SetBool("r", i % 3 == 0);
        if (withHeapPayloads) {
            channel->SetDouble("d", i + 0.25);
            KV::MemoryStream logo;
            logo.Write(name, 8);
            channel->SetBuffer("logo", logo);
        }
        channel->GetKey("0", true)->SetStringW("u", L"mms://stream.example/" + std::to_wstring(i));
    }
    root.GetKey(LongKeyName, true)->SetStringA(LongValueName, std::string(40, 'x'));
}

Bytes SerializedLargeTree(bool withHeapPayloads = false)
{
    KV::DataKey root;
    BuildLargeTree(root, withHeapPayloads);
    KV::VectorStream stream;
    root.Serialize(stream);
    return Bytes(stream.GetData(), stream.GetData() + stream.GetSize());
}

// Whether the memory at address is still in the process (a loaded tree's
// parts live in spans taken straight from the system).
bool IsCommitted(const void* address)
{
    MEMORY_BASIC_INFORMATION info{};
    return ::VirtualQuery(address, &info, sizeof(info)) == sizeof(info) && info.State == MEM_COMMIT;
}

bool Load(const Bytes& bytes, KV::DataKey& key)
{
    KV::MemoryStream stream;
    TestBytes::Fill(stream, bytes);
    return key.Deserialize(stream);
}

class DataTreeArena : public testing::Test {
protected:
    static void SetUpTestSuite() { s_bytes = new Bytes(SerializedLargeTree()); }
    static void TearDownTestSuite()
    {
        delete s_bytes;
        s_bytes = nullptr;
    }
    static Bytes* s_bytes;
};

Bytes* DataTreeArena::s_bytes = nullptr;

TEST_F(DataTreeArena, ALoadedTreeHoldsAndWritesWhatItRead)
{
    ASSERT_GT(s_bytes->size(), 128u * 1024);
    KV::DataKey loaded;
    ASSERT_TRUE(Load(*s_bytes, loaded));
    // What it writes reads back as the same tree (in an order of its own).
    KV::VectorStream written;
    loaded.Serialize(written);
    EXPECT_EQ(written.GetSize(), s_bytes->size());
    KV::DataKey reread;
    ASSERT_TRUE(Load(Bytes(written.GetData(), written.GetData() + written.GetSize()), reread));
    EXPECT_TRUE(TestTrees::SameTree(reread, loaded));

    const KV::DataKey* channel = loaded.GetKey("ch00042");
    ASSERT_NE(channel, nullptr);
    EXPECT_EQ(channel->GetStringWView("n"), L"Channel number 42");
    EXPECT_EQ(channel->GetStringAView("c"), "mu");
    EXPECT_EQ(channel->GetStringAView("n"), ""); // a wide string is no narrow one
    EXPECT_EQ(channel->GetStringWView("missing"), L"");
    EXPECT_EQ(channel->GetFloat("f"), 42.25f);
    // The strict getters give the same text, and keep giving the same object.
    const std::wstring* name = channel->GetStringW("n");
    ASSERT_NE(name, nullptr);
    EXPECT_EQ(*name, L"Channel number 42");
    EXPECT_EQ(channel->GetStringW("n"), name);
    EXPECT_EQ(channel->GetStringWView("n"), L"Channel number 42");

    KV::DataKey built;
    BuildLargeTree(built);
    EXPECT_TRUE(TestTrees::SameTree(loaded, built));
}

TEST_F(DataTreeArena, EveryByteComesBackWhateverWasDoneToTheTree)
{
    const Bytes& bytes = *s_bytes;
    const struct {
        const char* what;
        std::function<void(KV::DataKey&)> change;
    } cases[] = {
        {"nothing", [](KV::DataKey&) {}},
        {"strings read through the strict getters",
         [](KV::DataKey& root) {
             for (const auto& entry : root.GetKeys()) {
                 if (entry.first != LongKeyName) {
                     EXPECT_NE(entry.second->GetStringW("n"), nullptr) << entry.first;
                 }
             }
             EXPECT_NE(root.GetKey(LongKeyName)->GetStringA(LongValueName), nullptr);
         }},
        {"values set in place",
         [](KV::DataKey& root) {
             KV::DataKey* channel = root.GetKey("ch00007");
             channel->SetStringW("n", std::wstring(100, L'n'));
             channel->SetStringA("c", std::string(100, 'c'));
             channel->FindValue("b")->SetBuffer(KV::MemoryStream());
             channel->FindValue("f")->SetName(std::string(50, 'f'));
         }},
        {"keys and values added, renamed and deleted",
         [](KV::DataKey& root) {
             root.GetKey("new key with a long name", true)->SetStringW("w", std::wstring(90, L'w'));
             EXPECT_TRUE(root.DeleteKey("ch00001"));
             EXPECT_TRUE(root.RenameKey("ch00002", std::string(60, 'r')));
             EXPECT_TRUE(root.GetKey("ch00003")->DeleteValue("n"));
             root.SetKey(new KV::DataKey(*root.GetKey("ch00004")));
             root.GetKey("ch00005")->SetValue(new KV::DataValue(*root.GetKey("ch00006")->FindValue("n")));
         }},
        {"a sub-key read again from data",
         [&bytes](KV::DataKey& root) { EXPECT_TRUE(Load(bytes, *root.GetKey("ch00008"))); }},
        {"the whole tree replaced by a copy of a part of it",
         [](KV::DataKey& root) { root = *root.GetKey("ch00009"); }},
        {"cleared", [](KV::DataKey& root) { root.Clear(); }},
    };
    {
        KV::DataKey warm; // whatever a program makes once is made now
        ASSERT_TRUE(Load(bytes, warm));
    }
    for (const auto& c : cases) {
        const int64_t before = AllocationTracker::LiveBytes();
        const void* part = nullptr;
        {
            KV::DataKey root;
            ASSERT_TRUE(Load(bytes, root)) << c.what;
            part = root.GetKey("ch00100");
            ASSERT_TRUE(IsCommitted(part));
            c.change(root);
        }
        EXPECT_EQ(AllocationTracker::LiveBytes(), before) << c.what;
        EXPECT_FALSE(IsCommitted(part)) << c.what;
    }
}

TEST_F(DataTreeArena, DoublesAndBuffersAreFreedWithTheTree)
{
    const Bytes bytes = SerializedLargeTree(true);
    const int64_t before = AllocationTracker::LiveBytes();
    {
        KV::DataKey root;
        ASSERT_TRUE(Load(bytes, root));
        const KV::DataKey* channel = root.GetKey("ch00042");
        ASSERT_NE(channel, nullptr);
        EXPECT_EQ(channel->GetDouble("d"), 42.25);
        ASSERT_NE(channel->GetBuffer("logo"), nullptr);
        EXPECT_EQ(channel->GetBuffer("logo")->GetSize(), 8u);
        KV::DataKey built;
        BuildLargeTree(built, true);
        EXPECT_TRUE(TestTrees::SameTree(root, built));
    }
    EXPECT_EQ(AllocationTracker::LiveBytes(), before);
}

TEST_F(DataTreeArena, PartsTakenOutLiveOnAfterTheTree)
{
    const int64_t before = AllocationTracker::LiveBytes();
    std::unique_ptr<KV::DataKey> key;
    std::unique_ptr<KV::DataValue> value;
    const void* part = nullptr;
    {
        KV::DataKey root;
        ASSERT_TRUE(Load(*s_bytes, root));
        part = root.GetKey("ch00100");
        key.reset(root.DetachKey("ch00010"));
        value.reset(root.GetKey("ch00011")->DetachValue("n"));
        ASSERT_TRUE(key && value);
    }
    // The arena stays while parts of it live on.
    EXPECT_TRUE(IsCommitted(part));
    EXPECT_EQ(key->GetStringWView("n"), L"Channel number 10");
    EXPECT_EQ(*key->GetKey("0")->GetStringW("u"), L"mms://stream.example/10");
    EXPECT_EQ(value->GetStringWView(), L"Channel number 11");
    EXPECT_EQ(*value->GetStringW(), L"Channel number 11");

    {
        // Adopted by a tree of its own, and changed there.
        KV::DataKey other("other");
        other.SetKey(key.release());
        other.GetKey("ch00010")->SetStringA("c", "news");
        EXPECT_EQ(other.GetKey("ch00010")->GetStringAView("c"), "news");
        KV::DataValue copy(*value);
        value.reset();
        EXPECT_EQ(copy.GetName(), "n");
        EXPECT_EQ(copy.GetStringWView(), L"Channel number 11");
    }
    EXPECT_EQ(AllocationTracker::LiveBytes(), before);
    EXPECT_FALSE(IsCommitted(part));
}

TEST_F(DataTreeArena, TreesLoadedOnSeveralThreadsAtOnceAreWhole)
{
    // One thread at a time fills an arena; the others take the pool.
    constexpr int Threads = 4;
    bool loaded[Threads] = {};
    bool same[Threads] = {};
    KV::DataKey built;
    BuildLargeTree(built);
    std::vector<std::thread> threads;
    for (int t = 0; t < Threads; ++t)
        threads.emplace_back([&, t] {
            for (int round = 0; round < 3; ++round) {
                KV::DataKey root;
                loaded[t] = Load(*s_bytes, root);
                KV::DataKey copy(root);
                same[t] = loaded[t] && copy.GetKeyCount() == built.GetKeyCount() &&
                          root.GetKey("ch01499")->GetStringWView("n") == L"Channel number 1499";
            }
        });
    for (std::thread& thread : threads)
        thread.join();
    for (int t = 0; t < Threads; ++t) {
        EXPECT_TRUE(loaded[t]) << t;
        EXPECT_TRUE(same[t]) << t;
    }
}

TEST_F(DataTreeArena, AFailedLoadLeavesNothingBehind)
{
    const Bytes cut(s_bytes->begin(), s_bytes->end() - 3);
    const int64_t before = AllocationTracker::LiveBytes();
    {
        KV::DataKey root("kept name");
        EXPECT_FALSE(Load(cut, root));
        EXPECT_EQ(root.GetName(), "kept name");
        EXPECT_EQ(root.GetValueCount() + root.GetKeyCount(), 0u);
        // The key reads again after a failed read.
        EXPECT_TRUE(Load(*s_bytes, root));
        EXPECT_EQ(root.GetKeyCount(), 1501u);
    }
    EXPECT_EQ(AllocationTracker::LiveBytes(), before);
}

} // namespace
