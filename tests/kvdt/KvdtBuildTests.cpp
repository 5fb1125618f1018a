// Hand-written texts: the conveniences they may use, and a clear message
// for each kind of mistake.
#include "tests/support/TempFolder.h"
#include "tests/kvdt/TreeCompare.h"

#include "foundation/DataKey.h"
#include "foundation/MemoryStream.h"
#include "tools/kvdt/Depfile.h"
#include "tools/kvdt/KvdtText.h"
#include "tools/kvdt/PlatformPath.h"
#include "tools/kvdt/Utf.h"
#include "tools/kvdt/ValueRecord.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <functional>

namespace {


std::string BufferBytes(const KV::DataKey& key, const std::string& name)
{
    const KV::MemoryStream* stream = key.GetBuffer(name);
    if (!stream || !stream->GetBuffer())
        return std::string();
    return std::string(reinterpret_cast<const char*>(stream->GetBuffer()), stream->GetSize());
}

struct GoodCase {
    const char* name;
    const char* text;
    std::function<void(const KV::DataKey&)> check;
};

TEST(KvdtBuild, AcceptsTheFormsMadeForHandEditing)
{
    const GoodCase cases[] = {
        {"comments and a byte order mark",
         "\xEF\xBB\xBF// skin of the player\n{ /* no name */ \"values\": {\"a\": {\"UInt\": 1}}}",
         [](const KV::DataKey& k) {
             EXPECT_EQ(k.GetName(), "");
             EXPECT_EQ(k.GetUInt("a"), 1u);
         }},
        {"colour bytes", R"({"values": {"c": {"Color": [1, 2, 3, 4]}}})",
         [](const KV::DataKey& k) { EXPECT_EQ(k.GetColor("c"), 0x04030201u); }},
        {"hex with spaces, either case", R"({"values": {"b": {"Buffer": "01 Ab ff"}, "s": {"StringA": {"hex": "41 42"}}}})",
         [](const KV::DataKey& k) {
             EXPECT_EQ(BufferBytes(k, "b"), "\x01\xAB\xFF");
             EXPECT_EQ(k.GetStringA("s", ""), "AB");
         }},
        {"buffer lines joined", R"({"values": {"b": {"Buffer": ["0102", "", "03"]}, "e": {"Buffer": ""}}})",
         [](const KV::DataKey& k) {
             EXPECT_EQ(BufferBytes(k, "b"), "\x01\x02\x03");
             ASSERT_NE(k.GetBuffer("e"), nullptr);
             EXPECT_EQ(k.GetBuffer("e")->GetSize(), 0u);
         }},
        {"whole numbers as floats, rounding at the float limit",
         R"({"values": {"f": {"Float": 3}, "max": {"Float": 3.4028235e38}, "tiny": {"Float": 1e-50}, "d": {"Double": -7}}})",
         [](const KV::DataKey& k) {
             EXPECT_EQ(k.GetFloat("f"), 3.0f);
             EXPECT_EQ(k.GetFloat("max"), FLT_MAX);
             EXPECT_EQ(k.GetFloat("tiny"), 0.0f);
             EXPECT_EQ(k.GetDouble("d"), -7.0);
         }},
        {"integer limits", R"({"values": {"u": {"UInt": 4294967295}, "i": {"Int": -2147483648}, "j": {"Int": 2147483647}}})",
         [](const KV::DataKey& k) {
             EXPECT_EQ(k.GetUInt("u"), 4294967295u);
             EXPECT_EQ(k.GetInt("i"), INT32_MIN);
             EXPECT_EQ(k.GetInt("j"), INT32_MAX);
         }},
        {"wide text and code units", R"({"values": {"t": {"StringW": "\u00e9\ud83d\ude00"}, "h": {"StringW": {"hex": "D800 0041"}}}})",
         [](const KV::DataKey& k) {
             EXPECT_EQ(k.GetStringW("t", L""), L"\u00E9\xD83D\xDE00");
             EXPECT_EQ(k.GetStringW("h", L""), L"\xD800\x0041");
         }},
        {"bit patterns and unknown codes",
         R"({"values": {"b": {"Bool": {"bits": "00000002"}}, "f": {"Float": {"bits": "7F800000"}}, "u": {"Unknown": 9}}})",
         [](const KV::DataKey& k) {
             EXPECT_EQ(Kvdt::PayloadBytes(*k.FindValue("b")), std::string("\x02\0\0\0", 4));
             EXPECT_TRUE(std::isinf(k.GetFloat("f")));
             EXPECT_EQ(static_cast<int>(k.FindValue("u")->GetType()), 9);
         }},
        {"lists with names as text and as bytes",
         R"({"name": {"hex": "ff"}, "values": [{"name": {"hex": "fe00"}, "Int": -3}, {"UInt": 4, "name": "x"}],
             "keys": [{"name": "sub", "keys": {"inner": {}}}, {"name": ""}]})",
         [](const KV::DataKey& k) {
             EXPECT_EQ(k.GetName(), "\xFF");
             EXPECT_EQ(k.GetInt(std::string("\xFE\0", 2)), -3);
             EXPECT_EQ(k.GetUInt("x"), 4u);
             ASSERT_NE(k.GetKey("sub"), nullptr);
             EXPECT_TRUE(k.GetKey("sub")->HasKey("inner"));
             EXPECT_TRUE(k.HasKey(""));
         }},
    };
    for (const GoodCase& c : cases) {
        SCOPED_TRACE(c.name);
        KV::DataKey root;
        std::string error;
        ASSERT_TRUE(Kvdt::BuildTree(c.text, L"", root, error)) << error;
        c.check(root);
    }
}

