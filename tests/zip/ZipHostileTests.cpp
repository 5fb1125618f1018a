// Crafted archives that try to escape the extraction folder, lie about their
// sizes and counts, or carry damaged structures.
#include "foundation/MemoryStream.h"
#include "foundation/ZipArchive.h"
#include "foundation/ZipHandle.h"

#include "ZipTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace {

struct OpenArchive {
    explicit OpenArchive(const wchar_t* fixture)
    {
        const std::wstring path = FixturePath(fixture);
        handle = ZipReaderOpen(path.c_str(), 0, ZipSourceFileName, nullptr);
    }
    ~OpenArchive()
    {
        if (handle)
            ZipReaderClose(handle);
    }
    ZipHandle* handle;
};

// The sandbox holds the scratch folder two levels down, so an escape of one
// or two steps would land in the sandbox, where it is seen.
struct Sandbox {
    Sandbox()
    {
        CreateDirectoryW((root / L"a").c_str(), nullptr);
        CreateDirectoryW((root / L"a\\b").c_str(), nullptr);
        CreateDirectoryW(scratch.c_str(), nullptr);
    }
    std::vector<std::wstring> Outside() const
    {
        std::vector<std::wstring> outside;
        for (const std::wstring& entry : ListTree(root.Path())) {
            if (entry.compare(0, 7, L"a\\b\\in\\") != 0)
                outside.push_back(entry);
        }
        return outside;
    }
    ScratchFolder root;
    std::wstring scratch = root / L"a\\b\\in\\";
};

const std::vector<std::wstring> SandboxFolders = {L"a\\", L"a\\b\\"};

TEST(ZipHostile, EntryNamesCannotLeaveTheBaseFolder)
{
    Sandbox sandbox;
    OpenArchive archive(L"traversal.zip");
    ASSERT_NE(archive.handle, nullptr);
    ZipReaderSetBaseFolder(archive.handle, sandbox.scratch.c_str());

    const struct {
        const wchar_t* cleaned;
        ZipResult result;
    } expected[] = {
        {L"../up1.txt", ZipErrorUnsafePath},
        {L"..\\up2.txt", ZipErrorUnsafePath},
        {L"../up3.txt", ZipErrorUnsafePath},
        {L"..\\up4.txt", ZipErrorUnsafePath},
        {L"..", ZipErrorUnsafePath},
        {L"drive.txt", ZipOk},
        {L"drive_relative.txt", ZipOk},
        {L"server\\share\\unc.txt", ZipOk},
        {L"?\\C:\\device_prefix.txt", ZipErrorUnsafePath},
        {L"?/C:/device_prefix2.txt", ZipErrorUnsafePath},
        {L"stream.txt:hidden", ZipErrorUnsafePath},
        {L"dots.", ZipErrorUnsafePath},
        {L"space ", ZipErrorUnsafePath},
        {L"NUL", ZipErrorUnsafePath},
        {L"com1.txt", ZipErrorUnsafePath},
        {L"Aux.tar.gz", ZipErrorUnsafePath},
        {L"lpt9", ZipErrorUnsafePath},
        {L"CONOUT$", ZipErrorUnsafePath},
        {L"dir/nul/x.txt", ZipErrorUnsafePath},
        {L"absolute.txt", ZipOk},
        {L"..hidden", ZipErrorUnsafePath},
        {L"safe/inside.txt", ZipOk},
    };
    ZipEntryInfo summary{};
    ASSERT_EQ(ZipReaderGetEntry(archive.handle, -1, &summary), ZipOk);
    ASSERT_EQ(summary.index, static_cast<int32_t>(std::size(expected)));
    for (int32_t i = 0; i < summary.index; ++i) {
        ZipEntryInfo info{};
        ASSERT_EQ(ZipReaderGetEntry(archive.handle, i, &info), ZipOk);
        EXPECT_STREQ(info.name, expected[i].cleaned);
        EXPECT_EQ(ZipReaderExtract(archive.handle, i, info.name, 0, ZipTargetFile), expected[i].result)
            << expected[i].cleaned;
    }
    EXPECT_EQ(ListTree(sandbox.scratch),
              (std::vector<std::wstring>{L"absolute.txt", L"drive.txt", L"drive_relative.txt", L"safe\\",
                                         L"safe\\inside.txt", L"server\\", L"server\\share\\",
                                         L"server\\share\\unc.txt"}));
    EXPECT_EQ(sandbox.Outside(), SandboxFolders);
}

