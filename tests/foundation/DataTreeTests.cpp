#include "foundation/DataKey.h"
#include "foundation/MemoryStream.h"
#include "TestBytes.h"

#include <gtest/gtest.h>

namespace {

TEST(DataValue, DefaultsAndTypeNames)
{
    KV::DataValue value;
    EXPECT_EQ(value.GetName(), "");
    EXPECT_EQ(value.GetType(), KV::ValueType::UInt);
    EXPECT_EQ(value.GetUInt(), 0u);
    EXPECT_STREQ(value.GetTypeName(), L"UInt");
    value.SetStringW(L"x");
    EXPECT_STREQ(value.GetTypeName(), L"StringW");
    EXPECT_STREQ(KV::GetValueTypeName(KV::ValueType::Buffer), L"Buffer");
    EXPECT_STREQ(KV::GetValueTypeName(static_cast<KV::ValueType>(12)), L"Unknown");
}

TEST(DataValue, ColorBytesAreTheWordFromTheLowByteUp)
{
    KV::DataValue value("c");
    value.SetColor(0x10, 0x20, 0x30, 0x00);
    EXPECT_EQ(value.GetColor(), 0x00302010u);
    value.SetColor(0x00FFEEDDu);
    EXPECT_EQ(value.GetColor(), 0x00FFEEDDu);
}

TEST(DataValue, SettingFromItsOwnPayloadKeepsIt)
{
    KV::DataValue value("s");
    value.SetStringA("same");
    value.SetStringA(*value.GetStringA());
    EXPECT_EQ(*value.GetStringA(), "same");

    KV::MemoryStream* bytes = new KV::MemoryStream();
    bytes->Write("ab", 2);
    value.SetBuffer(bytes, false);
    EXPECT_EQ(value.GetBuffer(), bytes);
    value.SetBuffer(bytes, false);
    EXPECT_EQ(value.GetBuffer(), bytes);
    value.SetBuffer(value.GetBuffer(), true);
    ASSERT_NE(value.GetBuffer(), nullptr);
    EXPECT_EQ(value.GetBuffer()->GetSize(), 2u);
}

TEST(DataKey, GettersMatchOnlyTheExactType)
{
    KV::DataKey key;
    key.SetInt("n", 5);
    key.SetBool("flag", true);
    key.SetFloat("f", 1.5f);
    key.SetDouble("d", 2.25);
    key.SetStringA("a", "text");
    EXPECT_EQ(key.GetInt("n", 0), 5);
    EXPECT_EQ(key.GetUInt("n", 99u), 99u);
    EXPECT_EQ(key.GetUInt("n"), 0u);
    EXPECT_EQ(key.GetBool("flag", false), true);
    EXPECT_EQ(key.GetInt("flag", -1), -1);
    EXPECT_EQ(key.GetFloat("f", 0), 1.5f);
    EXPECT_EQ(key.GetDouble("f", 7.0), 7.0);
    EXPECT_EQ(key.GetDouble("d"), 2.25);
    EXPECT_EQ(key.GetStringA("a", "def"), "text");
    EXPECT_EQ(key.GetStringW("a", L"def"), L"def");
    EXPECT_EQ(key.GetStringW("a"), nullptr);
    EXPECT_EQ(key.GetStringW("missing"), nullptr);
    EXPECT_EQ(key.GetColor("missing"), 0u);
    EXPECT_EQ(key.GetColor("missing", 0x123u), 0x123u);
    EXPECT_EQ(key.GetBool("missing"), false);
    KV::MemoryStream fallback;
    EXPECT_EQ(key.GetBuffer("a", &fallback), &fallback);
    EXPECT_EQ(key.FindValue("n", KV::ValueType::Int), key.FindValue("n"));
    EXPECT_EQ(key.FindValue("n", KV::ValueType::UInt), nullptr);
}

TEST(DataKey, StrictStringGettersPointIntoTheTree)
{
    KV::DataKey key;
    key.SetStringW("w", L"wide");
    const std::wstring* text = key.GetStringW("w");
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text, key.FindValue("w")->GetStringW());
    EXPECT_EQ(*text, L"wide");
}

TEST(DataKey, SetterReplacesAValueOfAnyType)
{
    KV::DataKey key;
    KV::MemoryStream bytes;
    bytes.Write("abc", 3);
    key.SetBuffer("x", bytes);
    ASSERT_NE(key.GetBuffer("x"), nullptr);
    key.SetStringW("x", L"now text");
    EXPECT_EQ(key.GetValueCount(), 1u);
    EXPECT_EQ(key.GetBuffer("x"), nullptr);
    EXPECT_EQ(key.GetStringW("x", L""), L"now text");
}

TEST(DataKey, AddSetDetachDeleteValues)
{
    KV::DataKey key;
    KV::DataValue* added = key.AddValue("v");
    ASSERT_NE(added, nullptr);
    EXPECT_EQ(added->GetType(), KV::ValueType::UInt);
    EXPECT_EQ(key.AddValue("v"), nullptr);
    EXPECT_EQ(key.FindValue("v"), added);

    KV::DataValue* replacement = new KV::DataValue("v");
    replacement->SetInt(3);
    EXPECT_EQ(key.SetValue(replacement), replacement);
    EXPECT_EQ(key.SetValue(replacement), replacement);
    EXPECT_EQ(key.GetValueCount(), 1u);
    EXPECT_EQ(key.GetInt("v", 0), 3);

    KV::DataValue* detached = key.DetachValue("v");
    EXPECT_EQ(detached, replacement);
    EXPECT_FALSE(key.HasValue("v"));
    EXPECT_EQ(key.DetachValue("v"), nullptr);
    delete detached;

    key.SetUInt("gone", 1);
    EXPECT_TRUE(key.DeleteValue("gone"));
    EXPECT_FALSE(key.DeleteValue("gone"));
}

