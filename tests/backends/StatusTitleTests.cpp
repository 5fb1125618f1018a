// The title put into the Media Player's status text.

#include "player/playback/StatusTitle.h"

#include <gtest/gtest.h>

TEST(StatusTitle, ReplacesOnlyTheFirstQuotedPart)
{
    struct Case {
        const wchar_t* text;
        const wchar_t* title;
        const wchar_t* expected;
    };
    const Case cases[] = {
        // double quotes twice: only the first pair
        {L"Opening \"mms://a/b\" from \"server\"", L"Radio One", L"Opening \"Radio One\" from \"server\""},
        // an apostrophe before the double quotes stays; the double quotes win
        {L"Can't open \"mms://a/b\"", L"Radio One", L"Can't open \"Radio One\""},
        // one double quote only: unchanged, single quotes not tried
        {L"Opening \"mms://a/b 'x'", L"Radio One", L"Opening \"mms://a/b 'x'"},
        // no double quote: single quotes
        {L"Connecting to 'mms://a/b'...", L"Radio One", L"Connecting to 'Radio One'..."},
        // one apostrophe only
        {L"Can't connect", L"Radio One", L"Can't connect"},
        // empty title: unchanged
        {L"Opening \"mms://a/b\"", L"", L"Opening \"mms://a/b\""},
        // an empty quoted part is replaced too
        {L"Buffering \"\" 40%", L"TV", L"Buffering \"TV\" 40%"},
        {L"", L"TV", L""},
        {L"Ready", L"TV", L"Ready"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ReplaceQuotedTitle(c.text, c.title), c.expected) << c.text;
}
