// What loading a hostile data tree may cost: at most 16 times the file plus
// 64 MiB, however the file's counts lie. Each test is run as a process of its
// own (see CMakeLists.txt), since the figure is the process's peak working
// set, which only grows: it covers the heap, the small-block pool and the
// arenas that large trees are read into alike.
#include "foundation/DataKey.h"
#include "foundation/Lang.h"
#include "foundation/MemoryStream.h"
#include "foundation/Skin.h"
#include "foundation/VectorStream.h"
#include "foundation/ZipArchive.h"
#include "tests/support/DataTreeBytes.h"
#include "tests/support/TempFolder.h"
#include "TestBytes.h"
#include "tests/support/ZipBuilder.h"

#include <gtest/gtest.h>
#include <windows.h>
#include <psapi.h>

#include <cstdio>
#include <functional>
#include <random>
#include <string>

using TestBytes::Bytes;

namespace {

constexpr uint64_t MiB = 1024 * 1024;

uint64_t AllowedBytes(size_t fileBytes)
{
    return 16 * static_cast<uint64_t>(fileBytes) + 64 * MiB;
}

PROCESS_MEMORY_COUNTERS Counters()
{
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof(counters);
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof(counters));
    return counters;
}

// How far the peak working set rose above what was in use before work ran.
uint64_t PeakGrowth(const std::function<void()>& work)
{
    const uint64_t before = Counters().WorkingSetSize;
    work();
    const uint64_t peak = Counters().PeakWorkingSetSize;
    return peak > before ? peak - before : 0;
}

void Report(const char* what, size_t fileBytes, uint64_t growth)
{
    std::printf("%s: file %zu KiB, peak growth %.1f MiB (%.1fx the file), allowed %.1f MiB\n", what,
                fileBytes / 1024, growth / double(MiB), growth / double(fileBytes),
                AllowedBytes(fileBytes) / double(MiB));
}

// Keys nested MaxLoadDepth deep, each claiming as many sub-keys as the bytes
// after it could hold; wrong magics fill the rest. A reader that made room
// for what each count claims would do so at every level at once.
Bytes NestedOverClaiming(size_t totalBytes)
{
    constexpr uint32_t Levels = KV::DataKey::MaxLoadDepth;
    constexpr size_t HeaderBytes = 4 + 2 + 4 + 4;
    const size_t filler = (totalBytes - Levels * HeaderBytes) / 4 * 4;
    DataTreeBytes bytes;
    for (uint32_t level = 0; level < Levels; ++level) {
        const size_t after = (Levels - level - 1) * HeaderBytes + filler;
        bytes.Key("k", 0).SubKeys(static_cast<uint32_t>(after / 4));
    }
    for (size_t i = 0; i < filler / 4; ++i)
        bytes.WrongMagic();
    return bytes.Get();
}

// Many values with short names under one key.
Bytes Flat(size_t totalBytes)
{
    DataTreeBytes bytes;
    const uint32_t count = static_cast<uint32_t>(totalBytes / 9);
    bytes.Key("flat", count);
    for (uint32_t i = 0; i < count; ++i) {
        char name[8];
        std::snprintf(name, sizeof(name), "%03x", i & 0xFFF);
        bytes.Int(name, static_cast<int32_t>(i));
    }
    return bytes.SubKeys(0).Get();
}

// Many empty sub-keys under one key, most of them wrong magics.
Bytes Wide(size_t totalBytes)
{
    DataTreeBytes bytes;
    const uint32_t count = static_cast<uint32_t>(totalBytes / 4);
    bytes.Key("wide", 0).SubKeys(count);
    for (uint32_t i = 0; i < count; ++i) {
        if (i % 64 == 0) {
            char name[8];
            std::snprintf(name, sizeof(name), "%x", i);
            bytes.Key(name, 0).SubKeys(0);
        } else {
            bytes.WrongMagic();
        }
    }
    return bytes.Get();
}

