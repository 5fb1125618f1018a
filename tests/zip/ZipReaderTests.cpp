// The free functions over ZipHandle, on archives made by Info-ZIP zip and on
// crafted ones.
#include "foundation/ZipFileHandle.h"
#include "foundation/ZipHandle.h"
#include "foundation/ZipReader.h"

#include "ZipTestSupport.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>

namespace {

// Closes the handle at the end of the test.
struct OpenArchive {
    explicit OpenArchive(ZipHandle* h) : handle(h) {}
    ~OpenArchive()
    {
        if (handle)
            ZipReaderClose(handle);
    }
    ZipHandle* handle;
};

ZipHandle* OpenFile(const std::wstring& name)
{
    const std::wstring path = FixturePath(name);
    return ZipReaderOpen(path.c_str(), 0, ZipSourceFileName, nullptr);
}

ZipEntryInfo Find(ZipHandle* handle, const wchar_t* name)
{
    ZipEntryInfo info{};
    int32_t index = -1;
    EXPECT_EQ(ZipReaderFindEntry(handle, name, true, &index, &info), ZipOk) << name;
    EXPECT_EQ(info.index, index);
    return info;
}

TEST(ZipReader, OpensFromAFileNameAHandleAndMemory)
{
    const std::wstring path = FixturePath(L"plain.zip");
    const std::vector<uint8_t> bytes = ReadFileBytes(path);
    ZipFileHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(file.IsValid());

    const struct {
        const void* source;
        uint32_t length;
        int32_t kind;
    } sources[] = {
        {path.c_str(), 0, ZipSourceFileName},
        {file.Get(), 0, ZipSourceHandle},
        {bytes.data(), static_cast<uint32_t>(bytes.size()), ZipSourceMemory},
    };
    for (const auto& source : sources) {
        OpenArchive archive(ZipReaderOpen(source.source, source.length, source.kind, nullptr));
        ASSERT_NE(archive.handle, nullptr) << source.kind;
        EXPECT_EQ(ZipReaderGetLastResult(), ZipOk);
        ZipEntryInfo summary{};
        EXPECT_EQ(ZipReaderGetEntry(archive.handle, -1, &summary), ZipOk);
        EXPECT_EQ(summary.index, 10);
        EXPECT_EQ(summary.name[0], L'\0');
        const ZipEntryInfo readme = Find(archive.handle, L"readme.txt");
        EXPECT_EQ(readme.uncompressedSize, ReadFileBytes(FixtureSourcePath(L"readme.txt")).size());
    }
    // The reader leaves a caller's handle open.
    EXPECT_NE(GetFileType(file.Get()), static_cast<DWORD>(FILE_TYPE_UNKNOWN));
}

TEST(ZipReader, RefusesSourcesItCannotRead)
{
    HANDLE readEnd = nullptr;
    HANDLE writeEnd = nullptr;
    ASSERT_TRUE(CreatePipe(&readEnd, &writeEnd, nullptr, 0));
    ZipFileHandle pipeRead(readEnd);
    ZipFileHandle pipeWrite(writeEnd);
    const std::wstring missing = FixturePath(L"missing.zip");
    const std::wstring notAnArchive = FixturePath(L"set.kvdt");
    const std::wstring cutShort = FixturePath(L"truncated_end.zip");
    const std::wstring countLie = FixturePath(L"count_lie.zip");

    const struct {
        const void* source;
        int32_t kind;
        ZipResult expected;
    } cases[] = {
        {nullptr, ZipSourceFileName, ZipErrorArguments},
        {missing.c_str(), ZipSourceFileName, ZipErrorOpen},
        {notAnArchive.c_str(), ZipSourceFileName, ZipErrorOpen},
        {cutShort.c_str(), ZipSourceFileName, ZipErrorOpen},
        {countLie.c_str(), ZipSourceFileName, ZipErrorOpen},
        {missing.c_str(), 7, ZipErrorArguments},
        {pipeRead.Get(), ZipSourceHandle, ZipErrorNotSeekable},
        {nullptr, ZipSourceMemory, ZipErrorOpen},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ZipReaderOpen(c.source, 0, c.kind, nullptr), nullptr) << c.expected;
        EXPECT_EQ(ZipReaderGetLastResult(), c.expected);
    }
}