struct BadCase {
    const char* text;
    const char* message;
};

TEST(KvdtBuild, RefusesMistakesWithOneLineSayingWhere)
{
    const BadCase cases[] = {
        {"{\n  \"values\": {\n", "parse error at line 3"},
        {"{} {}", "parse error at line 1, column 4"},
        {"[]", "top level: a key is an object"},
        {R"({"values": {"a": {"UInt": 1}, "a": {"Int": 2}}})", "duplicate name \"a\" in /values"},
        {R"({"values": {"a": {"Strng": "x"}}})", "/values/a/Strng: unknown type \"Strng\""},
        {R"({"values": {"a": {"UInt": 1, "Int": 2}}})", "/values/a: a value is an object with one member"},
        {R"({"values": {"a": 5}})", "/values/a: a value is an object with one member"},
        {R"({"values": 5})", "/values: \"values\" is an object"},
        {R"({"valuez": {}})", "/valuez: unknown member"},
        {R"({"values": {"a~/b": {"UInt": -1}}})", "/values/a~0~1b/UInt: UInt takes a whole number"},
        {R"({"values": {"a": {"UInt": 4294967296}}})", "UInt takes a whole number"},
        {R"({"values": {"a": {"UInt": 1.5}}})", "UInt takes a whole number"},
        {R"({"values": {"a": {"Int": 2147483648}}})", "Int takes a whole number"},
        {R"({"values": {"a": {"Bool": 1}}})", "Bool takes true, false"},
        {R"({"values": {"a": {"Bool": {"bits": "1"}}}})", "/values/a/Bool/bits: bad bits: exactly 8 hex digits"},
        {R"({"values": {"a": {"Double": {"bits": "7ff000000000000g"}}}})", "bad bits: exactly 16 hex digits"},
        {R"({"values": {"a": {"Float": 1e39}}})", "number out of the Float range"},
        {R"({"values": {"a": {"Float": "1"}}})", "Float takes a number"},
        {R"({"values": {"a": {"Color": [1, 2, 3]}}})", "Color takes its four bytes"},
        {R"({"values": {"a": {"Color": [256, 0, 0, 0]}}})", "Color takes its four bytes"},
        {R"({"values": {"a": {"Buffer": "abc"}}})", "/values/a/Buffer: bad hex"},
        {R"({"values": {"a": {"Buffer": "0g"}}})", "bad hex"},
        {R"({"values": {"a": {"Buffer": "0 1"}}})", "bad hex"},
        {R"({"values": {"a": {"Buffer": ["00", 5]}}})", "/values/a/Buffer/1: bad hex"},
        {R"({"values": {"a": {"Buffer": 5}}})", "Buffer takes a hex string"},
        {R"({"values": {"a": {"StringA": {"hex": "4"}}}})", "/values/a/StringA/hex: bad hex"},
        {R"({"values": {"a": {"StringA": 5}}})", "StringA takes a string"},
        {R"({"values": {"a": {"StringW": {"hex": "d8"}}}})", "four hex digits a code unit"},
        {R"({"values": {"a": {"Unknown": 8}}})", "Unknown takes a type code from 9 to 255"},
        {R"({"values": [{"UInt": 1}]})", "/values/0: a listed value is an object with \"name\""},
        {R"({"values": [{"name": "a", "UInt": 1}, {"name": {"hex": "61"}, "Int": 1}]})",
         "/values/1/Int: duplicate value name"},
        {R"({"values": [{"name": {"hex": "6"}, "UInt": 1}]})", "/values/0/name/hex: bad hex"},
        {R"({"name": 5})", "/name: a name is a string"},
        {R"({"keys": [{"values": {}}]})", "/keys/0: missing \"name\""},
        {R"({"keys": [{"name": "a"}, {"name": "a"}]})", "/keys/1: duplicate key name"},
        {R"({"keys": {"a": {"name": "b"}}})", "/keys/a/name: a key in a \"keys\" object takes its name"},
        {R"({"keys": {"a": []}})", "/keys/a: a key is an object"},
        {R"({"keys": 1})", "/keys: \"keys\" is an object"},
        {R"({"values": {"a": {"Buffer": {"file": ""}}}})", "/values/a/Buffer/file: \"file\" takes a path"},
        {R"({"values": {"a": {"Buffer": {"file": "no such file.png"}}}})", "cannot read"},
    };
    for (const BadCase& c : cases) {
        SCOPED_TRACE(c.text);
        KV::DataKey root("old");
        root.SetUInt("old", 1);
        std::string error;
        EXPECT_FALSE(Kvdt::BuildTree(c.text, L"C:\\", root, error));
        EXPECT_NE(error.find(c.message), std::string::npos) << error;
        EXPECT_EQ(error.find('\n'), std::string::npos) << error;
        EXPECT_EQ(root.GetValueCount() + root.GetKeyCount(), 0u);
        EXPECT_EQ(root.GetName(), "");
    }
}

