#include "foundation/DataKey.h"
#include "foundation/MemoryStream.h"
#include "TestBytes.h"
#include "TestTrees.h"

#include <gtest/gtest.h>

#include <functional>

using TestBytes::Append;
using TestBytes::Bytes;
using TestBytes::ContentOf;
using TestBytes::Fill;
using TestBytes::FromHex;

namespace {

const char* const LangDocHex =
    "4B 56 44 54, 0C, 6C 61 6E 67 5F 64 6F 63 5F 31 2E 30, 01 00 00 00,"
    "0A, 6C 61 6E 67 5F 63 6F 75 6E 74, 01, 02 00 00 00, 00 00 00 00";

Bytes Serialized(const KV::DataKey& key)
{
    KV::MemoryStream stream;
    key.Serialize(stream);
    return ContentOf(stream);
}

// Reads through a memory stream and through a plain stream; both readers
// must agree on the result.
bool Parse(const Bytes& bytes, KV::DataKey& key)
{
    KV::DataKey viaStream(key);
    TestBytes::ForwardingStream plain(bytes);
    const bool streamResult = viaStream.Deserialize(plain);

    KV::MemoryStream stream;
    Fill(stream, bytes);
    const bool result = key.Deserialize(stream);
    EXPECT_EQ(result, streamResult);
    EXPECT_TRUE(TestTrees::SameTree(key, viaStream));
    if (result) { // where a failed read stops is left open
        EXPECT_EQ(stream.GetPosition(), plain.GetPosition());
    }
    return result;
}

// A nameless root holding just the given value records and no sub-keys.
Bytes RootWithValues(uint32_t count, const Bytes& records)
{
    Bytes bytes = FromHex("4B 56 44 54 00");
    for (int i = 0; i < 4; ++i)
        bytes.push_back(static_cast<uint8_t>(count >> (8 * i)));
    return Append(Append(bytes, records), FromHex("00 00 00 00"));
}

TEST(DataTreeFormat, WorkedExampleBytes)
{
    KV::DataKey root("lang_doc_1.0");
    root.SetInt("lang_count", 2);
    EXPECT_EQ(Serialized(root), FromHex(LangDocHex));

    KV::DataKey loaded("old");
    ASSERT_TRUE(Parse(FromHex(LangDocHex), loaded));
    EXPECT_EQ(loaded.GetName(), "lang_doc_1.0");
    EXPECT_EQ(loaded.GetInt("lang_count", 0), 2);
    EXPECT_EQ(loaded.GetValueCount(), 1u);
    EXPECT_EQ(loaded.GetKeyCount(), 0u);
}

TEST(DataTreeFormat, EmptyKeyIsTwelveBytes)
{
    EXPECT_EQ(Serialized(KV::DataKey()), FromHex("4B 56 44 54 00 00 00 00 00 00 00 00 00"));
}

struct RecordCase {
    const char* label;
    std::function<void(KV::DataKey&)> set;
    const char* recordHex; // value named "v"
};

class ValueRecords : public testing::TestWithParam<RecordCase> {};

TEST_P(ValueRecords, LayoutAndReadBack)
{
    const RecordCase& c = GetParam();
    KV::DataKey key;
    c.set(key);
    const Bytes expected = RootWithValues(1, FromHex(c.recordHex));
    EXPECT_EQ(Serialized(key), expected);

    KV::DataKey loaded;
    ASSERT_TRUE(Parse(expected, loaded));
    EXPECT_TRUE(TestTrees::SameTree(key, loaded));
}

INSTANTIATE_TEST_SUITE_P(AllTypes, ValueRecords, testing::Values(
    RecordCase{"UInt", [](KV::DataKey& k) { k.SetUInt("v", 0x01020304); }, "01 76 00 04 03 02 01"},
    RecordCase{"Int", [](KV::DataKey& k) { k.SetInt("v", -2); }, "01 76 01 FE FF FF FF"},
    RecordCase{"Bool", [](KV::DataKey& k) { k.SetBool("v", true); }, "01 76 02 01 00 00 00"},
    RecordCase{"Float", [](KV::DataKey& k) { k.SetFloat("v", 1.0f); }, "01 76 03 00 00 80 3F"},
    RecordCase{"Color", [](KV::DataKey& k) { k.SetColor("v", 0x00302010u); }, "01 76 04 10 20 30 00"},
    RecordCase{"Double", [](KV::DataKey& k) { k.SetDouble("v", 2.0); }, "01 76 05 00 00 00 00 00 00 00 40"},
    RecordCase{"StringA", [](KV::DataKey& k) { k.SetStringA("v", "ab"); }, "01 76 06 02 61 62"},
    RecordCase{"StringW", [](KV::DataKey& k) { k.SetStringW("v", L"a"); }, "01 76 07 01 61 00"},
    RecordCase{"EmptyStringW", [](KV::DataKey& k) { k.SetStringW("v", L""); }, "01 76 07 00"},
    RecordCase{"EmptyStringA", [](KV::DataKey& k) { k.SetStringA("v", ""); }, "01 76 06 00"},
    RecordCase{"Buffer", [](KV::DataKey& k) { KV::MemoryStream m; m.Write("\x7F", 1); k.SetBuffer("v", m); },
               "01 76 08 01 00 00 00 7F"},
    RecordCase{"EmptyBuffer", [](KV::DataKey& k) { k.SetBuffer("v", KV::MemoryStream()); },
               "01 76 08 00 00 00 00"}),
    [](const testing::TestParamInfo<RecordCase>& info) { return std::string(info.param.label); });

TEST(DataTreeFormat, WideStringOf255UnitsUsesThreeByteCount)
{
    KV::DataKey key;
    key.SetStringW("v", std::wstring(255, L'\u00e9'));
    const Bytes bytes = Serialized(key);
    // magic, empty name, value count, then "v", type 07 and the count.
    ASSERT_EQ(bytes.size(), 4u + 1 + 4 + 2 + 1 + 3 + 510 + 4);
    EXPECT_EQ(Bytes(bytes.begin() + 9, bytes.begin() + 15), FromHex("01 76 07 FF FF 00"));
    KV::DataKey loaded;
    ASSERT_TRUE(Parse(bytes, loaded));
    EXPECT_EQ(loaded.GetStringW("v", L""), std::wstring(255, L'\u00e9'));
}

TEST(DataTreeFormat, UnknownTypeCodeIsKeptWithoutPayload)
{
    const Bytes bytes = RootWithValues(2, FromHex("03 6F 64 64 0C  04 6E 65 78 74 00 07 00 00 00"));
    KV::DataKey loaded;
    ASSERT_TRUE(Parse(bytes, loaded));
    const KV::DataValue* odd = loaded.FindValue("odd");
    ASSERT_NE(odd, nullptr);
    EXPECT_EQ(static_cast<int>(odd->GetType()), 12);
    EXPECT_STREQ(odd->GetTypeName(), L"Unknown");
    EXPECT_EQ(loaded.GetUInt("odd", 5u), 5u);
    EXPECT_EQ(loaded.GetUInt("next", 0), 7u);
    // Written back as name and type byte only.
    KV::DataKey only;
    only.SetValue(new KV::DataValue(*odd));
    EXPECT_EQ(Serialized(only), RootWithValues(1, FromHex("03 6F 64 64 0C")));
}

TEST(DataTreeFormat, BoolReadsItsFirstByteOnly)
{
    KV::DataKey loaded;
    ASSERT_TRUE(Parse(RootWithValues(2, FromHex("01 61 02 00 FF FF FF  01 62 02 02 00 00 00")), loaded));
    EXPECT_FALSE(loaded.GetBool("a", true));
    EXPECT_TRUE(loaded.GetBool("b", false));
}

TEST(DataTreeFormat, NestedWrongMagicLeavesAnEmptyUnnamedSubKey)
{
    const Bytes bytes = FromHex(
        "4B 56 44 54 01 72  00 00 00 00  02 00 00 00"
        "58 58 58 58"                                    // a sub-key with a wrong magic
        "4B 56 44 54 02 6F 6B  00 00 00 00  00 00 00 00"); // then a good one
    KV::DataKey loaded;
    ASSERT_TRUE(Parse(bytes, loaded));
    EXPECT_EQ(loaded.GetKeyCount(), 2u);
    const KV::DataKey* unnamed = loaded.GetKey("");
    ASSERT_NE(unnamed, nullptr);
    EXPECT_EQ(unnamed->GetValueCount() + unnamed->GetKeyCount(), 0u);
    EXPECT_NE(loaded.GetKey("ok"), nullptr);
}

TEST(DataTreeFormat, WrongRootMagicFailsAndKeepsTheOldName)
{
    KV::DataKey key("keep me");
    key.SetUInt("old", 1);
    EXPECT_FALSE(Parse(FromHex("4B 56 44 55 00 00 00 00 00 00 00 00 00"), key));
    EXPECT_EQ(key.GetName(), "keep me");
    EXPECT_EQ(key.GetValueCount(), 0u);
}

TEST(DataTreeFormat, FirstOfDuplicateNamesWins)
{
    const Bytes bytes = FromHex(
        "4B 56 44 54 00  02 00 00 00"
        "01 76 00 01 00 00 00   01 76 01 02 00 00 00"      // v: UInt 1, then Int 2
        "02 00 00 00"
        "4B 56 44 54 01 6B  01 00 00 00 01 61 00 01 00 00 00  00 00 00 00"
        "4B 56 44 54 01 6B  01 00 00 00 01 62 00 02 00 00 00  00 00 00 00");
    KV::DataKey loaded;
    ASSERT_TRUE(Parse(bytes, loaded));
    EXPECT_EQ(loaded.GetUInt("v", 0), 1u);
    EXPECT_EQ(loaded.FindValue("v", KV::ValueType::Int), nullptr);
    ASSERT_EQ(loaded.GetKeyCount(), 1u);
    EXPECT_TRUE(loaded.GetKey("k")->HasValue("a"));
    EXPECT_FALSE(loaded.GetKey("k")->HasValue("b"));
}

TEST(DataTreeFormat, RoundTripOfAllTypes)
{
    KV::DataKey tree;
    TestTrees::BuildAllTypesTree(tree);
    KV::DataKey loaded;
    ASSERT_TRUE(Parse(Serialized(tree), loaded));
    EXPECT_TRUE(TestTrees::SameTree(tree, loaded));
}

TEST(DataTreeFormat, TruncationAnywhereFailsAndLeavesTheKeyEmpty)
{
    KV::DataKey tree;
    TestTrees::BuildAllTypesTree(tree);
    const Bytes full = Serialized(tree);
    for (size_t length = 0; length < full.size(); ++length) {
        KV::DataKey key("previous");
        key.SetUInt("stale", 1);
        ASSERT_FALSE(Parse(Bytes(full.begin(), full.begin() + length), key)) << length;
        ASSERT_EQ(key.GetName(), "previous") << length;
        ASSERT_EQ(key.GetValueCount() + key.GetKeyCount(), 0u) << length;
    }
}

TEST(DataTreeFormat, CountsTheDataCannotHoldFail)
{
    const char* const cases[] = {
        "4B 56 44 54 00  FF FF FF 7F  00 00 00 00",       // value count
        "4B 56 44 54 00  FF FF FF FF  00 00 00 00",
        "4B 56 44 54 00  00 00 00 00  FF FF FF FF",       // sub-key count
        "4B 56 44 54 00  00 00 00 00  03 00 00 00  58 58 58 58 58 58 58 58", // 3 keys, 8 bytes
        "4B 56 44 54 FF FF FF FF FF FF 7F 00 00 00 00 00 00 00 00",          // key name
        "4B 56 44 54 00  01 00 00 00  FF FF FF FF FF FF 7F 00",              // value name
        "4B 56 44 54 00  01 00 00 00  01 76 06 FF FF FF FF FF FF 7F 00 00 00 00", // StringA
        "4B 56 44 54 00  01 00 00 00  01 76 07 FF FE FF 00 00 00 00 00",          // StringW
        "4B 56 44 54 00  01 00 00 00  01 76 08 FF FF FF FF 00 00 00 00",          // Buffer
    };
    for (const char* hex : cases) {
        KV::DataKey key;
        EXPECT_FALSE(Parse(FromHex(hex), key)) << hex;
    }
}

Bytes NestedChain(uint32_t depth)
{
    // Each level: magic, empty name, no values, one sub-key; the last has none.
    const Bytes level = FromHex("4B 56 44 54 00 00 00 00 00 01 00 00 00");
    const Bytes leaf = FromHex("4B 56 44 54 00 00 00 00 00 00 00 00 00");
    Bytes bytes;
    bytes.reserve(level.size() * (depth + 1));
    for (uint32_t i = 0; i < depth; ++i)
        bytes.insert(bytes.end(), level.begin(), level.end());
    return Append(bytes, leaf);
}

TEST(DataTreeFormat, NestingIsLimited)
{
    KV::DataKey key;
    EXPECT_TRUE(Parse(NestedChain(KV::DataKey::MaxLoadDepth), key));
    EXPECT_FALSE(Parse(NestedChain(KV::DataKey::MaxLoadDepth + 1), key));
    // Far beyond the limit the reader neither recurses nor reads on.
    EXPECT_FALSE(Parse(NestedChain(200000), key));
    EXPECT_EQ(key.GetKeyCount(), 0u);
}

TEST(DataTreeFormat, StreamConstructorsRead)
{
    KV::MemoryStream stream;
    Fill(stream, FromHex(LangDocHex));
    KV::DataKey key(stream);
    EXPECT_EQ(key.GetInt("lang_count", 0), 2);

    Fill(stream, FromHex("0A 6C 61 6E 67 5F 63 6F 75 6E 74 01 02 00 00 00"));
    KV::DataValue value(stream);
    EXPECT_EQ(value.GetName(), "lang_count");
    EXPECT_EQ(value.GetInt(), 2);
}

} // namespace
