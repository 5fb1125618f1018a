// Loads thousands of damaged variants of a realistic data-tree file. None may
// crash, hang, or allocate much more than the file's own size: the reader
// must refuse what the data cannot hold before it allocates for it.
#include "foundation/DataKey.h"
#include "foundation/MemoryStream.h"
#include "foundation/VectorStream.h"
#include "AllocationTracker.h"
#include "TestBytes.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <functional>
#include <string>

using TestBytes::Bytes;

namespace {

// A catalogue-like tree: nested keys, every value type, a few kilobytes.
void BuildRealisticTree(KV::DataKey& root)
{
    root.SetName("channel_list_1.0");
    root.SetUInt("version", 7);
    root.SetStringW("title", L"Catalogue \u00e9t\u00e9");
    KV::DataKey* channels = root.GetKey("channels", true);
    for (int i = 0; i < 6; ++i) {
        char name[32];
        std::snprintf(name, sizeof(name), "de_channel%02d", i);
        KV::DataKey* channel = channels->GetKey(name, true);
        channel->SetStringA("name", std::string("Channel ") + name);
        channel->SetStringW("desc", std::wstring(L"Beschreibung f\u00fcr Kanal ") + std::to_wstring(i));
        channel->SetStringA("url", std::string("http://127.0.0.1/stream/") + name + ".asx");
        channel->SetInt("category", i % 5 - 2);
        channel->SetBool("tv", i % 2 == 0);
        channel->SetFloat("rating", 0.5f * i);
        channel->SetDouble("added", 45000.25 + i);
        channel->SetColor("tint", static_cast<uint8_t>(i), 0x20, 0x30, 0);
        KV::MemoryStream logo;
        for (int b = 0; b < 24; ++b) {
            const uint8_t byte = static_cast<uint8_t>(b * 7 + i);
            logo.Write(&byte, 1);
        }
        channel->SetBuffer("logo", logo);
        KV::DataKey* streams = channel->GetKey("streams", true);
        for (int s = 0; s < 2; ++s) {
            KV::DataKey* stream = streams->GetKey(std::to_string(64 << s), true);
            stream->SetStringA("value", std::string("mms://127.0.0.1/") + name + "_" + std::to_string(s));
            stream->SetUInt("bitrate", 64u << s);
        }
    }
    KV::DataKey* deep = root.GetKey("settings", true);
    for (int level = 0; level < 6; ++level)
        deep = deep->GetKey("level" + std::to_string(level), true);
    deep->SetStringW("leaf", std::wstring(300, L'w')); // a three-byte count
}

Bytes SerializedRealisticTree()
{
    KV::DataKey root;
    BuildRealisticTree(root);
    KV::MemoryStream stream;
    root.Serialize(stream);
    return TestBytes::ContentOf(stream);
}

struct Mutation {
    std::string label;
    Bytes bytes;
};

// Every variant, generated deterministically from the intact file.
std::vector<Mutation> MakeMutations(const Bytes& original)
{
    std::vector<Mutation> variants;
    const size_t size = original.size();
    for (size_t length = 0; length < size; ++length)
        variants.push_back({"cut at " + std::to_string(length), Bytes(original.begin(), original.begin() + length)});

    // Huge counts at every offset; a merely large one at every third.
    const struct {
        uint32_t value;
        size_t stride;
    } patches[] = {{0x7FFFFFFFu, 1}, {0xFFFFFFFFu, 1}, {0x00010000u, 3}};
    for (const auto& patchInfo : patches) {
        const uint32_t patch = patchInfo.value;
        for (size_t offset = 0; offset + 4 <= size; offset += patchInfo.stride) {
            Bytes bytes = original;
            std::memcpy(&bytes[offset], &patch, 4);
            variants.push_back({"patch " + std::to_string(patch) + " at " + std::to_string(offset), bytes});
        }
    }
    // A long compact count (0x7FFFFFFF) wherever a string length may sit.
    const uint8_t longCount[] = {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F};
    for (size_t offset = 0; offset + sizeof(longCount) <= size; offset += 3) {
        Bytes bytes = original;
        std::memcpy(&bytes[offset], longCount, sizeof(longCount));
        variants.push_back({"long count at " + std::to_string(offset), bytes});
    }
    for (size_t offset = 0; offset < size; ++offset) {
        Bytes bytes = original;
        bytes[offset] ^= 0xFF;
        variants.push_back({"flip at " + std::to_string(offset), bytes});
    }
    // Random damage: a few bytes set at random, then maybe a cut.
    uint32_t seed = 12345;
    auto next = [&seed]() {
        seed = seed * 1103515245u + 12345u;
        return seed >> 8;
    };
    for (int i = 0; i < 2000; ++i) {
        Bytes bytes = original;
        const int damage = 1 + static_cast<int>(next() % 6);
        for (int d = 0; d < damage; ++d)
            bytes[next() % size] = static_cast<uint8_t>(next());
        if (next() % 4 == 0)
            bytes.resize(next() % size);
        variants.push_back({"random " + std::to_string(i), bytes});
    }
    return variants;
}

struct LoadMeasure {
    bool loaded = false;
    int64_t peakExtra = 0;
    size_t largest = 0;
};

LoadMeasure Measure(const std::function<bool(KV::DataKey&)>& load)
{
    LoadMeasure measure;
    const int64_t before = AllocationTracker::LiveBytes();
    AllocationTracker::Reset();
    {
        KV::DataKey key("before");
        measure.loaded = load(key);
        if (!measure.loaded) {
            EXPECT_EQ(key.GetName(), "before");
            EXPECT_EQ(key.GetValueCount() + key.GetKeyCount(), 0u);
        } else {
            // Whatever was read must write and read back.
            KV::VectorStream again;
            key.Serialize(again);
            again.Seek(0, KV::SeekBegin);
            KV::DataKey reread;
            EXPECT_TRUE(reread.Deserialize(again));
        }
    }
    measure.peakExtra = AllocationTracker::PeakLiveBytes() - before;
    measure.largest = AllocationTracker::LargestRequest();
    return measure;
}

class DataTreeMutation : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        s_original = new Bytes(SerializedRealisticTree());
    }
    static void TearDownTestSuite()
    {
        delete s_original;
        s_original = nullptr;
    }

    // Loading (including the check that a loaded tree serialises again) may
    // take a small multiple of the file size, never more.
    static int64_t Bound(size_t fileSize) { return 8 * static_cast<int64_t>(fileSize) + 16 * 1024; }

    static Bytes* s_original;
};