TEST(KvdtBuild, RefusesKeysNestedDeeperThanAFileMayHold)
{
    auto nested = [](uint32_t levels) {
        std::string text = "{";
        for (uint32_t i = 0; i < levels; ++i)
            text += "\"keys\": {\"k\": {";
        return text + std::string(levels * 2 + 1, '}');
    };
    KV::DataKey root;
    std::string error;
    EXPECT_TRUE(Kvdt::BuildTree(nested(KV::DataKey::MaxLoadDepth), L"", root, error)) << error;
    EXPECT_FALSE(Kvdt::BuildTree(nested(KV::DataKey::MaxLoadDepth + 1), L"", root, error));
    EXPECT_NE(error.find("keys nest deeper than 64 levels"), std::string::npos) << error;
}

TEST(KvdtBuild, ReadsFilesRelativeToTheTextsFolderOrByAbsolutePath)
{
    TempFolder folder;
    ASSERT_TRUE(folder.Write(L"images\\logo.png", "\x89PNG\r\n"));
    ASSERT_TRUE(folder.Write(L"readme.txt", "narrow \xFF text"));
    ASSERT_TRUE(folder.Write(L"empty.bin", ""));
    const std::string absolute = Kvdt::Utf16ToUtf8(folder.File(L"readme.txt"));
    std::string escaped;
    for (char c : absolute)
        escaped += c == '\\' ? std::string("\\\\") : std::string(1, c);
    const std::string text = R"({"values": {"logo": {"Buffer": {"file": "images/logo.png"}},
                                            "empty": {"Buffer": {"file": "empty.bin"}},
                                            "readme": {"StringA": {"file": ")" + escaped + R"("}}}})";
    KV::DataKey root;
    std::string error;
    std::vector<std::wstring> filesRead;
    ASSERT_TRUE(Kvdt::BuildTree(text, folder.Path(), root, error, &filesRead)) << error;
    EXPECT_EQ(BufferBytes(root, "logo"), "\x89PNG\r\n");
    ASSERT_NE(root.GetBuffer("empty"), nullptr);
    EXPECT_EQ(root.GetBuffer("empty")->GetSize(), 0u);
    EXPECT_EQ(root.GetStringA("readme", ""), "narrow \xFF text");
    ASSERT_EQ(filesRead.size(), 3u);
    EXPECT_NE(filesRead[0].find(L"\\images\\logo.png"), std::wstring::npos);
}