// A catalogue-like tree whose bytes are then damaged here and there: counts
// and lengths turn into anything.
Bytes Catalogue(unsigned channels)
{
    KV::DataKey root("cat");
    for (unsigned i = 0; i < channels; ++i) {
        KV::DataKey* country = root.GetKey("c" + std::to_string(i % 50), true);
        KV::DataKey* channel = country->GetKey("ch" + std::to_string(i), true);
        channel->SetStringW("n", L"Channel " + std::to_wstring(i));
        channel->SetStringA("c", "mu");
        channel->GetKey("0", true)->SetStringW("u", L"mms://stream.example/" + std::to_wstring(i));
        channel->GetKey("0", true)->SetInt("b", 64);
    }
    KV::VectorStream stream;
    root.Serialize(stream);
    return Bytes(stream.GetData(), stream.GetData() + stream.GetSize());
}

Bytes Mutated(const Bytes& original, unsigned seed)
{
    Bytes bytes = original;
    std::mt19937 random(seed);
    for (int i = 0; i < 16; ++i) {
        const size_t at = random() % bytes.size();
        bytes[at] = static_cast<uint8_t>(random() % 2 ? 0xFF : random());
    }
    return bytes;
}

bool LoadFile(const TempFolder& folder, const Bytes& bytes)
{
    const std::wstring path = folder.File(L"tree.kvdt");
    EXPECT_TRUE(TestBytes::WriteFileBytes(path, bytes));
    KV::DataKey tree("before");
    const bool loaded = tree.Load(path);
    if (!loaded) {
        EXPECT_EQ(tree.GetName(), "before");
    }
    return loaded;
}

bool DeserializeFromMemory(const Bytes& bytes)
{
    KV::MemoryStream stream;
    TestBytes::Fill(stream, bytes);
    KV::DataKey tree;
    return tree.Deserialize(stream);
}

// The nested file, handed to one loader by road (which says whether it was
// refused): refused, within the bound.
void ExpectNestedRefused(const char* road, const std::function<bool(const TempFolder&, const Bytes&)>& refuses)
{
    TempFolder folder;
    const Bytes bytes = NestedOverClaiming(512 * 1024);
    bool refused = false;
    const uint64_t growth = PeakGrowth([&] { refused = refuses(folder, bytes); });
    Report(road, bytes.size(), growth);
    EXPECT_TRUE(refused);
    EXPECT_LE(growth, AllowedBytes(bytes.size()));
}

TEST(DataTreeMemory, NestedOverClaimingFileIsRefusedThroughLoadWithinTheBound)
{
    ExpectNestedRefused("nested, Load",
                        [](const TempFolder& folder, const Bytes& bytes) { return !LoadFile(folder, bytes); });
}

TEST(DataTreeMemory, NestedOverClaimingFileIsRefusedThroughDeserializeWithinTheBound)
{
    ExpectNestedRefused("nested, Deserialize",
                        [](const TempFolder&, const Bytes& bytes) { return !DeserializeFromMemory(bytes); });
}

// The updaters' road: the "update" entry of a small zip holding the file.
TEST(DataTreeMemory, NestedOverClaimingZipEntryIsRefusedWithinTheBound)
{
    ExpectNestedRefused("nested, zip entry", [](const TempFolder& folder, const Bytes& bytes) {
        const std::wstring path = folder.File(L"update.zip");
        const std::string zip = ZipBuilder().Add("update", std::string(bytes.begin(), bytes.end())).Build();
        EXPECT_TRUE(TestBytes::WriteFileBytes(path, Bytes(zip.begin(), zip.end())));
        ZipArchive archive;
        EXPECT_TRUE(archive.Open(path.c_str()));
        bool outOfMemory = true;
        const bool refused = archive.LoadDataKey(L"update", &outOfMemory) == nullptr;
        EXPECT_FALSE(outOfMemory);
        return refused;
    });
}