TEST(DataKey, RenameRefusesClashesAndMissingNames)
{
    KV::DataKey key;
    key.SetUInt("a", 1);
    key.SetUInt("b", 2);
    EXPECT_FALSE(key.RenameValue("a", "b"));
    EXPECT_FALSE(key.RenameValue("missing", "c"));
    EXPECT_EQ(key.GetUInt("a", 0), 1u);
    EXPECT_EQ(key.GetUInt("b", 0), 2u);
    EXPECT_TRUE(key.RenameValue("a", "c"));
    EXPECT_FALSE(key.HasValue("a"));
    EXPECT_EQ(key.FindValue("c")->GetName(), "c");

    key.AddKey("k1");
    key.AddKey("k2");
    EXPECT_FALSE(key.RenameKey("k1", "k2"));
    EXPECT_TRUE(key.RenameKey("k1", "k3"));
    EXPECT_EQ(key.GetKey("k3")->GetName(), "k3");
}

TEST(DataKey, ValueAndSubKeyMayShareAName)
{
    KV::DataKey key;
    key.SetUInt("same", 1);
    ASSERT_NE(key.AddKey("same"), nullptr);
    EXPECT_TRUE(key.DeleteValue("same"));
    EXPECT_TRUE(key.HasKey("same"));
    key.SetUInt("same", 1);
    EXPECT_TRUE(key.DeleteKey("same"));
    EXPECT_TRUE(key.HasValue("same"));
}

TEST(DataKey, GetKeyCreatesOnlyWhenAsked)
{
    KV::DataKey key;
    EXPECT_EQ(key.GetKey("sub", false), nullptr);
    EXPECT_EQ(key.GetKeyCount(), 0u);
    KV::DataKey* sub = key.GetKey("sub", true);
    ASSERT_NE(sub, nullptr);
    EXPECT_EQ(sub->GetName(), "sub");
    EXPECT_EQ(key.GetKey("sub", true), sub);
    EXPECT_EQ(key.GetKeyCount(), 1u);
    EXPECT_EQ(key.AddKey("sub"), nullptr);

    KV::DataKey* other = new KV::DataKey("sub");
    EXPECT_EQ(key.SetKey(other), other);
    EXPECT_EQ(key.GetKey("sub"), other);
    KV::DataKey* detached = key.DetachKey("sub");
    EXPECT_EQ(detached, other);
    EXPECT_EQ(key.GetKeyCount(), 0u);
    delete detached;
}

TEST(DataKey, UniqueNamesFillTheFirstGap)
{
    KV::DataKey key;
    EXPECT_EQ(key.UniqueValueName(), "New Value #1");
    EXPECT_EQ(key.UniqueKeyName(), "New Key #1");
    key.SetUInt("New Value #1", 0);
    key.SetUInt("New Value #3", 0);
    EXPECT_EQ(key.UniqueValueName(), "New Value #2");
    key.AddKey("New Key #1");
    key.AddKey("New Key #2");
    EXPECT_EQ(key.UniqueKeyName(), "New Key #3");
}

TEST(DataKey, DeepCopyOwnsItsBuffersAndSubKeys)
{
    KV::DataKey original("root");
    KV::MemoryStream bytes;
    bytes.Write("abc", 3);
    original.SetBuffer("buf", bytes);
    original.GetKey("sub", true)->SetStringA("s", "x");

    KV::DataKey copy(original);
    EXPECT_EQ(copy.GetName(), "root");
    ASSERT_NE(copy.GetBuffer("buf"), nullptr);
    EXPECT_NE(copy.GetBuffer("buf"), original.GetBuffer("buf"));
    copy.GetBuffer("buf")->GetBuffer()[0] = 'Z';
    EXPECT_EQ(original.GetBuffer("buf")->GetBuffer()[0], 'a');
    copy.GetKey("sub")->SetStringA("s", "changed");
    EXPECT_EQ(original.GetKey("sub")->GetStringA("s", ""), "x");

    KV::DataKey assigned;
    assigned.SetUInt("old", 1);
    assigned = original;
    EXPECT_FALSE(assigned.HasValue("old"));
    EXPECT_EQ(assigned.GetKey("sub")->GetStringA("s", ""), "x");
    assigned = assigned;
    EXPECT_EQ(assigned.GetValueCount(), 1u);

    // Assigning a key its own sub-key is safe: the copy is made first.
    KV::DataKey parent;
    parent.GetKey("child", true)->SetUInt("v", 7);
    parent = *parent.GetKey("child");
    EXPECT_EQ(parent.GetName(), "child");
    EXPECT_EQ(parent.GetUInt("v", 0), 7u);
}

TEST(DataKey, ClearKeepsTheName)
{
    KV::DataKey key("name");
    key.SetUInt("v", 1);
    key.AddKey("k");
    key.Clear();
    EXPECT_EQ(key.GetName(), "name");
    EXPECT_EQ(key.GetValueCount(), 0u);
    EXPECT_EQ(key.GetKeyCount(), 0u);
}

} // namespace
