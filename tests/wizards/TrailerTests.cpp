// The setup executable's trailer: its role from the last four bytes, the
// archive and origin offsets, and what the package builder writes.

#include "WizardTestSupport.h"

#include "foundation/DataKey.h"
#include "foundation/ZipArchive.h"
#include "wizards/common/ArchiveTrailer.h"
#include "wizards/common/FileHandle.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

std::string Trailer(uint32_t archiveOffset, uint32_t fromOffset, uint32_t mode)
{
    const uint32_t fields[3] = {archiveOffset, fromOffset, mode};
    return std::string(reinterpret_cast<const char*>(fields), sizeof fields);
}

CFileHandle OpenForReading(const std::wstring& path)
{
    return CFileHandle(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                     FILE_ATTRIBUTE_NORMAL, nullptr));
}

} // namespace

TEST(ArchiveTrailer, ModeComesFromTheLastFourBytes)
{
    struct Case {
        uint32_t value;
        SetupMode mode;
    };
    const Case cases[] = {
        {0, ModeSetup}, {1, ModeInstalledUninstaller}, {2, ModeUninstall}, {3, ModeSetup}, {0xFFFFFFFF, ModeSetup}};
    TempFolder folder;
    for (const Case& c : cases) {
        const std::wstring path = folder.File(L"setup.exe");
        ASSERT_TRUE(WriteWholeFile(path, "MZ image bytes" + Trailer(14, 0, c.value)));
        EXPECT_EQ(c.value, ReadSetupModeValue(path.c_str()));
        EXPECT_EQ(c.mode, SetupModeFromValue(ReadSetupModeValue(path.c_str()))) << c.value;
    }
    ASSERT_TRUE(WriteWholeFile(folder.File(L"short.exe"), "MZ"));
    EXPECT_EQ(0u, ReadSetupModeValue(folder.File(L"short.exe").c_str()));
    EXPECT_EQ(0u, ReadSetupModeValue(folder.File(L"missing.exe").c_str()));
}

TEST(ArchiveTrailer, ModeIsRewrittenInPlace)
{
    TempFolder folder;
    const std::wstring path = folder.File(L"copy.exe");
    const std::string image = "MZ image and archive";
    ASSERT_TRUE(WriteWholeFile(path, image + Trailer(2, 0, ModeInstalledUninstaller)));
    ASSERT_TRUE(WriteSetupModeValue(path.c_str(), ModeUninstall));
    EXPECT_EQ(image + Trailer(2, 0, ModeUninstall), ReadWholeFile(path));
}

TEST(ArchiveTrailer, OriginTextLiesBetweenItsOffsetAndTheTrailer)
{
    TempFolder folder;
    const std::string image = "MZ image and archive";
    struct Case {
        uint32_t fromOffset;
        std::string tail;
        std::string expected;
    };
    const uint32_t start = static_cast<uint32_t>(image.size());
    const Case cases[] = {
        {start, "campaign-7", "campaign-7"},
        {0, "ignored", ""},
        // A damaged offset past the trailer gives no text, not a wrap-around.
        {start + 500, "x", ""},
    };
    for (const Case& c : cases) {
        const std::wstring path = folder.File(L"origin.exe");
        ASSERT_TRUE(WriteWholeFile(path, image + c.tail + Trailer(5, c.fromOffset, 0)));
        CFileHandle file = OpenForReading(path);
        ArchiveTrailer trailer;
        ASSERT_TRUE(ReadArchiveTrailer(file.Get(), trailer));
        EXPECT_EQ(5u, trailer.ArchiveOffset);
        EXPECT_EQ(c.fromOffset, trailer.FromOffset);
        EXPECT_EQ(c.expected, ReadOriginText(file.Get(), trailer));
    }
}

TEST(ArchiveTrailer, BuiltExecutablesCarryTheirRoleAndAnAbsoluteArchive)
{
    struct Case {
        const wchar_t* file;
        SetupMode mode;
        std::string origin;
        bool programFiles;
    };
    const Case cases[] = {
        {L"TestSetup.exe", ModeSetup, "test-origin", true},
        {L"TestUninstaller.exe", ModeInstalledUninstaller, "", false},
    };
    for (const Case& c : cases) {
        const std::wstring path = FixturePath(c.file);
        CFileHandle file = OpenForReading(path);
        ASSERT_TRUE(file.IsValid()) << c.file;
        ArchiveTrailer trailer;
        ASSERT_TRUE(ReadArchiveTrailer(file.Get(), trailer));
        EXPECT_EQ(c.mode, SetupModeFromValue(trailer.Mode));
        EXPECT_EQ(c.origin, ReadOriginText(file.Get(), trailer));

        // The archive begins where the image ends: its first local header.
        const std::string bytes = ReadWholeFile(path);
        ASSERT_LT(trailer.ArchiveOffset, bytes.size());
        EXPECT_EQ(0, std::memcmp(bytes.data() + trailer.ArchiveOffset, "PK\x03\x04", 4));

        // Opened at the file's start, as the setup opens itself.
        ::SetFilePointer(file.Get(), 0, nullptr, FILE_BEGIN);
        ZipArchive archive;
        ASSERT_TRUE(archive.OpenHandle(file.Get()));
        for (const wchar_t* entry : {L"lng.lngp", L"res.kvdt", L"set.kvdt"})
            EXPECT_TRUE(archive.HasEntry(entry)) << entry;
        std::unique_ptr<KV::DataKey> settings = archive.LoadDataKey(L"set.kvdt");
        ASSERT_TRUE(settings);
        EXPECT_EQ(c.programFiles, settings->HasKey("files"));
        EXPECT_EQ(c.programFiles, archive.HasEntry(L"docs/guide.txt"));
        if (c.programFiles) {
            EXPECT_EQ(5u, settings->GetUInt("fcount", 0));
            const KV::DataKey* docs = settings->GetKey("files")->GetKey("docs");
            ASSERT_TRUE(docs);
            EXPECT_EQ(L"docs/guide.txt", docs->GetStringW("guide.txt", L""));
        }
    }
}
