// Name cleaning, the target-path check, attributes and times: the pure
// pieces of the reader.
#include "foundation/ZipEntryInfo.h"
#include "foundation/ZipEntryMetadata.h"
#include "foundation/ZipNames.h"

#include "ZipTestSupport.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct CleanCase {
    const wchar_t* stored;
    const wchar_t* cleaned;
};

TEST(ZipNames, CleaningDropsDrivesLeadingSeparatorsAndParentSteps)
{
    const CleanCase cases[] = {
        {L"C:\\dir\\file.txt", L"dir\\file.txt"},
        {L"/a/../b", L"b"},
        {L"x/../y\\z", L"y\\z"},
        {L"a\\..\\..\\b", L"..\\b"},
        {L"\\\\server\\share\\f.txt", L"server\\share\\f.txt"},
        {L"c:/d:/e.txt", L"e.txt"},
        {L"a/..\\b/../c", L"c"},
        {L"..\\x", L"..\\x"},
        {L"//?/C:/x", L"?/C:/x"},
        {L"plain.txt", L"plain.txt"},
        {L"", L""},
    };
    for (const CleanCase& c : cases)
        EXPECT_EQ(ZipCleanEntryName(c.stored), c.cleaned) << c.stored;
}

TEST(ZipNames, DecodingReadsUtf8AndStopsAtZeroAndAtTheRecordSize)
{
    EXPECT_EQ(ZipDecodeEntryName("Gr\xC3\xBC\xC3\x9F" "e.txt", 11), L"Gr\u00FC\u00DFe.txt");
    EXPECT_EQ(ZipDecodeEntryName("evil\0../x", 9), L"evil");
    const std::string longName(400, 'n');
    EXPECT_EQ(ZipDecodeEntryName(longName.data(), longName.size()).size(), size_t(ZipMaxNameLength - 1));
}

struct PathCase {
    const wchar_t* path;
    bool safe;
};

TEST(ZipNames, TargetPathsThatStayInsideTheirFolderAreSafe)
{
    const PathCase cases[] = {
        {L"file.txt", true},
        {L"dir\\sub/file.txt", true},
        {L"dir/sub/", true},
        {L"C:\\base\\file.txt", true},
        {L"z:/base/file.txt", true},
        {L"\\rooted\\file.txt", true},
        {L" leading space.txt", true},
        {L"a.b.c", true},
        {L"Gr\u00FC\u00DFe \u2713.txt", true},
        {L"CONFIG.SYS", true},
        {L"COM10", true},
        {L"nul_file.txt", true},
        {L"..\\x", false},
        {L"../x", false},
        {L"a\\..\\x", false},
        {L"a/../../x", false},
        {L"..", false},
        {L"..hidden", false},
        {L"C:x", false},
        {L"C:", false},
        {L"1:\\x", false},
        {L"\\\\server\\share\\x", false},
        {L"\\\\?\\C:\\x", false},
        {L"//./pipe/x", false},
        {L"/\\server/x", false},
        {L"x:stream", false},
        {L"dir\\file.txt:ads:$DATA", false},
        {L"C:\\a\\b:c", false},
        {L"x.", false},
        {L"x ", false},
        {L"dir.\\x", false},
        {L"dir \\x", false},
        {L"NUL", false},
        {L"nul.txt", false},
        {L"Com1.log", false},
        {L"LPT9", false},
        {L"com\u00B9", false},
        {L"aux .txt", false},
        {L"prn.tar.gz", false},
        {L"dir\\CON\\x", false},
        {L"conout$", false},
        {L"clock$", false},
        {L"a|b", false},
        {L"a*b", false},
        {L"a?b", false},
        {L"a<b>", false},
        {L"a\"b", false},
        {L"a\x01" L"b", false},
        {L"", false},
    };
    for (const PathCase& c : cases)
        EXPECT_EQ(ZipIsSafeTargetPath(c.path), c.safe) << c.path;
}

struct AttributeCase {
    uint32_t versionMadeBy;
    uint32_t external;
    uint32_t expected;
};

