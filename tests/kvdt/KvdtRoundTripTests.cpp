// Files to text and back: every payload a file can hold survives exactly.
#include "tests/support/TempFolder.h"
#include "tests/kvdt/TreeCompare.h"

#include "foundation/DataKey.h"
#include "foundation/MemoryStream.h"
#include "tools/kvdt/KvdtText.h"
#include "tools/kvdt/TreeFiles.h"
#include "tools/kvdt/ValueRecord.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstring>
#include <functional>
#include <limits>

namespace {

using KvdtTest::SameTree;

// A byte string from a literal that may hold zero bytes.
template <size_t N>
std::string Raw(const char (&literal)[N])
{
    return std::string(literal, N - 1);
}

std::string Bytes(uint64_t bits, size_t width)
{
    std::string out;
    for (size_t i = 0; i < width; ++i, bits >>= 8)
        out += static_cast<char>(bits & 0xFF);
    return out;
}

// Payloads the typed setters cannot make go in as file records.
void SetRecord(KV::DataKey& key, const std::string& name, uint8_t code, const std::string& payload)
{
    KV::DataValue* value = Kvdt::ValueFromRecord(name, code, payload);
    ASSERT_NE(value, nullptr);
    key.SetValue(value);
}

KV::MemoryStream Stream(const std::string& bytes)
{
    KV::MemoryStream stream;
    if (!bytes.empty())
        stream.Write(bytes.data(), static_cast<uint32_t>(bytes.size()));
    return stream;
}

std::string Sequence(size_t size)
{
    std::string bytes;
    for (size_t i = 0; i < size; ++i)
        bytes += static_cast<char>(i * 7 + 3);
    return bytes;
}

void AddNumbers(KV::DataKey& key)
{
    key.SetUInt("uint zero", 0);
    key.SetUInt("uint max", std::numeric_limits<uint32_t>::max());
    key.SetInt("int min", std::numeric_limits<int32_t>::min());
    key.SetInt("int minus one", -1);
    key.SetBool("bool true", true);
    key.SetBool("bool false", false);
    SetRecord(key, "bool odd bytes", 2, Bytes(0x00000102, 4));
    key.SetFloat("float tenth", 0.1f);
    key.SetFloat("float negative zero", -0.0f);
    key.SetFloat("float max", FLT_MAX);
    key.SetFloat("float smallest normal", FLT_MIN);
    key.SetFloat("float smallest subnormal", std::ldexp(1.0f, -149));
    key.SetFloat("float big", 3.0e38f);
    key.SetFloat("float minus infinity", -std::numeric_limits<float>::infinity());
    SetRecord(key, "float signalling nan", 3, Bytes(0x7F800001, 4));
    SetRecord(key, "float quiet nan payload", 3, Bytes(0xFFC12345, 4));
    key.SetDouble("double tenth", 0.1);
    key.SetDouble("double negative zero", -0.0);
    key.SetDouble("double max", DBL_MAX);
    key.SetDouble("double smallest subnormal", std::ldexp(1.0, -1074));
    key.SetDouble("double third", 1.0 / 3.0);
    key.SetDouble("double huge", 1e300);
    key.SetDouble("double whole", 12345678.0);
    key.SetDouble("double infinity", std::numeric_limits<double>::infinity());
    SetRecord(key, "double quiet nan payload", 5, Bytes(0x7FF8000000000123ull, 8));
    key.SetColor("color word", 0x00FF8040);
    key.SetColor("color bytes", 1, 2, 3, 255);
    SetRecord(key, "unknown 9", 9, "");
    SetRecord(key, "unknown 255", 255, "");
}

void AddTexts(KV::DataKey& key)
{
    key.SetStringA("a empty", "");
    key.SetStringA("a plain", "Hello, \"world\" \\ /");
    key.SetStringA("a controls and nul", Raw("tab\tline\nnul\0end\x01\x7f"));
    key.SetStringA("a utf8", "Gr\xC3\xBC\xC3\x9F" "e");
    key.SetStringA("a latin1", "Gr\xFC\xDF" "e");
    key.SetStringA("a overlong", "\xC0\xAF");
    key.SetStringA("a encoded surrogate", "\xED\xA0\x80");
    key.SetStringW("w empty", L"");
    key.SetStringW("w text", L"Gr\u00FC\u00DFe \u263A \u2028");
    key.SetStringW("w supplementary", L"\xD83D\xDE00");
    key.SetStringW("w lone high", L"x\xD800y");
    key.SetStringW("w swapped pair", L"\xDC00\xD800");
    key.SetStringW("w nul", std::wstring(L"a\0b", 3));
    key.SetStringW("w 255 units", std::wstring(255, L'\u00E9'));
    key.SetBuffer("buffer empty", KV::MemoryStream());
    key.SetBuffer("buffer one", Stream("\xFF"));
    key.SetBuffer("buffer one line", Stream(Sequence(32)));
    key.SetBuffer("buffer two lines", Stream(Sequence(33)));
    key.SetBuffer("buffer long", Stream(Sequence(1000)));
}

KV::DataKey EveryKindOfValue()
{
    KV::DataKey root("lang_doc_1.0");
    AddNumbers(root);
    AddTexts(root);
    root.SetUInt("", 7);
    return root;
}

// Names that are no text force the list forms.
KV::DataKey ByteNames()
{
    KV::DataKey root(std::string("root \xFF", 6));
    root.SetUInt("\xFF\xFE", 1);
    root.SetUInt("plain", 2);
    root.AddKey("\x80")->SetInt("inner", -5);
    root.AddKey("text")->SetStringA(std::string("\xC3", 1), "\xC3");
    root.AddKey("");
    return root;
}

KV::DataKey NestedKeys()
{
    KV::DataKey root;
    root.SetStringW("same", L"value beside a key of its name");
    KV::DataKey* same = root.AddKey("same");
    same->AddKey("empty");
    same->AddKey("");
    same->AddKey("child")->AddKey("grandchild")->SetBool("deep", true);
    KV::DataKey* level = root.AddKey("chain");
    // As deep as a file may nest.
    for (uint32_t depth = 2; depth <= KV::DataKey::MaxLoadDepth; ++depth)
        level = level->AddKey("level " + std::to_string(depth));
    level->SetUInt("bottom", 64);
    return root;
}

struct TreeCase {
    const char* name;
    std::function<KV::DataKey()> make;
};

class RoundTrip : public testing::TestWithParam<TreeCase> {};

TEST_P(RoundTrip, FileTextFileGivesTheSameTreeAndTheSameText)
{
    TempFolder folder;
    const KV::DataKey original = GetParam().make();
    ASSERT_TRUE(original.Save(folder.File(L"tree.kvdt")));

    KV::DataKey loaded;
    std::string error;
    std::string warning;
    ASSERT_TRUE(Kvdt::LoadTreeFile(folder.File(L"tree.kvdt"), loaded, error, warning)) << error;
    EXPECT_EQ(warning, "");
    ASSERT_TRUE(SameTree(original, loaded));

    const std::string text = Kvdt::DumpTree(loaded);
    KV::DataKey rebuilt;
    ASSERT_TRUE(Kvdt::BuildTree(text, folder.Path(), rebuilt, error)) << error << "\n" << text;
    EXPECT_TRUE(SameTree(loaded, rebuilt)) << text;
    EXPECT_EQ(Kvdt::DumpTree(rebuilt), text);

    ASSERT_TRUE(rebuilt.Save(folder.File(L"rebuilt.kvdt")));
    KV::DataKey reloaded;
    ASSERT_TRUE(reloaded.Load(folder.File(L"rebuilt.kvdt")));
    EXPECT_TRUE(SameTree(original, reloaded));
}

INSTANTIATE_TEST_SUITE_P(Trees, RoundTrip,
                         testing::Values(TreeCase{"EveryKindOfValue", EveryKindOfValue},
                                         TreeCase{"ByteNames", ByteNames}, TreeCase{"NestedKeys", NestedKeys},
                                         TreeCase{"EmptyRoot", [] { return KV::DataKey(); }}),
                         [](const testing::TestParamInfo<TreeCase>& info) { return std::string(info.param.name); });

TEST(KvdtDump, WritesOneValueALineKeysAsObjectsAndListsWhereNamesAreBytes)
{
    KV::DataKey root("skin");
    root.SetUInt("count", 3);
    root.SetFloat("scale", 1.5f);
    root.SetStringA("escapes", "q\"b\\t\t\x7f\xE2\x80\xA8");
    SetRecord(root, "nan", 3, Bytes(0x7FC00000, 4));
    root.SetColor("text", 0x00332211);
    root.SetStringA("narrow", "\xFF" "A");
    root.SetStringW("wide", L"a\xD800");
    root.SetBuffer("pixels", Stream(Sequence(40)));
    KV::DataKey* fonts = root.AddKey("fonts");
    fonts->AddKey("title")->SetBool("Bold", true);
    fonts->AddKey("small");
    root.AddKey("bytes")->SetInt("\xFE", -1);

    EXPECT_EQ(Kvdt::DumpTree(root),
              "{\n"
              "  \"name\": \"skin\",\n"
              "  \"values\": {\n"
              "    \"count\": {\"UInt\": 3},\n"
              "    \"escapes\": {\"StringA\": \"q\\\"b\\\\t\\t\\u007f\\u2028\"},\n"
              "    \"nan\": {\"Float\": {\"bits\": \"7fc00000\"}},\n"
              "    \"narrow\": {\"StringA\": {\"hex\": \"ff41\"}},\n"
              "    \"pixels\": {\"Buffer\": [\n"
              "      \"030a11181f262d343b424950575e656c737a81888f969da4abb2b9c0c7ced5dc\",\n"
              "      \"e3eaf1f8ff060d14\"\n"
              "    ]},\n"
              "    \"scale\": {\"Float\": 1.5},\n"
              "    \"text\": {\"Color\": [17, 34, 51, 0]},\n"
              "    \"wide\": {\"StringW\": {\"hex\": \"0061d800\"}}\n"
              "  },\n"
              "  \"keys\": {\n"
              "    \"bytes\": {\n"
              "      \"values\": [\n"
              "        {\"name\": {\"hex\": \"fe\"}, \"Int\": -1}\n"
              "      ]\n"
              "    },\n"
              "    \"fonts\": {\n"
              "      \"keys\": {\n"
              "        \"small\": {},\n"
              "        \"title\": {\n"
              "          \"values\": {\n"
              "            \"Bold\": {\"Bool\": true}\n"
              "          }\n"
              "        }\n"
              "      }\n"
              "    }\n"
              "  }\n"
              "}\n");
}

TEST(KvdtDump, NumbersTakeTheirShortestExactForm)
{
    struct Case {
        float f;
        double d;
        const char* floatText;
        const char* doubleText;
    };
    const Case cases[] = {
        {0.1f, 0.1, "0.1", "0.1"},
        {-0.0f, -0.0, "-0.0", "-0.0"},
        {100.0f, 100.0, "100.0", "100.0"},
        {FLT_MAX, DBL_MAX, "3.4028235e+38", "1.7976931348623157e+308"},
        {16777216.0f, 1e21, "16777216.0", "1e+21"},
        {0.0001f, 1e20, "0.0001", "100000000000000000000.0"},
        {1e-5f, 123.456, "1e-05", "123.456"},
        {std::ldexp(1.0f, -149), std::ldexp(1.0, -1074), "1e-45", "5e-324"},
    };
    for (const Case& c : cases) {
        KV::DataKey key;
        key.SetFloat("f", c.f);
        key.SetDouble("d", c.d);
        const std::string text = Kvdt::DumpTree(key);
        EXPECT_NE(text.find(std::string("\"f\": {\"Float\": ") + c.floatText + "}"), std::string::npos) << text;
        EXPECT_NE(text.find(std::string("\"d\": {\"Double\": ") + c.doubleText + "}"), std::string::npos) << text;
    }
}

TEST(KvdtDump, TheFormatsWorkedExampleTurnsIntoTextAndBackIntoTheSameBytes)
{
    const std::string file = Raw("KVDT\x0C" "lang_doc_1.0\x01\0\0\0\x0A" "lang_count\x01\x02\0\0\0\0\0\0\0");
    const std::string text = "{\n"
                             "  \"name\": \"lang_doc_1.0\",\n"
                             "  \"values\": {\n"
                             "    \"lang_count\": {\"Int\": 2}\n"
                             "  }\n"
                             "}\n";
    TempFolder folder;
    ASSERT_TRUE(folder.Write(L"example.kvdt", file));
    KV::DataKey loaded;
    std::string error;
    std::string warning;
    ASSERT_TRUE(Kvdt::LoadTreeFile(folder.File(L"example.kvdt"), loaded, error, warning)) << error;
    EXPECT_EQ(Kvdt::DumpTree(loaded), text);

    KV::DataKey built;
    ASSERT_TRUE(Kvdt::BuildTree(text, folder.Path(), built, error)) << error;
    ASSERT_TRUE(built.Save(folder.File(L"built.kvdt")));
    std::string bytes;
    ASSERT_TRUE(Kvdt::ReadWholeFile(folder.File(L"built.kvdt"), bytes));
    EXPECT_EQ(bytes, file);
}

TEST(KvdtDump, SignallingNanDoubleKeepsItsBits)
{
    const std::string bits = Bytes(0x7FF0000000000001ull, 8);
    std::unique_ptr<KV::DataValue> probe(Kvdt::ValueFromRecord("d", 5, bits));
    ASSERT_NE(probe, nullptr);
    if (Kvdt::PayloadBytes(*probe) != bits)
        GTEST_SKIP() << "the data tree itself quietens signalling NaN doubles (copied through the x87 unit)";
    KV::DataKey key;
    key.SetValue(probe.release());
    const std::string text = Kvdt::DumpTree(key);
    EXPECT_NE(text.find("{\"Double\": {\"bits\": \"7ff0000000000001\"}}"), std::string::npos) << text;
    KV::DataKey rebuilt;
    std::string error;
    ASSERT_TRUE(Kvdt::BuildTree(text, L"", rebuilt, error)) << error;
    EXPECT_TRUE(SameTree(key, rebuilt));
}

TEST(KvdtLoad, ReportsWhatTheTreeDoesNotKeep)
{
    const std::string empty = Raw("KVDT\0\0\0\0\0\0\0\0\0");
    // Two values named "a": the reader keeps the first.
    const std::string twice = Raw("KVDT\0\x02\0\0\0\x01" "a\0\x01\0\0\0\x01" "a\0\x02\0\0\0\0\0\0\0");
    struct Case {
        const char* name;
        std::string bytes;
        bool loads;
        const char* message;
    };
    const Case cases[] = {
        {"complete", empty, true, ""},
        {"trailing bytes", empty + "xyz", true, "3 bytes after the tree are ignored"},
        {"repeated name", twice, true, "the tree takes 20 of the file's 27 bytes"},
        {"wrong magic", Raw("KVDX\0\0\0\0\0\0\0\0\0"), false, "not a data-tree file"},
        {"truncated", empty.substr(0, 9), false, "not a data-tree file"},
        {"empty file", "", false, "not a data-tree file"},
    };
    TempFolder folder;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(folder.Write(L"case.kvdt", c.bytes));
        KV::DataKey root;
        std::string error;
        std::string warning;
        EXPECT_EQ(Kvdt::LoadTreeFile(folder.File(L"case.kvdt"), root, error, warning), c.loads);
        const std::string& said = c.loads ? warning : error;
        EXPECT_NE(said.find(c.message), std::string::npos) << said;
        if (c.loads && std::string(c.message).empty()) {
            EXPECT_EQ(warning, "");
        }
    }
    KV::DataKey root;
    std::string error;
    std::string warning;
    EXPECT_FALSE(Kvdt::LoadTreeFile(folder.File(L"missing.kvdt"), root, error, warning));
    EXPECT_EQ(error, "cannot read the file");
}

} // namespace