Bytes* DataTreeMutation::s_original = nullptr;

TEST_F(DataTreeMutation, TheFixtureIsRealisticAndLoads)
{
    ASSERT_TRUE(AllocationTracker::Active());
    const Bytes& original = *s_original;
    EXPECT_GT(original.size(), 2000u);
    EXPECT_LT(original.size(), 8000u);
    const LoadMeasure intact = Measure([&](KV::DataKey& key) {
        KV::MemoryStream stream;
        TestBytes::Fill(stream, original);
        return key.Deserialize(stream);
    });
    EXPECT_TRUE(intact.loaded);
    // Proof that the counter sees the tree being built.
    EXPECT_GT(intact.peakExtra, static_cast<int64_t>(original.size()));
    EXPECT_LT(intact.peakExtra, Bound(original.size()));
    std::printf("fixture %u bytes, intact load peak %lld bytes, largest request %u\n",
                static_cast<unsigned>(original.size()), static_cast<long long>(intact.peakExtra),
                static_cast<unsigned>(intact.largest));
}

TEST_F(DataTreeMutation, AFreedTreeGivesAllItsMemoryBack)
{
    // Trees take their small blocks from a pool, which keeps a size's
    // memory only while some tree still holds blocks of that size: so each
    // measurement here starts from nothing and sees what a load really takes.
    const Bytes& original = *s_original;
    const auto loadAndFree = [&] {
        KV::MemoryStream stream;
        TestBytes::Fill(stream, original);
        KV::DataKey key;
        return key.Deserialize(stream);
    };
    ASSERT_TRUE(loadAndFree()); // whatever a program makes once is made now
    const int64_t before = AllocationTracker::LiveBytes();
    ASSERT_TRUE(loadAndFree());
    EXPECT_EQ(AllocationTracker::LiveBytes(), before);
}

TEST_F(DataTreeMutation, AFreedTreeLeavesNoMoreRoomThanTheLivingTreesUse)
{
    // While other trees live, the pool keeps empty room for the next tree,
    // but no more than those trees use themselves.
    const int64_t start = AllocationTracker::LiveBytes();
    KV::DataKey living;
    {
        KV::MemoryStream stream;
        TestBytes::Fill(stream, *s_original);
        ASSERT_TRUE(living.Deserialize(stream));
    }
    const int64_t livingBytes = AllocationTracker::LiveBytes() - start;
    {
        KV::DataKey large("large");
        for (int i = 0; i < 40; ++i) {
            KV::DataKey* copy = new KV::DataKey(living);
            copy->SetName("copy" + std::to_string(i));
            large.SetKey(copy);
        }
        EXPECT_GT(AllocationTracker::LiveBytes() - start, 30 * livingBytes);
    }
    EXPECT_LE(AllocationTracker::LiveBytes() - start, 2 * livingBytes);
}

