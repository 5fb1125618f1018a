// The wizards' own path join and size text. This file sees only the wizards'
// utilities, as wizard code does.

#include "foundation/WizardUtilities.h"

#include <gtest/gtest.h>

#include <string>

struct WizardJoinCase {
    const wchar_t* first;
    const wchar_t* second;
    const wchar_t* expected;
};

class WizardJoinPathTest : public testing::TestWithParam<WizardJoinCase> {};

TEST_P(WizardJoinPathTest, ExactlyOneBackslashNothingCanonicalised)
{
    const WizardJoinCase& c = GetParam();
    EXPECT_EQ(c.expected, KV::JoinPath(c.first, c.second));
}

INSTANTIATE_TEST_SUITE_P(Table, WizardJoinPathTest, testing::Values(
    WizardJoinCase{L"C:\\a", L"", L"C:\\a"},
    WizardJoinCase{L"C:\\a\\", L"", L"C:\\a\\"},
    WizardJoinCase{L"C:\\a", L"b.txt", L"C:\\a\\b.txt"},
    WizardJoinCase{L"C:\\a\\", L"b.txt", L"C:\\a\\b.txt"},
    WizardJoinCase{L"C:\\a", L"\\b.txt", L"C:\\a\\b.txt"},
    WizardJoinCase{L"C:\\a\\", L"\\b.txt", L"C:\\a\\b.txt"},
    WizardJoinCase{L"C:\\a", L"..\\b", L"C:\\a\\..\\b"},
    WizardJoinCase{L"C:\\prog", L"Project\\", L"C:\\prog\\Project\\"},
    WizardJoinCase{L"C:\\prog\\Project\\", L"set.kvdt", L"C:\\prog\\Project\\set.kvdt"}));

TEST(WizardJoinPathLimitTest, NoLengthLimit)
{
    const std::wstring longName(300, L'x');
    EXPECT_EQ(L"C:\\" + longName, KV::JoinPath(L"C:", longName));
}

struct WizardSizeCase {
    uint64_t bytes;
    const wchar_t* expected;
};

class WizardFormatSizeTest : public testing::TestWithParam<WizardSizeCase> {};

TEST_P(WizardFormatSizeTest, LargestUnitExceededWithOneDecimal)
{
    auto units = [](const char* id) {
        const std::string unit = id;
        return unit == "kb" ? std::wstring(L"KB") : unit == "mb" ? std::wstring(L"MB") : std::wstring(L"GB");
    };
    const WizardSizeCase& c = GetParam();
    EXPECT_EQ(c.expected, KV::Wizard::FormatSize(c.bytes, units));
}

INSTANTIATE_TEST_SUITE_P(Table, WizardFormatSizeTest, testing::Values(
    WizardSizeCase{0, L"0.0 KB"},
    WizardSizeCase{1023, L"1.0 KB"},
    WizardSizeCase{0x100000, L"1024.0 KB"},
    WizardSizeCase{0x100001, L"1.0 MB"},
    WizardSizeCase{0x40000000, L"1024.0 MB"},
    WizardSizeCase{0x40000001, L"1.0 GB"},
    WizardSizeCase{0x100000000ull, L"4.0 GB"},
    WizardSizeCase{0x180000000ull, L"6.0 GB"}));

TEST(WizardFormatSizeUnitTest, MissingUnitTextLeavesTheNumber)
{
    EXPECT_EQ(L"2.0 ", KV::Wizard::FormatSize(2048, nullptr));
    EXPECT_EQ(L"2.0 ", KV::Wizard::FormatSize(2048, [](const char*) { return std::wstring(); }));
}
