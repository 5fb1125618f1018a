// ZipArchive, the class the setup and the updaters use.
#include "foundation/DataKey.h"
#include "foundation/MemoryStream.h"
#include "foundation/ZipArchive.h"
#include "foundation/ZipFileHandle.h"

#include "ZipTestSupport.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

std::vector<uint8_t> Bytes(const KV::MemoryStream& stream)
{
    const uint8_t* data = stream.GetBuffer();
    return data ? std::vector<uint8_t>(data, data + stream.GetSize()) : std::vector<uint8_t>();
}

TEST(ZipArchive, FindsEntriesIgnoringCase)
{
    ZipArchive archive;
    ASSERT_TRUE(archive.Open(FixturePath(L"plain.zip").c_str()));
    EXPECT_TRUE(archive.HasEntry(L"SET.KVDT"));
    EXPECT_TRUE(archive.HasEntry(L"Docs/Deeper/B.TXT"));
    EXPECT_FALSE(archive.HasEntry(L"set.kvd"));
}

TEST(ZipArchive, ReadsEntriesIntoMemoryStreams)
{
    ZipArchive archive;
    ASSERT_TRUE(archive.Open(FixturePath(L"plain.zip").c_str()));
    for (const wchar_t* name : {L"readme.txt", L"data.bin", L"docs/a.txt"}) {
        std::unique_ptr<KV::MemoryStream> stream = archive.ReadEntry(name);
        ASSERT_NE(stream, nullptr) << name;
        EXPECT_EQ(stream->GetPosition(), 0u);
        std::wstring source = FixtureSourcePath(name);
        for (wchar_t& c : source)
            c = c == L'/' ? L'\\' : c;
        EXPECT_EQ(Bytes(*stream), ReadFileBytes(source)) << name;
    }
    std::unique_ptr<KV::MemoryStream> empty = archive.ReadEntry(L"EMPTY.TXT");
    ASSERT_NE(empty, nullptr);
    EXPECT_EQ(empty->GetSize(), 0u);
    EXPECT_EQ(archive.ReadEntry(L"missing.txt"), nullptr);
}

TEST(ZipArchive, LoadsDataTreesFromEntries)
{
    ZipArchive archive;
    ASSERT_TRUE(archive.Open(FixturePath(L"plain.zip").c_str()));
    std::unique_ptr<KV::DataKey> key = archive.LoadDataKey(L"SET.KVDT");
    ASSERT_NE(key, nullptr);
    EXPECT_EQ(key->GetName(), "lang_doc_1.0");
    EXPECT_EQ(key->GetInt("lang_count", 0), 2);
    // Not a data tree, and missing.
    EXPECT_EQ(archive.LoadDataKey(L"readme.txt"), nullptr);
    EXPECT_EQ(archive.LoadDataKey(L"missing"), nullptr);
}

// A caller that knows its entries small refuses larger ones unread.
TEST(ZipArchive, EntriesAboveTheCallersLimitAreRefused)
{
    ZipArchive archive;
    ASSERT_TRUE(archive.Open(FixturePath(L"plain.zip").c_str()));
    std::unique_ptr<KV::MemoryStream> whole = archive.ReadEntry(L"SET.KVDT");
    ASSERT_NE(whole, nullptr);
    const uint32_t size = whole->GetSize();
    ASSERT_GT(size, 1u);
    EXPECT_NE(archive.ReadEntry(L"SET.KVDT", size), nullptr);
    EXPECT_EQ(archive.ReadEntry(L"SET.KVDT", size - 1), nullptr);
    bool outOfMemory = true;
    EXPECT_NE(archive.LoadDataKey(L"SET.KVDT", &outOfMemory, size), nullptr);
    EXPECT_EQ(archive.LoadDataKey(L"SET.KVDT", &outOfMemory, size - 1), nullptr);
    EXPECT_FALSE(outOfMemory);
}

TEST(ZipArchive, ASecondOpenIsRefusedAndLeavesTheFirstOpen)
{
    ZipArchive archive;
    ASSERT_TRUE(archive.Open(FixturePath(L"plain.zip").c_str()));
    EXPECT_FALSE(archive.Open(FixturePath(L"dos.zip").c_str()));
    ZipFileHandle file(CreateFileW(FixturePath(L"dos.zip").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                   OPEN_EXISTING, 0, nullptr));
    EXPECT_FALSE(archive.OpenHandle(file.Get()));
    EXPECT_TRUE(archive.HasEntry(L"readme.txt"));
    archive.Close();
    EXPECT_FALSE(archive.IsOpen());
    EXPECT_TRUE(archive.OpenHandle(file.Get()));
    EXPECT_TRUE(archive.HasEntry(L"RO.TXT"));
    EXPECT_FALSE(archive.HasEntry(L"readme.txt"));
}