TEST(HugeCounts, AreRefusedBeforeAnythingIsAllocatedForThem)
{
    const char* const cases[] = {
        "4B 56 44 54 00  FF FF FF FF  00 00 00 00",                               // values
        "4B 56 44 54 00  00 00 00 00  FF FF FF FF",                               // sub-keys
        "4B 56 44 54 FF FF FF FF FF FF 7F 00 00 00 00 00 00 00 00",               // key name
        "4B 56 44 54 00  01 00 00 00  01 76 06 FF FF FF FF FF FF 7F 00 00 00 00", // StringA
        "4B 56 44 54 00  01 00 00 00  01 76 07 FF FF FF FF FF FF 7F 00 00 00 00", // StringW
        "4B 56 44 54 00  01 00 00 00  01 76 08 FF FF FF FF 00 00 00 00",          // Buffer
    };
    for (const char* hex : cases) {
        const Bytes bytes = TestBytes::FromHex(hex);
        const LoadMeasure m = Measure([&](KV::DataKey& key) {
            KV::MemoryStream stream;
            TestBytes::Fill(stream, bytes);
            return key.Deserialize(stream);
        });
        EXPECT_FALSE(m.loaded) << hex;
        EXPECT_LT(m.largest, 256u) << hex;
    }

    KV::MemoryStream stream;
    TestBytes::Fill(stream, TestBytes::FromHex("FF FF FF FF FF FF 7F 61"));
    AllocationTracker::Reset();
    std::string text;
    EXPECT_FALSE(stream.ReadString(text));
    KV::MemoryStream buffer;
    TestBytes::Fill(stream, TestBytes::FromHex("FF FF FF 7F 61"));
    EXPECT_FALSE(buffer.LoadFrom(stream));
    EXPECT_LT(AllocationTracker::LargestRequest(), 256u);
}

TEST_F(DataTreeMutation, DamagedDataFromMemoryNeverOverAllocates)
{
    const Bytes& original = *s_original;
    const std::vector<Mutation> variants = MakeMutations(original);
    ASSERT_GT(variants.size(), 10000u);
    size_t loaded = 0;
    int64_t worstPeak = 0;
    size_t worstRequest = 0;
    for (size_t i = 0; i < variants.size(); ++i) {
        const Mutation& variant = variants[i];
        const LoadMeasure m = Measure([&](KV::DataKey& key) {
            KV::MemoryStream stream;
            TestBytes::Fill(stream, variant.bytes);
            return key.Deserialize(stream);
        });
        ASSERT_LT(m.peakExtra, Bound(original.size())) << variant.label;
        ASSERT_LT(static_cast<int64_t>(m.largest), Bound(original.size())) << variant.label;
        // The reader of other streams goes through the virtual operations;
        // every other variant is enough to cover each kind of damage.
        if (i % 2 == 0) {
            const LoadMeasure viaStream = Measure([&](KV::DataKey& key) {
                TestBytes::ForwardingStream stream(variant.bytes);
                return key.Deserialize(stream);
            });
            ASSERT_EQ(viaStream.loaded, m.loaded) << variant.label;
            ASSERT_LT(viaStream.peakExtra, Bound(original.size())) << variant.label;
        }
        loaded += m.loaded ? 1 : 0;
        worstPeak = std::max(worstPeak, m.peakExtra);
        worstRequest = std::max(worstRequest, m.largest);
    }
    // Truncations all fail; many flips in payload bytes still load.
    EXPECT_GT(loaded, 0u);
    EXPECT_LT(loaded, variants.size());
    std::printf("%u variants, %u loaded, worst peak %lld bytes, largest request %u\n",
                static_cast<unsigned>(variants.size()), static_cast<unsigned>(loaded),
                static_cast<long long>(worstPeak), static_cast<unsigned>(worstRequest));
}

TEST_F(DataTreeMutation, DamagedFilesNeverOverAllocate)
{
    const Bytes& original = *s_original;
    const std::vector<Mutation> variants = MakeMutations(original);
    TestBytes::ScratchFolder folder(L"mutation_scratch");
    const std::wstring path = folder.File(L"damaged.kvdt");
    // Files cost platform calls: every eleventh variant covers each kind.
    for (size_t i = 0; i < variants.size(); i += 11) {
        const Mutation& variant = variants[i];
        ASSERT_TRUE(TestBytes::WriteFileBytes(path, variant.bytes));
        const LoadMeasure m = Measure([&](KV::DataKey& key) { return key.Load(path); });
        ASSERT_LT(m.peakExtra, Bound(original.size())) << variant.label;
        ASSERT_LT(static_cast<int64_t>(m.largest), Bound(original.size())) << variant.label;
    }
}

} // namespace
