// The naming and calendar rules of records, as tables.

#include "tests/recording/RecordingTestSupport.h"

#include "player/recording/RecordNaming.h"
#include "player/recording/RecordSchedule.h"

#include <gtest/gtest.h>

namespace {

TEST(RecordNamingTest, FileNameJoinsNameChannelSecondsAndExtension)
{
    EXPECT_EQ(L"Show#ab_cd#3600.asf", RecordNaming::MakeFileName(L"Show", "ab_cd", 3600, L"asf"));
    EXPECT_EQ(L"Show#ab_cd#0.mp3", RecordNaming::MakeFileName(L"Show", "ab_cd", 0, L"mp3"));
    EXPECT_EQ(L"Big#ab_cd#8589934592.mp3", RecordNaming::MakeFileName(L"Big", "ab_cd", 8589934592ull, L"mp3"));
}

TEST(RecordNamingTest, NamesCannotLeaveTheFolderOrBreakTheFields)
{
    const std::pair<const wchar_t*, const wchar_t*> cases[] = {
        {L"..\\..\\evil", L".._.._evil"},
        {L"a/b:c*d?e\"f<g>h|i", L"a_b_c_d_e_f_g_h_i"},
        {L"News #1", L"News _1"},
        {L"tab\there", L"tab_here"},
        {L"Ünïcødé (2)", L"Ünïcødé (2)"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.second, RecordNaming::SafeFileNameText(c.first)) << c.second;
}

TEST(RecordNamingTest, ParsesFoundFileNames)
{
    struct Case {
        const wchar_t* fileName;
        bool parsed;
        const wchar_t* name;
        const char* channel;
        int64_t seconds;
    };
    const Case cases[] = {
        {L"Show#ab_cd#125.mp3", true, L"Show", "ab_cd", 125},
        {L"Film (2)#de_tv1#3600.asf", true, L"Film (2)", "de_tv1", 3600},
        {L"Odd#x#.mp3", true, L"Odd", "x", 0},
        {L"Short#x#7.ts", true, L"Short", "x", 7},
        {L"NoHash.mp3", false, L"", "", 0},
        {L"One#hash.mp3", false, L"", "", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.channel << " " << c.seconds);
        RecordNaming::ParsedFileName parsed;
        ASSERT_EQ(c.parsed, RecordNaming::ParseFileName(c.fileName, parsed));
        if (!c.parsed)
            continue;
        EXPECT_EQ(c.name, parsed.name);
        EXPECT_EQ(c.channel, parsed.channelId);
        EXPECT_EQ(c.seconds, parsed.seconds);
    }
}

TEST(RecordNamingTest, ExtensionsAndSuccessorBases)
{
    EXPECT_EQ(L"mp3", RecordNaming::ExtensionOf(L"C:\\r\\Show#ab#1.mp3"));
    EXPECT_EQ(L"", RecordNaming::ExtensionOf(L"C:\\r.d\\Show"));
    EXPECT_EQ(L"", RecordNaming::ExtensionOf(L"C:\\r\\Show#ab#0."));

    const std::pair<const wchar_t*, const wchar_t*> bases[] = {
        {L"Film (3)", L"Film"},   {L"Film (12)", L"Film (12)"}, {L"Film(3)", L"Film(3)"},
        {L"Film (x)", L"Film (x)"}, {L" (3)", L" (3)"},           {L"A (3)", L"A"},
    };
    for (const auto& c : bases)
        EXPECT_EQ(c.second, RecordNaming::SuccessorBaseName(c.first)) << c.first;
}

TEST(RecordScheduleTest, WeekdaysCountFromMonday)
{
    // 4 March 2024 is a Monday.
    for (int day = 0; day < 7; ++day)
        EXPECT_EQ(day, RecordSchedule::WeekdayIndex(LocalTime(2024, 3, 4 + day, 12, 0)));
}

TEST(RecordScheduleTest, NextWeeklyOccurrence)
{
    struct Case {
        const char* what;
        const char* days;  // "1" per set weekday, Monday first
        CTime now;
        CTime start;  // the wanted start; the end keeps its 60 minutes
    };
    const Case cases[] = {
        {"Monday at 19:59 runs today", "1000000", LocalTime(2024, 3, 4, 19, 59, 59), LocalTime(2024, 3, 4, 20, 0)},
        {"Monday at 20:00 runs next week", "1000000", LocalTime(2024, 3, 4, 20, 0), LocalTime(2024, 3, 11, 20, 0)},
        {"seconds are not compared", "1000000", LocalTime(2024, 3, 4, 20, 0, 59), LocalTime(2024, 3, 11, 20, 0)},
        {"every day, after today's start", "1111111", LocalTime(2024, 3, 4, 20, 30), LocalTime(2024, 3, 5, 20, 0)},
        {"Wednesday from Monday", "0010000", LocalTime(2024, 3, 4, 8, 0), LocalTime(2024, 3, 6, 20, 0)},
        {"Sunday from Monday", "0000001", LocalTime(2024, 3, 4, 8, 0), LocalTime(2024, 3, 10, 20, 0)},
        {"Monday from Friday, into the next month", "1000000", LocalTime(2024, 3, 29, 8, 0),
         LocalTime(2024, 4, 1, 20, 0)},
        {"no day set: eight days on", "0000000", LocalTime(2024, 3, 4, 8, 0), LocalTime(2024, 3, 12, 20, 0)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        bool weekdays[RecordSchedule::WeekdayCount];
        for (int day = 0; day < RecordSchedule::WeekdayCount; ++day)
            weekdays[day] = c.days[day] == '1';
        CTime start = LocalTime(2020, 1, 1, 20, 0, 33);
        CTime end = LocalTime(2020, 1, 1, 21, 0, 12);
        RecordSchedule::NextWeekly(c.now, weekdays, start, end);
        EXPECT_EQ(c.start.Format(L"%Y-%m-%d %H:%M:%S"), start.Format(L"%Y-%m-%d %H:%M:%S"));
        EXPECT_EQ((c.start + CTimeSpan(3600)).Format(L"%Y-%m-%d %H:%M:%S"), end.Format(L"%Y-%m-%d %H:%M:%S"));
    }
}

TEST(RecordScheduleTest, TheTickWindowIsTheEightSecondsFromTheTimeOn)
{
    const CTime at = LocalTime(2024, 3, 4, 10, 0, 0);
    const std::pair<int, bool> cases[] = {{-1, false}, {0, true}, {7, true}, {8, false}, {3600, false}};
    for (const auto& c : cases)
        EXPECT_EQ(c.second, RecordSchedule::IsInTickWindow(at + CTimeSpan(c.first), at)) << c.first;
}

} // namespace