TEST(ZipHostile, TargetsThatEscapeAreRefusedBeforeAnythingIsWritten)
{
    Sandbox sandbox;
    ZipArchive archive;
    {
        CurrentDirectory inScratch(sandbox.scratch);
        ASSERT_TRUE(archive.Open(FixturePath(L"traversal.zip").c_str()));
    }
    const std::wstring escapes[] = {
        L"..\\escape1.txt",
        L"x\\..\\..\\escape2.txt",
        L"new\\..\\..\\escape3.txt",
        sandbox.scratch + L"..\\escape4.txt",
        L"\\\\?\\" + sandbox.scratch + L"escape5.txt",
        L"\\\\.\\" + sandbox.scratch + L"escape6.txt",
        L"\\\\localhost\\c$\\escape7.txt",
        L"C:escape8.txt",
        sandbox.scratch + L"target.txt:stream",
        sandbox.scratch + L"trailing.",
        sandbox.scratch + L"trailing ",
        sandbox.scratch + L"nul.txt",
        L"COM1",
    };
    for (const std::wstring& target : escapes)
        EXPECT_FALSE(archive.ExtractEntry(target.c_str(), L"safe/inside.txt")) << target;
    EXPECT_TRUE(ListTree(sandbox.scratch).empty());
    EXPECT_EQ(sandbox.Outside(), SandboxFolders);
}

// Extraction into a folder the caller chose: the folder is taken as it is
// (the updaters' own, which may lie on a network share), while the name
// below it must stay in it.
TEST(ZipHostile, ExtractionIntoAFolderRefusesNamesThatLeaveIt)
{
    Sandbox sandbox;
    ZipArchive archive;
    ASSERT_TRUE(archive.Open(FixturePath(L"traversal.zip").c_str()));
    const wchar_t* const escapes[] = {
        L"..\\escape1.txt",
        L"x\\..\\..\\escape2.txt",
        L"\\\\localhost\\c$\\escape3.txt",
        L"\\escape4.txt",
        L"C:\\escape5.txt",
        L"C:escape6.txt",
        L"\\\\?\\C:\\escape7.txt",
        L"inside.txt:stream",
        L"nul.txt",
        L"",
    };
    for (const wchar_t* name : escapes)
        EXPECT_FALSE(archive.ExtractEntryInto(sandbox.scratch.c_str(), name, L"safe/inside.txt")) << name;
    EXPECT_TRUE(ListTree(sandbox.scratch).empty());

    ASSERT_TRUE(archive.ExtractEntryInto(sandbox.scratch.c_str(), L"inside.txt", L"safe/inside.txt"));
    EXPECT_EQ(ListTree(sandbox.scratch), std::vector<std::wstring>{L"inside.txt"});
    EXPECT_EQ(sandbox.Outside(), SandboxFolders);
    const std::unique_ptr<KV::MemoryStream> entry = archive.ReadEntry(L"safe/inside.txt");
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(ReadFileBytes(sandbox.scratch + L"inside.txt"),
              std::vector<uint8_t>(entry->GetBuffer(), entry->GetBuffer() + entry->GetSize()));
}

TEST(ZipHostile, LyingSizesFailAndLeaveNoFile)
{
    ScratchFolder scratch;
    ZipArchive archive;
    ASSERT_TRUE(archive.Open(FixturePath(L"lying_size.zip").c_str()));
    OpenArchive reader(L"lying_size.zip");
    ASSERT_NE(reader.handle, nullptr);
    ZipReaderSetBaseFolder(reader.handle, scratch.Path().c_str());

    const struct {
        const wchar_t* name;
        ZipResult fileResult;
    } cases[] = {
        {L"longer.txt", ZipErrorDecompress},     // inflates to fewer bytes than declared
        {L"shorter.txt", ZipErrorDecompress},    // inflates to more
        {L"huge.txt", ZipErrorDecompress},       // declares 2 GiB from 40 bytes
        {L"stored_lie.txt", ZipErrorDecompress}, // stored, but its two sizes differ
    };
    for (const auto& c : cases) {
        EXPECT_EQ(archive.ReadEntry(c.name), nullptr) << c.name;
        EXPECT_FALSE(archive.ExtractEntry((scratch / c.name).c_str(), c.name)) << c.name;
        int32_t index = -1;
        ASSERT_EQ(ZipReaderFindEntry(reader.handle, c.name, true, &index, nullptr), ZipOk);
        std::wstring target = c.name;
        EXPECT_EQ(ZipReaderExtract(reader.handle, index, &target[0], 0, ZipTargetFile), c.fileResult) << c.name;
    }
    EXPECT_TRUE(ListTree(scratch.Path()).empty());
    EXPECT_NE(archive.ReadEntry(L"honest.txt"), nullptr);
    EXPECT_TRUE(archive.ExtractEntry((scratch / L"honest.txt").c_str(), L"honest.txt"));
}