// Build scripts under Wine pass Unix paths: the text's folder and "file"
// entries may be absolute Unix paths, mapped to the same files.
TEST(KvdtBuild, TakesAbsoluteUnixPathsUnderWine)
{
    TempFolder folder;
    ASSERT_TRUE(folder.Write(L"sub\\data.bin", "\x01\x02"));
    const std::string unixFolder = Kvdt::UnixPath(folder.Path());
    ASSERT_EQ(unixFolder.substr(0, 1), "/") << unixFolder << " (not running under Wine?)";

    const std::wstring mapped = Kvdt::FullPlatformPath(Kvdt::Utf8ToUtf16(unixFolder));
    EXPECT_EQ(Kvdt::UnixPath(mapped), unixFolder);

    const std::string text = R"({"values": {"rel": {"Buffer": {"file": "sub/data.bin"}},
                                            "abs": {"Buffer": {"file": ")" + unixFolder + R"(/sub/data.bin"}}}})";
    KV::DataKey root;
    std::string error;
    ASSERT_TRUE(Kvdt::BuildTree(text, Kvdt::Utf8ToUtf16(unixFolder), root, error)) << error;
    EXPECT_EQ(BufferBytes(root, "rel"), "\x01\x02");
    EXPECT_EQ(BufferBytes(root, "abs"), "\x01\x02");
}

TEST(KvdtPaths, FoldersAndRelativePaths)
{
    EXPECT_EQ(Kvdt::FolderOf(L"C:\\data\\skin.json"), L"C:\\data");
    EXPECT_EQ(Kvdt::FolderOf(L"C:\\skin.json"), L"C:\\");
    EXPECT_EQ(Kvdt::FolderOf(L"skin.json"), L"");
    EXPECT_EQ(Kvdt::ResolvePath(L"C:\\data", L"img/a.png"), L"C:\\data\\img\\a.png");
    EXPECT_EQ(Kvdt::ResolvePath(L"C:\\data\\", L"..\\b.png"), L"C:\\b.png");
    EXPECT_EQ(Kvdt::ResolvePath(L"C:\\data", L"D:\\x.png"), L"D:\\x.png");
}

TEST(KvdtDepfile, EscapesWhatMakeSyntaxWouldMisread)
{
    EXPECT_EQ(Kvdt::DepfileText("/out/skin data.kvdt", {"/src/a#1.json", "/src/$b.png"}),
              "/out/skin\\ data.kvdt: \\\n  /src/a\\#1.json \\\n  /src/$$b.png\n");
}

} // namespace