TEST(ZipReader, EveryFunctionChecksItsHandle)
{
    ZipReader* noReader = nullptr;
    ZipHandle wrongKind{2, noReader};
    ZipEntryInfo info{};
    int32_t index = 0;
    const std::function<ZipResult(ZipHandle*)> calls[] = {
        [&](ZipHandle* h) { return ZipReaderFindEntry(h, L"x", true, &index, &info); },
        [&](ZipHandle* h) { return ZipReaderExtract(h, 0, &info, sizeof(info), ZipTargetMemory); },
        [&](ZipHandle* h) { return ZipReaderGetEntry(h, 0, &info); },
        [&](ZipHandle* h) { return ZipReaderSetBaseFolder(h, L"C:\\"); },
        [&](ZipHandle* h) { return ZipReaderClose(h); },
    };
    for (const auto& call : calls) {
        EXPECT_EQ(call(nullptr), ZipErrorArguments);
        EXPECT_EQ(ZipReaderGetLastResult(), ZipErrorArguments);
        EXPECT_EQ(call(&wrongKind), ZipErrorHandleKind);
        EXPECT_EQ(ZipReaderGetLastResult(), ZipErrorHandleKind);
    }
}

TEST(ZipReader, GetEntryChecksTheIndexAndClearsTheRecordFirst)
{
    OpenArchive archive(OpenFile(L"plain.zip"));
    ASSERT_NE(archive.handle, nullptr);
    ZipEntryInfo info{};
    info.index = 77;
    info.name[0] = L'x';
    info.uncompressedSize = 5;
    EXPECT_EQ(ZipReaderGetEntry(archive.handle, 10, &info), ZipErrorArguments);
    EXPECT_EQ(info.index, 0);
    EXPECT_EQ(info.name[0], L'\0');
    EXPECT_EQ(info.uncompressedSize, 0u);
    EXPECT_EQ(ZipReaderGetEntry(archive.handle, -2, &info), ZipErrorArguments);
    EXPECT_EQ(ZipReaderGetEntry(archive.handle, 0, nullptr), ZipErrorArguments);

    // Backwards, forwards and the cached entry again give the same records.
    ZipEntryInfo last{};
    ZipEntryInfo first{};
    ZipEntryInfo again{};
    ASSERT_EQ(ZipReaderGetEntry(archive.handle, 9, &last), ZipOk);
    ASSERT_EQ(ZipReaderGetEntry(archive.handle, 0, &first), ZipOk);
    ASSERT_EQ(ZipReaderGetEntry(archive.handle, 9, &again), ZipOk);
    EXPECT_STREQ(last.name, L"docs/deeper/b.txt");
    EXPECT_STREQ(first.name, L"set.kvdt");
    EXPECT_EQ(std::memcmp(&last, &again, sizeof(last)), 0);
}

TEST(ZipReader, UnixModesBecomeWindowsAttributes)
{
    OpenArchive archive(OpenFile(L"plain.zip"));
    ASSERT_NE(archive.handle, nullptr);
    const struct {
        const wchar_t* name;
        uint32_t attributes;
    } cases[] = {
        {L"rw.txt", FILE_ATTRIBUTE_ARCHIVE},                            // 644
        {L"ro.txt", FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_READONLY},  // 444
        {L"docs/", FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_DIRECTORY},  // 40755
    };
    for (const auto& c : cases)
        EXPECT_EQ(Find(archive.handle, c.name).attributes, c.attributes) << c.name;
}