TEST(ZipNames, AttributesFollowTheHostThatMadeTheEntry)
{
    const uint32_t unix = 3 << 8;
    const AttributeCase cases[] = {
        {unix | 30, 0100644u << 16, FILE_ATTRIBUTE_ARCHIVE},
        {unix | 30, 0100444u << 16, FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_READONLY},
        {unix | 30, (040755u << 16) | 0x10, FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_DIRECTORY},
        {unix | 30, 0x27, FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_READONLY},
        {19 << 8, 0100600u << 16, FILE_ATTRIBUTE_ARCHIVE},
        {0 << 8, 0x21, FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE},
        {7 << 8, 0x02, FILE_ATTRIBUTE_HIDDEN},
        {11 << 8, 0x14, FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_DIRECTORY},
        {14 << 8, 0xFFFFFFFF, 0x37},
    };
    for (const AttributeCase& c : cases)
        EXPECT_EQ(ZipAttributesFromHost(c.versionMadeBy, c.external), c.expected)
            << std::hex << c.versionMadeBy << " " << c.external;
}

TEST(ZipNames, DosTimesAreLocalTimesTurnedToUtc)
{
    const uint32_t date = ((2001 - 1980) << 9) | (2 << 5) | 3;
    const uint32_t time = (4 << 11) | (5 << 5) | 3;
    EXPECT_EQ(Ticks(ZipDosDateTimeToFileTime((date << 16) | time)), DosTicks(2001, 2, 3, 4, 5, 6));
    // Month 0 is no date.
    EXPECT_EQ(Ticks(ZipDosDateTimeToFileTime(((21u << 9) | 3) << 16)), 0u);
}

ZipEntryInfo TimesOf(const std::vector<uint8_t>& extra)
{
    ZipEntryInfo info{};
    info.lastWriteTime = info.lastAccessTime = info.creationTime = FILETIME{1, 1};
    ZipApplyExtendedTimestamps(extra.data(), extra.size(), info);
    return info;
}

void Put32(std::vector<uint8_t>& out, int32_t value)
{
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<uint8_t>(static_cast<uint32_t>(value) >> (8 * i)));
}

TEST(ZipNames, ExtendedTimestampsFillTheTimesTheirFlagsName)
{
    const uint64_t untouched = Ticks(FILETIME{1, 1});
    // Another field first, then "UT" with flags 1: only the last write time.
    std::vector<uint8_t> one = {0x0A, 0x00, 0x02, 0x00, 0xAA, 0xBB, 'U', 'T', 5, 0, 1};
    Put32(one, 1234567890);
    ZipEntryInfo info = TimesOf(one);
    EXPECT_EQ(Ticks(info.lastWriteTime), UnixTicks(1234567890));
    EXPECT_EQ(Ticks(info.lastAccessTime), untouched);
    EXPECT_EQ(Ticks(info.creationTime), untouched);

    // Flags 7: write, access, creation in that order; negative seconds too.
    std::vector<uint8_t> all = {'U', 'T', 13, 0, 7};
    Put32(all, 100);
    Put32(all, 200);
    Put32(all, -300);
    info = TimesOf(all);
    EXPECT_EQ(Ticks(info.lastWriteTime), UnixTicks(100));
    EXPECT_EQ(Ticks(info.lastAccessTime), UnixTicks(200));
    EXPECT_EQ(Ticks(info.creationTime), UnixTicks(-300));

    // Flags that promise more than the field holds: what is there counts.
    std::vector<uint8_t> cut = {'U', 'T', 5, 0, 7};
    Put32(cut, 100);
    Put32(cut, 200); // past the field's declared size
    info = TimesOf(cut);
    EXPECT_EQ(Ticks(info.lastWriteTime), UnixTicks(100));
    EXPECT_EQ(Ticks(info.lastAccessTime), untouched);

    // A field running past the block, and a lone header: nothing read.
    const std::vector<uint8_t> broken = {'U', 'T', 200, 0, 1, 1, 2};
    EXPECT_EQ(Ticks(TimesOf(broken).lastWriteTime), untouched);
    const std::vector<uint8_t> header = {'U', 'T', 0, 0};
    EXPECT_EQ(Ticks(TimesOf(header).lastWriteTime), untouched);
}

} // namespace