TEST(ZipHostile, BadCrcsFailAndLeaveNoFileUnderTheFinalName)
{
    ScratchFolder scratch;
    ZipArchive archive;
    ASSERT_TRUE(archive.Open(FixturePath(L"bad_crc.zip").c_str()));
    for (const wchar_t* name : {L"bad_crc.txt", L"bad_crc_stored.txt"}) {
        const std::wstring target = scratch / name;
        ASSERT_TRUE(WriteFileBytes(target, {'o', 'l', 'd'}));
        EXPECT_EQ(archive.ReadEntry(name), nullptr) << name;
        EXPECT_FALSE(archive.ExtractEntry(target.c_str(), name)) << name;
        EXPECT_FALSE(FileExists(target)) << name;
    }
    EXPECT_TRUE(archive.ExtractEntry((scratch / L"good.txt").c_str(), L"good.txt"));
    EXPECT_EQ(ListTree(scratch.Path()), std::vector<std::wstring>{L"good.txt"});
}

TEST(ZipHostile, DirectoryRecordsPointingAtForeignHeadersAreCorrupt)
{
    OpenArchive archive(L"overlap.zip");
    ASSERT_NE(archive.handle, nullptr);
    ZipEntryInfo info{};
    EXPECT_EQ(ZipReaderGetEntry(archive.handle, 0, &info), ZipOk);
    EXPECT_EQ(ZipReaderGetEntry(archive.handle, 1, &info), ZipErrorLocalHeader); // a.txt's header
    EXPECT_EQ(ZipReaderGetEntry(archive.handle, 2, &info), ZipErrorLocalHeader); // inside the directory
    uint8_t buffer[64];
    EXPECT_EQ(ZipReaderExtract(archive.handle, 1, buffer, sizeof(buffer), ZipTargetMemory), ZipErrorLocalHeader);
    EXPECT_EQ(ZipReaderExtract(archive.handle, 0, buffer, sizeof(buffer), ZipTargetMemory), ZipMoreData);
}

TEST(ZipHostile, DirectoriesShorterThanTheirCountFailPastTheirEnd)
{
    for (const wchar_t* name : {L"truncated_directory.zip", L"count_lie_padded.zip"}) {
        OpenArchive archive(name);
        ASSERT_NE(archive.handle, nullptr) << name;
        ZipEntryInfo info{};
        ASSERT_EQ(ZipReaderGetEntry(archive.handle, -1, &info), ZipOk);
        const int32_t count = info.index;
        EXPECT_GE(count, 3);
        EXPECT_EQ(ZipReaderGetEntry(archive.handle, 0, &info), ZipOk) << name;
        EXPECT_EQ(ZipReaderGetEntry(archive.handle, count - 1, &info), ZipErrorRead) << name;
        EXPECT_EQ(ZipReaderFindEntry(archive.handle, L"missing", true, nullptr, nullptr), ZipErrorNotFound);
        // After the failures the reader still finds its way back.
        EXPECT_EQ(ZipReaderGetEntry(archive.handle, 0, &info), ZipOk) << name;
        uint8_t buffer[600];
        EXPECT_EQ(ZipReaderExtract(archive.handle, 0, buffer, sizeof(buffer), ZipTargetMemory), ZipOk) << name;
    }
}

TEST(ZipHostile, ThousandsOfRealEntriesAreListedAndFound)
{
    ZipArchive archive;
    ASSERT_TRUE(archive.Open(FixturePath(L"many.zip").c_str()));
    std::unique_ptr<KV::MemoryStream> last = archive.ReadEntry(L"many/f3000.txt");
    ASSERT_NE(last, nullptr);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(last->GetBuffer()), last->GetSize()), "3000\n");

    ZipHandle* handle = archive.GetHandle();
    ZipEntryInfo info{};
    ASSERT_EQ(ZipReaderGetEntry(handle, -1, &info), ZipOk);
    EXPECT_EQ(info.index, 3001);
    int32_t files = 0;
    for (int32_t i = 0; i < 3001; ++i) {
        ASSERT_EQ(ZipReaderGetEntry(handle, i, &info), ZipOk) << i;
        files += (info.attributes & FILE_ATTRIBUTE_DIRECTORY) ? 0 : 1;
    }
    EXPECT_EQ(files, 3000);
}

} // namespace