TEST(ZipReader, DosHostsKeepTheirAttributeBits)
{
    OpenArchive crafted(OpenFile(L"dos_attributes.zip"));
    ASSERT_NE(crafted.handle, nullptr);
    const struct {
        const wchar_t* name;
        uint32_t attributes;
    } cases[] = {
        {L"readonly.txt", FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE},
        {L"hidden.txt", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE},
        {L"system.txt", FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE},
        {L"folder/", FILE_ATTRIBUTE_DIRECTORY},
        {L"ntfs.txt", FILE_ATTRIBUTE_READONLY},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Find(crafted.handle, c.name).attributes, c.attributes) << c.name;

    // Info-ZIP's MS-DOS mode keeps only the owner's write permission.
    OpenArchive dos(OpenFile(L"dos.zip"));
    ASSERT_NE(dos.handle, nullptr);
    EXPECT_EQ(Find(dos.handle, L"RO.TXT").attributes & FILE_ATTRIBUTE_READONLY, uint32_t(FILE_ATTRIBUTE_READONLY));
    EXPECT_EQ(Find(dos.handle, L"RW.TXT").attributes & FILE_ATTRIBUTE_READONLY, 0u);
}

TEST(ZipReader, TimesComeFromTheDosFieldsAndTheUtField)
{
    // Info-ZIP's local "UT" field holds the modification and access times.
    OpenArchive plain(OpenFile(L"plain.zip"));
    ASSERT_NE(plain.handle, nullptr);
    const ZipEntryInfo readme = Find(plain.handle, L"readme.txt");
    EXPECT_EQ(Ticks(readme.lastWriteTime), UnixTicks(FixtureModifiedTime));
    EXPECT_EQ(Ticks(readme.lastAccessTime), UnixTicks(FixtureAccessedTime));

    // Flags 1: the last write time from "UT", the two others from the DOS date.
    OpenArchive crafted(OpenFile(L"ut_flags1.zip"));
    ASSERT_NE(crafted.handle, nullptr);
    const ZipEntryInfo stamp = Find(crafted.handle, L"stamp.txt");
    const uint64_t dos = DosTicks(2001, 2, 3, 4, 5, 6);
    EXPECT_EQ(Ticks(stamp.lastWriteTime), UnixTicks(CraftedModifiedTime));
    EXPECT_EQ(Ticks(stamp.lastAccessTime), dos);
    EXPECT_EQ(Ticks(stamp.creationTime), dos);
    const ZipEntryInfo plainTimes = Find(crafted.handle, L"plain.txt");
    EXPECT_EQ(Ticks(plainTimes.lastWriteTime), dos);
}

TEST(ZipReader, FindsNamesByUtf8WithOrWithoutCase)
{
    OpenArchive archive(OpenFile(L"plain.zip"));
    ASSERT_NE(archive.handle, nullptr);
    int32_t index = 5;
    ZipEntryInfo info{};
    EXPECT_EQ(ZipReaderFindEntry(archive.handle, L"SET.KVDT", true, &index, &info), ZipOk);
    EXPECT_EQ(index, 0);
    EXPECT_EQ(ZipReaderFindEntry(archive.handle, L"SET.KVDT", false, &index, &info), ZipErrorNotFound);
    EXPECT_EQ(index, -1);
    EXPECT_EQ(info.index, -1);
    EXPECT_EQ(ZipReaderFindEntry(archive.handle, L"docs/deeper/b.txt", false, nullptr, nullptr), ZipOk);
    EXPECT_EQ(ZipReaderFindEntry(archive.handle, L"docs/deeper", true, nullptr, nullptr), ZipErrorNotFound);

    OpenArchive unicode(OpenFile(L"unicode.zip"));
    ASSERT_NE(unicode.handle, nullptr);
    const ZipEntryInfo entry = Find(unicode.handle, L"Gr\u00FC\u00DFe/na\u00EFve \u2713.txt");
    EXPECT_STREQ(entry.name, L"Gr\u00FC\u00DFe/na\u00EFve \u2713.txt");

    // Stored names longer than a record holds are cut, and never match.
    OpenArchive longName(OpenFile(L"long_name.zip"));
    ASSERT_NE(longName.handle, nullptr);
    ASSERT_EQ(ZipReaderGetEntry(longName.handle, 0, &info), ZipOk);
    EXPECT_EQ(std::wstring(info.name), std::wstring(ZipMaxNameLength - 1, L'n'));
    EXPECT_EQ(ZipReaderFindEntry(longName.handle, std::wstring(300, L'n').c_str(), true, nullptr, nullptr),
              ZipErrorNotFound);
}