TEST(DataTreeMemory, NestedOverClaimingPacksLeaveLanguageAndSkinEmptyWithinTheBound)
{
    ExpectNestedRefused("nested, language pack and skin", [](const TempFolder& folder, const Bytes& bytes) {
        const std::wstring path = folder.File(L"pack.lngp");
        EXPECT_TRUE(TestBytes::WriteFileBytes(path, bytes));
        KV::Lang::Load(path);
        KV::Skin::Load(path);
        const bool refused = KV::Lang::GetCount() == 0 && KV::Skin::GetImage("k") == nullptr;
        KV::Lang::Free();
        KV::Skin::Free();
        return refused;
    });
}

// Other shapes at a few MiB, each loaded through both roads: whether they
// load or not, they stay within the bound.
struct Shape {
    const char* name;
    std::function<Bytes()> make;
};

void ExpectWithinBound(const Shape& shape)
{
    TempFolder folder;
    const Bytes bytes = shape.make();
    const uint64_t growth = PeakGrowth([&] {
        LoadFile(folder, bytes);
        DeserializeFromMemory(bytes);
    });
    Report(shape.name, bytes.size(), growth);
    EXPECT_LE(growth, AllowedBytes(bytes.size())) << shape.name;
}

TEST(DataTreeMemory, FlatFileStaysWithinTheBound)
{
    ExpectWithinBound({"flat", [] { return Flat(4 * MiB); }});
}

TEST(DataTreeMemory, WideFileStaysWithinTheBound)
{
    ExpectWithinBound({"wide", [] { return Wide(8 * MiB); }});
}

TEST(DataTreeMemory, MutatedFilesStayWithinTheBound)
{
    const Bytes original = Catalogue(40000);
    TempFolder folder;
    const uint64_t growth = PeakGrowth([&] {
        for (unsigned seed = 1; seed <= 40; ++seed) {
            const Bytes bytes = Mutated(original, seed);
            LoadFile(folder, bytes);
            DeserializeFromMemory(bytes);
        }
    });
    Report("mutated catalogue", original.size(), growth);
    EXPECT_LE(growth, AllowedBytes(original.size()));
}

// One language of many short items, through the language module, which
// keeps its own copy of every text.
TEST(DataTreeMemory, WideLanguagePackStaysWithinTheBound)
{
    DataTreeBytes bytes;
    const uint32_t items = 4 * 1024 * 1024 / 28;
    bytes.Key("lang_doc_1.0", 0).SubKeys(1);
    bytes.Key("lang_0", 2).StringW("language", L"English").StringW("ext", L"en").SubKeys(items);
    for (uint32_t i = 0; i < items; ++i) {
        char name[16];
        std::snprintf(name, sizeof(name), "i%05x", i);
        bytes.Key(name, 1).StringW("text", L"t").SubKeys(0);
    }
    TempFolder folder;
    const std::wstring path = folder.File(L"wide.lngp");
    ASSERT_TRUE(TestBytes::WriteFileBytes(path, bytes.Get()));
    const uint64_t growth = PeakGrowth([&] { KV::Lang::Load(path); });
    Report("wide language pack", bytes.Get().size(), growth);
    EXPECT_EQ(KV::Lang::GetCount(), 1);
    EXPECT_LE(growth, AllowedBytes(bytes.Get().size()));
    KV::Lang::Free();
}

// A legitimate large tree still loads (the memory budget is for hostile files).
TEST(DataTreeMemory, LargeCatalogueLoadsWithinTheBound)
{
    const Bytes bytes = Catalogue(100000);
    TempFolder folder;
    bool loaded = false;
    const uint64_t growth = PeakGrowth([&] { loaded = LoadFile(folder, bytes); });
    Report("catalogue, 100k channels", bytes.size(), growth);
    EXPECT_TRUE(loaded);
    EXPECT_LE(growth, AllowedBytes(bytes.size()));
}

} // namespace