TEST(ZipArchive, ClosedArchivesAnswerNothing)
{
    ZipArchive archive;
    EXPECT_FALSE(archive.HasEntry(L"readme.txt"));
    EXPECT_EQ(archive.ReadEntry(L"readme.txt"), nullptr);
    EXPECT_EQ(archive.LoadDataKey(L"set.kvdt"), nullptr);
    EXPECT_FALSE(archive.ExtractEntry(L"x.txt", L"readme.txt"));
    EXPECT_FALSE(archive.Open(FixturePath(L"missing.zip").c_str()));
    EXPECT_FALSE(archive.IsOpen());
}

// The setup opens its own file (position 0) by handle, the updaters by name;
// a handle may also stand where the archive starts. The archive's offsets
// count from the file's start (zip -A) or from the archive's own start.
TEST(ZipArchive, ReadsArchivesAppendedToAnExecutable)
{
    const std::vector<uint8_t> readme = ReadFileBytes(FixtureSourcePath(L"readme.txt"));
    const std::vector<uint8_t> stubSize = ReadFileBytes(FixturePath(L"stub_size.txt"));
    const LONG archiveStart = std::stol(std::string(stubSize.begin(), stubSize.end()));
    for (const wchar_t* name : {L"appended_absolute.exe", L"appended_relative.exe"}) {
        const std::wstring path = FixturePath(name);
        {
            ZipArchive archive;
            ASSERT_TRUE(archive.Open(path.c_str())) << name;
            std::unique_ptr<KV::MemoryStream> stream = archive.ReadEntry(L"readme.txt");
            ASSERT_NE(stream, nullptr) << name;
            EXPECT_EQ(Bytes(*stream), readme);
        }
        for (LONG start : {LONG(0), archiveStart}) {
            ZipFileHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
            ASSERT_NE(SetFilePointer(file.Get(), start, nullptr, FILE_BEGIN), INVALID_SET_FILE_POINTER);
            ZipArchive archive;
            ASSERT_TRUE(archive.OpenHandle(file.Get())) << name << " at " << start;
            std::unique_ptr<KV::MemoryStream> stream = archive.ReadEntry(L"readme.txt");
            ASSERT_NE(stream, nullptr) << name << " at " << start;
            EXPECT_EQ(Bytes(*stream), readme);
            EXPECT_NE(archive.LoadDataKey(L"set.kvdt"), nullptr);
        }
    }
}

TEST(ZipArchive, ExtractsEntriesToFilesReplacingOldOnes)
{
    ScratchFolder scratch;
    ZipArchive archive;
    {
        // A relative target goes below the current directory at opening.
        CurrentDirectory inScratch(scratch.Path());
        ASSERT_TRUE(archive.Open(FixturePath(L"plain.zip").c_str()));
    }
    ASSERT_TRUE(WriteFileBytes(scratch / L"readme.txt", {'o', 'l', 'd'}));
    EXPECT_TRUE(archive.ExtractEntry(L"readme.txt", L"README.TXT"));
    EXPECT_EQ(ReadFileBytes(scratch / L"readme.txt"), ReadFileBytes(FixtureSourcePath(L"readme.txt")));
    EXPECT_TRUE(archive.ExtractEntry(L"sub\\nothing.txt", L"empty.txt"));
    EXPECT_TRUE(FileExists(scratch / L"sub\\nothing.txt"));
    EXPECT_TRUE(ReadFileBytes(scratch / L"sub\\nothing.txt").empty());
    EXPECT_TRUE(archive.ExtractEntry((scratch / L"folder").c_str(), L"docs/"));
    EXPECT_TRUE(FolderExists(scratch / L"folder"));
    EXPECT_FALSE(archive.ExtractEntry(L"missing.txt", L"missing.txt"));
    EXPECT_EQ(ListTree(scratch.Path()),
              (std::vector<std::wstring>{L"folder\\", L"readme.txt", L"sub\\", L"sub\\nothing.txt"}));
}

// An entry larger than what the caller takes is refused before a byte of it
// reaches the file: a few KiB of archive can inflate to gigabytes.
TEST(ZipArchive, AnEntryLargerThanTheCallersLimitIsNotExtractedToAHandle)
{
    ScratchFolder scratch;
    ZipArchive archive;
    ASSERT_TRUE(archive.Open(FixturePath(L"plain.zip").c_str()));
    const std::unique_ptr<KV::MemoryStream> entry = archive.ReadEntry(L"README.TXT");
    ASSERT_NE(entry, nullptr);
    const uint32_t size = entry->GetSize();
    ASSERT_GT(size, 0u);
    for (const uint32_t limit : {size - 1, size}) {
        const std::wstring target = scratch / (L"limit" + std::to_wstring(limit) + L".txt");
        HANDLE file = ::CreateFileW(target.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        ASSERT_NE(file, INVALID_HANDLE_VALUE);
        const bool extracted = archive.ExtractEntryToHandle(file, L"README.TXT", limit);
        ::CloseHandle(file);
        EXPECT_EQ(extracted, limit == size) << limit;
        EXPECT_EQ(ReadFileBytes(target).size(), limit == size ? size : 0u) << limit;
    }
}

} // namespace