TEST(ZipReader, ExtractsToMemoryPieceByPiece)
{
    OpenArchive archive(OpenFile(L"plain.zip"));
    ASSERT_NE(archive.handle, nullptr);
    const std::vector<uint8_t> expected = ReadFileBytes(FixtureSourcePath(L"readme.txt"));
    const int32_t index = Find(archive.handle, L"readme.txt").index;
    std::vector<uint8_t> collected;
    uint8_t piece[4096];
    ZipResult result = ZipMoreData;
    int calls = 0;
    while (result == ZipMoreData && calls++ < 1000) {
        std::memset(piece, 0, sizeof(piece));
        result = ZipReaderExtract(archive.handle, index, piece, sizeof(piece), ZipTargetMemory);
        const size_t got = std::min(sizeof(piece), expected.size() - collected.size());
        collected.insert(collected.end(), piece, piece + got);
    }
    EXPECT_EQ(result, ZipOk);
    EXPECT_EQ(collected, expected);
    EXPECT_EQ(calls, static_cast<int>((expected.size() + sizeof(piece) - 1) / sizeof(piece)));

    // A stored entry in one piece of exactly its size.
    const std::vector<uint8_t> data = ReadFileBytes(FixtureSourcePath(L"data.bin"));
    std::vector<uint8_t> whole(data.size());
    EXPECT_EQ(ZipReaderExtract(archive.handle, Find(archive.handle, L"data.bin").index, whole.data(),
                               static_cast<uint32_t>(whole.size()), ZipTargetMemory),
              ZipOk);
    EXPECT_EQ(whole, data);
}

