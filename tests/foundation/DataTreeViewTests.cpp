// The view of data-tree bytes must take exactly the bytes a load takes and,
// once its callers keep the first entry of each name, show exactly the tree
// the load keeps. Each input is read both ways and the results compared.

#include "foundation/DataKey.h"
#include "foundation/DataTreeView.h"
#include "foundation/MemoryStream.h"
#include "TestBytes.h"
#include "tests/support/DataTreeBytes.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

using TestBytes::Bytes;
using TestBytes::ContentOf;
using TestBytes::Fill;
using TestBytes::FromHex;

namespace {

Bytes Serialized(const KV::DataKey& key)
{
    KV::MemoryStream stream;
    key.Serialize(stream);
    return ContentOf(stream);
}

// A value read from a record of the given name, type code and payload bytes.
std::unique_ptr<KV::DataValue> ValueFromRecord(const std::string& name, uint8_t code, const uint8_t* payload,
                                               size_t payloadBytes)
{
    KV::MemoryStream stream;
    Fill(stream, DataTreeBytes().Value(name, code, Bytes(payload, payload + payloadBytes)).Get());
    auto value = std::make_unique<KV::DataValue>();
    EXPECT_TRUE(value->Deserialize(stream)) << name;
    return value;
}

// The value the view shows as a value of its own. The view hands out names
// as they lie in the bytes, so the type code and payload follow the name:
// payloads without a getter of the view are taken from there.
std::unique_ptr<KV::DataValue> CopyValue(const KV::DataValueView& view, const Bytes& bytes)
{
    const std::string name(view.GetName());
    const auto* code = reinterpret_cast<const uint8_t*>(view.GetName().data()) + name.size();
    const uint8_t* end = bytes.data() + bytes.size();
    if (code < bytes.data() || code >= end) {
        ADD_FAILURE() << "value '" << name << "' lies outside the bytes";
        return std::make_unique<KV::DataValue>(name);
    }
    const KV::ValueType type = view.GetType();
    EXPECT_EQ(*code, static_cast<uint8_t>(type)) << name;
    const uint8_t* payload = code + 1;

    // The strict getters: only the value's own type counts.
    uint32_t inlineBits = 0;
    if (static_cast<uint8_t>(type) <= static_cast<uint8_t>(KV::ValueType::Color))
        std::memcpy(&inlineBits, payload, sizeof(inlineBits));
    EXPECT_EQ(view.GetUInt(), type == KV::ValueType::UInt ? inlineBits : 0u) << name;
    EXPECT_EQ(view.GetInt(), type == KV::ValueType::Int ? static_cast<int32_t>(inlineBits) : 0) << name;
    if (type != KV::ValueType::Bool) {
        EXPECT_FALSE(view.GetBool()) << name;
    }
    if (type != KV::ValueType::StringA) {
        EXPECT_TRUE(view.GetStringAView().empty()) << name;
    }
    if (type != KV::ValueType::StringW) {
        EXPECT_TRUE(view.GetStringWView().empty()) << name;
    }

    auto value = std::make_unique<KV::DataValue>(name);
    switch (type) {
    case KV::ValueType::StringA:
        value->SetStringA(std::string(view.GetStringAView()));
        break;
    case KV::ValueType::StringW: {
        const std::wstring_view text = view.GetStringWView();
        std::wstring copy(text.size(), L'\0');
        if (!text.empty())
            std::memcpy(&copy[0], text.data(), text.size() * sizeof(wchar_t));
        value->SetStringW(copy);
        break;
    }
    case KV::ValueType::Buffer: {
        uint32_t size = 0;
        std::memcpy(&size, payload, sizeof(size));
        if (size > static_cast<size_t>(end - payload - 4)) {
            ADD_FAILURE() << "buffer '" << name << "' runs past the bytes";
            break;
        }
        KV::MemoryStream content;
        content.Write(payload + 4, size);
        value->SetBuffer(content);
        break;
    }
    case KV::ValueType::Double:
        return ValueFromRecord(name, *code, payload, sizeof(double));
    default: // inline payloads, and codes above Buffer with none
        return ValueFromRecord(name, *code, payload, static_cast<uint8_t>(type) <= 4 ? 4 : 0);
    }
    return value;
}

// What a load keeps of the keys and values the view shows: the first of
// each name.
void Rebuild(const KV::DataTreeView::Key& view, KV::DataKey& key, const Bytes& bytes)
{
    uint32_t values = 0;
    view.ForEachValue([&](const KV::DataValueView& value) {
        ++values;
        if (!key.HasValue(std::string(value.GetName())))
            key.SetValue(CopyValue(value, bytes).release());
    });
    EXPECT_EQ(values, view.GetValueCount()) << key.GetName();
    uint32_t keys = 0;
    view.ForEachKey([&](const KV::DataTreeView::Key& sub) {
        ++keys;
        const std::string name(sub.GetName());
        if (!key.HasKey(name))
            Rebuild(sub, *key.AddKey(name), bytes);
    });
    EXPECT_EQ(keys, view.GetKeyCount()) << key.GetName();
}

// Open takes the bytes exactly when Deserialize does, and then shows the
// tree it keeps. Returns whether the bytes were taken.
bool ReadsLikeALoad(const Bytes& bytes)
{
    KV::MemoryStream stream;
    Fill(stream, bytes);
    KV::DataKey loaded;
    const bool load = loaded.Deserialize(stream);

    KV::DataTreeView view;
    const bool open = view.Open(bytes.data(), static_cast<uint32_t>(bytes.size()));
    EXPECT_EQ(open, load) << "Open and Deserialize disagree";
    EXPECT_EQ(view.IsOpen(), open);
    if (open && load) {
        KV::DataKey rebuilt(std::string(view.Root().GetName()));
        Rebuild(view.Root(), rebuilt, bytes);
        EXPECT_EQ(Serialized(rebuilt), Serialized(loaded)) << "the trees differ";
    }
    return open;
}

// A text whose count is written in a longer form than needed (0xFF and a
// uint16, or 0xFF, 0xFFFF and a uint32): loads take it as the short one.
Bytes LongFormText(const std::string& text, bool sevenBytes)
{
    const auto count = static_cast<uint32_t>(text.size());
    DataTreeBytes bytes;
    bytes.Scalar(uint8_t{0xFF});
    if (sevenBytes)
        bytes.Scalar(uint16_t{0xFFFF}).Scalar(count);
    else
        bytes.Scalar(static_cast<uint16_t>(count));
    return bytes.Raw(Bytes(text.begin(), text.end())).Get();
}

// Every kind of record and every duplicate a file can hold, nested, with
// long counts, and some bytes after the root.
Bytes RichTree()
{
    const std::string longName(300, 'k');
    DataTreeBytes tree;
    tree.Key("root", 14)
        .UInt("v", 1)
        .Int("v", 2) // a second "v" of another type
        .StringA("s", "first")
        .StringW("s", L"second")
        .Value("odd", 12) // an unknown code: no payload
        .UInt("odd", 3)
        .Bool("flag", true)
        .Value("float", 3, FromHex("00 00 C0 3F"))
        .Value("color", 4, FromHex("10 20 30 40"))
        .Double("double", -2.5)
        .Buffer("buffer", FromHex("00 01 02 FF"))
        .Buffer("empty", Bytes())
        .StringW(longName, std::wstring(300, L'\u00e9'))
        .Raw(LongFormText("n3", false)).Scalar(uint8_t{6}).Raw(LongFormText("seven", true))
        .SubKeys(7)
            .Key("k", 1).UInt("a", 1).SubKeys(1)
                .Key("deep", 1).StringA("x", "y").SubKeys(1)
                    .Key("deeper", 0).SubKeys(0)
            .Key("k", 1).UInt("b", 2).SubKeys(0) // a second "k": dropped
            .WrongMagic() // kept as an empty unnamed key...
            .Key("", 1).UInt("lost", 1).SubKeys(0) // ...so this one is dropped
            .Key("ok", 2).Int("i", -1).Int("i", -2).SubKeys(0)
            .Key(longName, 0).SubKeys(0)
            .Raw(FromHex("4B 56 44 54")).Raw(LongFormText("seven-key", true)).Scalar(uint32_t{0}).SubKeys(0)
        .Raw(FromHex("DE AD BE EF 4B 56 44 54"));
    return tree.Get();
}

struct ViewCase {
    const char* label;
    Bytes bytes;
    bool reads;
};

TEST(DataTreeView, ReadsAndShowsWhatALoadKeeps)
{
    const ViewCase cases[] = {
        {"rich tree", RichTree(), true},
        {"empty root", DataTreeBytes().Key("", 0).SubKeys(0).Get(), true},
        {"wrong magic as the last sub-key",
         DataTreeBytes().Key("r", 0).SubKeys(2).Key("a", 0).SubKeys(0).WrongMagic().Get(), true},
        {"only a wrong magic before a same-named key",
         DataTreeBytes().Key("r", 0).SubKeys(2).WrongMagic().Key("", 1).UInt("x", 1).SubKeys(0).Get(), true},
        {"unknown codes of one name", DataTreeBytes().Key("r", 3).Value("u", 9).Value("u", 255).UInt("u", 1).SubKeys(0).Get(),
         true},
        {"counts of seven bytes",
         DataTreeBytes().Key(std::string(0xFFFF, 'n'), 2)
             .StringA(std::string(0x10000, 'a'), std::string(0xFFFF, 'b'))
             .StringW("w", std::wstring(70000, L'\u20ac'))
             .SubKeys(0).Get(),
         true},
        {"counts of three bytes at their ends",
         DataTreeBytes().Key(std::string(0xFF, 'n'), 2).StringA("a", std::string(0xFFFE, 'b'))
             .StringA(std::string(0xFE, 'c'), "").SubKeys(0).Get(),
         true},
        {"wrong root magic", DataTreeBytes().WrongMagic().Raw(Bytes(9, 0)).Get(), false},
        {"no bytes", Bytes(), false},
        {"more values than the bytes hold", DataTreeBytes().Key("r", 2).UInt("a", 1).SubKeys(0).Get(), false},
        {"more sub-keys than the bytes hold",
         DataTreeBytes().Key("r", 0).SubKeys(2).Key("a", 0).SubKeys(0).Raw(Bytes(3, 0)).Get(), false},
    };
    for (const ViewCase& c : cases) {
        SCOPED_TRACE(c.label);
        EXPECT_EQ(ReadsLikeALoad(c.bytes), c.reads);
    }
}

TEST(DataTreeView, TruncatedAndDamagedBytesReadAsALoadReadsThem)
{
    const Bytes rich = RichTree();
    for (size_t length = 0; length <= rich.size(); ++length) {
        SCOPED_TRACE("prefix of " + std::to_string(length));
        ReadsLikeALoad(Bytes(rich.begin(), rich.begin() + length));
        if (testing::Test::HasFailure())
            return;
    }
    // Every byte in turn, counts included, set to a few values.
    for (size_t at = 0; at < rich.size(); ++at) {
        for (uint8_t replacement : {uint8_t{0x00}, uint8_t{0xFF}, static_cast<uint8_t>(rich[at] + 1)}) {
            Bytes damaged = rich;
            damaged[at] = replacement;
            SCOPED_TRACE("byte " + std::to_string(at) + " set to " + std::to_string(replacement));
            ReadsLikeALoad(damaged);
            if (testing::Test::HasFailure())
                return;
        }
    }
}

TEST(DataTreeView, NestingIsLimitedAsForALoad)
{
    // A chain of keys below the root, the last holding one sub-key with a
    // wrong magic or none.
    const auto chain = [](uint32_t depth, bool wrongMagicBelow) {
        DataTreeBytes bytes;
        for (uint32_t level = 0; level < depth; ++level)
            bytes.Key("", 0).SubKeys(1);
        bytes.Key("", 0).SubKeys(wrongMagicBelow ? 1 : 0);
        if (wrongMagicBelow)
            bytes.WrongMagic();
        return bytes.Get();
    };
    EXPECT_TRUE(ReadsLikeALoad(chain(KV::DataKey::MaxLoadDepth, false)));
    EXPECT_TRUE(ReadsLikeALoad(chain(KV::DataKey::MaxLoadDepth - 1, true)));
    EXPECT_FALSE(ReadsLikeALoad(chain(KV::DataKey::MaxLoadDepth + 1, false)));
    EXPECT_FALSE(ReadsLikeALoad(chain(KV::DataKey::MaxLoadDepth, true)));
    EXPECT_FALSE(ReadsLikeALoad(chain(200000, false)));
}

// A load reads a flag from the first of its four bytes (DataValue::GetBool);
// the view's GetBool must give the same for bytes a writer did not make.
TEST(DataTreeView, BoolReadsItsFirstByteOnlyAsALoadDoes)
{
    const Bytes bytes = DataTreeBytes()
                            .Key("", 2)
                            .Value("a", 2, FromHex("00 FF FF FF"))
                            .Value("b", 2, FromHex("02 00 00 00"))
                            .SubKeys(0)
                            .Get();
    KV::MemoryStream stream;
    Fill(stream, bytes);
    KV::DataKey loaded;
    ASSERT_TRUE(loaded.Deserialize(stream));
    KV::DataTreeView view;
    ASSERT_TRUE(view.Open(bytes.data(), static_cast<uint32_t>(bytes.size())));
    view.Root().ForEachValue([&](const KV::DataValueView& value) {
        EXPECT_EQ(value.GetBool(), loaded.GetBool(std::string(value.GetName()))) << value.GetName();
    });
}

} // namespace
