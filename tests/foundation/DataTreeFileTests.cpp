#include "foundation/DataKey.h"
#include "TestBytes.h"
#include "TestTrees.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>

using TestBytes::Bytes;
using TestBytes::FromHex;

namespace {

class DataTreeFile : public testing::Test {
protected:
    TestBytes::ScratchFolder folder{L"datatree_scratch"};

    // Nothing but the expected files may remain in the folder.
    void ExpectOnlyFiles(std::vector<std::wstring> expected)
    {
        std::vector<std::wstring> names = TestBytes::ListFolder(folder.Path());
        std::sort(names.begin(), names.end());
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(names, expected);
    }
};

TEST_F(DataTreeFile, SaveWritesTheFormatsBytes)
{
    KV::DataKey root("lang_doc_1.0");
    root.SetInt("lang_count", 2);
    const std::wstring path = folder.File(L"lang.lngp");
    ASSERT_TRUE(root.Save(path));
    EXPECT_EQ(TestBytes::ReadFileBytes(path),
              FromHex("4B 56 44 54 0C 6C 61 6E 67 5F 64 6F 63 5F 31 2E 30 01 00 00 00"
                      "0A 6C 61 6E 67 5F 63 6F 75 6E 74 01 02 00 00 00 00 00 00 00"));
    ExpectOnlyFiles({L"lang.lngp"});
}

TEST_F(DataTreeFile, SaveAndLoadRoundTripOfAllTypes)
{
    KV::DataKey tree;
    TestTrees::BuildAllTypesTree(tree);
    const std::wstring wide = folder.File(L"tree.kvdt");
    ASSERT_TRUE(tree.Save(wide));
    KV::DataKey loaded("other");
    ASSERT_TRUE(loaded.Load(wide));
    EXPECT_TRUE(TestTrees::SameTree(tree, loaded));

    // The narrow-path forms, relative to the working directory.
    const std::string narrow = "datatree_scratch\\narrow.kvdt";
    ASSERT_TRUE(tree.Save(narrow));
    KV::DataKey narrowLoaded;
    ASSERT_TRUE(narrowLoaded.Load(narrow));
    EXPECT_TRUE(TestTrees::SameTree(tree, narrowLoaded));
    ExpectOnlyFiles({L"narrow.kvdt", L"tree.kvdt"});
}

TEST_F(DataTreeFile, SaveReplacesAnExistingFile)
{
    const std::wstring path = folder.File(L"settings.cfg");
    ASSERT_TRUE(TestBytes::WriteFileBytes(path, Bytes(5000, 0xAA)));
    KV::DataKey key("small");
    ASSERT_TRUE(key.Save(path));
    KV::DataKey loaded;
    ASSERT_TRUE(loaded.Load(path));
    EXPECT_EQ(loaded.GetName(), "small");
    EXPECT_EQ(TestBytes::ReadFileBytes(path).size(), 4u + 6 + 8);
    ExpectOnlyFiles({L"settings.cfg"});
}

TEST_F(DataTreeFile, FailedSaveLeavesTheOldFileAndNoTemporary)
{
    KV::DataKey key("new");
    key.SetStringA("text", std::string(10000, 'n'));

    const std::wstring readOnly = folder.File(L"readonly.cfg");
    const Bytes old = FromHex("4B 56 44 54 03 6F 6C 64 00 00 00 00 00 00 00 00");
    ASSERT_TRUE(TestBytes::WriteFileBytes(readOnly, old));
    ASSERT_TRUE(SetFileAttributesW(readOnly.c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_FALSE(key.Save(readOnly));
    EXPECT_EQ(TestBytes::ReadFileBytes(readOnly), old);

    const std::wstring directory = folder.File(L"taken.cfg");
    ASSERT_TRUE(CreateDirectoryW(directory.c_str(), nullptr));
    EXPECT_FALSE(key.Save(directory));
    EXPECT_EQ(GetFileAttributesW(directory.c_str()) & FILE_ATTRIBUTE_DIRECTORY,
              static_cast<DWORD>(FILE_ATTRIBUTE_DIRECTORY));

    EXPECT_FALSE(key.Save(folder.File(L"missing\\file.cfg")));
    EXPECT_FALSE(key.Save(static_cast<const wchar_t*>(nullptr)));
    ExpectOnlyFiles({L"readonly.cfg", L"taken.cfg"});
}

TEST_F(DataTreeFile, LoadOfAMissingFileKeepsTheKey)
{
    KV::DataKey key("kept");
    key.SetUInt("v", 1);
    EXPECT_FALSE(key.Load(folder.File(L"absent.kvdt")));
    EXPECT_EQ(key.GetName(), "kept");
    EXPECT_EQ(key.GetUInt("v", 0), 1u);
}

TEST_F(DataTreeFile, TruncatedOrForeignFileFailsAndEmptiesTheKey)
{
    KV::DataKey tree;
    TestTrees::BuildAllTypesTree(tree);
    const std::wstring full = folder.File(L"full.kvdt");
    ASSERT_TRUE(tree.Save(full));
    const Bytes bytes = TestBytes::ReadFileBytes(full);

    const std::wstring cut = folder.File(L"cut.kvdt");
    for (size_t length : {size_t(0), size_t(3), bytes.size() / 2, bytes.size() - 1}) {
        ASSERT_TRUE(TestBytes::WriteFileBytes(cut, Bytes(bytes.begin(), bytes.begin() + length)));
        KV::DataKey key("previous");
        key.SetUInt("stale", 1);
        EXPECT_FALSE(key.Load(cut)) << length;
        EXPECT_EQ(key.GetName(), "previous") << length;
        EXPECT_EQ(key.GetValueCount() + key.GetKeyCount(), 0u) << length;
    }

    ASSERT_TRUE(TestBytes::WriteFileBytes(cut, Bytes({'P', 'K', 3, 4, 0, 0, 0, 0})));
    KV::DataKey key;
    EXPECT_FALSE(key.Load(cut));
}

} // namespace