TEST(ZipReader, ExtractsToAnOpenHandleAtItsPosition)
{
    ScratchFolder scratch;
    OpenArchive archive(OpenFile(L"plain.zip"));
    ASSERT_NE(archive.handle, nullptr);
    const std::wstring target = scratch / L"joined.bin";
    ZipFileHandle file(CreateFileW(target.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    ASSERT_TRUE(file.IsValid());
    DWORD written = 0;
    ASSERT_TRUE(WriteFile(file.Get(), "head", 4, &written, nullptr));

    EXPECT_EQ(ZipReaderExtract(archive.handle, Find(archive.handle, L"data.bin").index, file.Get(), 0, ZipTargetHandle), ZipOk);
    // A folder entry writes nothing into a handle.
    EXPECT_EQ(ZipReaderExtract(archive.handle, Find(archive.handle, L"docs/").index, file.Get(), 0, ZipTargetHandle), ZipOk);
    ASSERT_TRUE(WriteFile(file.Get(), "tail", 4, &written, nullptr));
    file.Reset();

    std::vector<uint8_t> expected = {'h', 'e', 'a', 'd'};
    const std::vector<uint8_t> data = ReadFileBytes(FixtureSourcePath(L"data.bin"));
    expected.insert(expected.end(), data.begin(), data.end());
    expected.insert(expected.end(), {'t', 'a', 'i', 'l'});
    EXPECT_EQ(ReadFileBytes(target), expected);
}

TEST(ZipReader, ExtractsToPathsBelowTheBaseFolderWithTimesAndAttributes)
{
    ScratchFolder scratch;
    OpenArchive archive(OpenFile(L"plain.zip"));
    ASSERT_NE(archive.handle, nullptr);
    // A missing base folder is made; no separator at its end: one is added.
    ASSERT_EQ(ZipReaderSetBaseFolder(archive.handle, (scratch / L"made").c_str()), ZipOk);

    wchar_t target[] = L"deep/er\\readme copy.txt";
    ASSERT_EQ(ZipReaderExtract(archive.handle, Find(archive.handle, L"readme.txt").index, target, 0, ZipTargetFile), ZipOk);
    const std::wstring extracted = scratch / L"made\\deep\\er\\readme copy.txt";
    // Times first: reading the file moves its access time.
    WIN32_FILE_ATTRIBUTE_DATA data{};
    ASSERT_TRUE(GetFileAttributesExW(extracted.c_str(), GetFileExInfoStandard, &data));
    EXPECT_EQ(Ticks(data.ftLastWriteTime), UnixTicks(FixtureModifiedTime));
    EXPECT_EQ(Ticks(data.ftLastAccessTime), UnixTicks(FixtureAccessedTime));
    EXPECT_EQ(ReadFileBytes(extracted), ReadFileBytes(FixtureSourcePath(L"readme.txt")));

    wchar_t readOnly[] = L"ro.txt";
    ASSERT_EQ(ZipReaderExtract(archive.handle, Find(archive.handle, L"ro.txt").index, readOnly, 0, ZipTargetFile), ZipOk);
    EXPECT_TRUE(GetFileAttributesW((scratch / L"made\\ro.txt").c_str()) & FILE_ATTRIBUTE_READONLY);

    // An absolute target ignores the base folder.
    const std::wstring absolute = scratch / L"abs\\olute\\b.txt";
    ASSERT_EQ(ZipReaderExtract(archive.handle, Find(archive.handle, L"docs/deeper/b.txt").index,
                               const_cast<wchar_t*>(absolute.c_str()), 0, ZipTargetFile), ZipOk);
    EXPECT_EQ(ReadFileBytes(absolute), ReadFileBytes(FixtureSourcePath(L"docs\\deeper\\b.txt")));

    // Exactly the extracted files and their folders.
    const std::vector<std::wstring> expected = {L"abs\\", L"abs\\olute\\", L"abs\\olute\\b.txt", L"made\\",
                                                L"made\\deep\\", L"made\\deep\\er\\",
                                                L"made\\deep\\er\\readme copy.txt", L"made\\ro.txt"};
    EXPECT_EQ(ListTree(scratch.Path()), expected);
}

TEST(ZipReader, ExtractingAFolderEntryToAPathMakesOnlyTheFolder)
{
    ScratchFolder scratch;
    OpenArchive archive(OpenFile(L"plain.zip"));
    ASSERT_NE(archive.handle, nullptr);
    ZipReaderSetBaseFolder(archive.handle, scratch.Path().c_str());
    wchar_t target[] = L"docs/deeper/";
    EXPECT_EQ(ZipReaderExtract(archive.handle, Find(archive.handle, L"docs/deeper/").index, target, 0, ZipTargetFile), ZipOk);
    EXPECT_EQ(ListTree(scratch.Path()), (std::vector<std::wstring>{L"docs\\", L"docs\\deeper\\"}));
}

TEST(ZipReader, ExtractRefusesBadIndicesAndTargetKinds)
{
    OpenArchive archive(OpenFile(L"plain.zip"));
    ASSERT_NE(archive.handle, nullptr);
    uint8_t buffer[16];
    wchar_t path[] = L"x.txt";
    EXPECT_EQ(ZipReaderExtract(archive.handle, 10, buffer, sizeof(buffer), ZipTargetMemory), ZipErrorArguments);
    EXPECT_EQ(ZipReaderExtract(archive.handle, -1, path, 0, ZipTargetFile), ZipErrorArguments);
    EXPECT_EQ(ZipReaderExtract(archive.handle, 0, path, 0, 4), ZipErrorArguments);
    EXPECT_EQ(ZipReaderExtract(archive.handle, 0, nullptr, 0, ZipTargetFile), ZipErrorArguments);
    EXPECT_EQ(ZipReaderExtract(archive.handle, 0, nullptr, 8, ZipTargetMemory), ZipErrorArguments);
}

TEST(ZipReader, EncryptedEntriesAreABadPassword)
{
    ScratchFolder scratch;
    OpenArchive archive(OpenFile(L"encrypted.zip"));
    ASSERT_NE(archive.handle, nullptr);
    ZipReaderSetBaseFolder(archive.handle, scratch.Path().c_str());
    const int32_t index = Find(archive.handle, L"readme.txt").index;
    uint8_t buffer[256];
    wchar_t target[] = L"readme.txt";
    EXPECT_EQ(ZipReaderExtract(archive.handle, index, buffer, sizeof(buffer), ZipTargetMemory), ZipErrorPassword);
    EXPECT_EQ(ZipReaderExtract(archive.handle, index, target, 0, ZipTargetFile), ZipErrorPassword);
    EXPECT_TRUE(ListTree(scratch.Path()).empty());
}

} // namespace
