// The player's utilities against the real platform: paths, shell folders,
// temporary names, versions, size texts, gradient fill and image decoding.

#include "foundation/Image.h"
#include "foundation/MemoryStream.h"
#include "foundation/Utilities.h"

#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>
#include <shlobj.h>
#include <shlwapi.h>

#include <atomic>
#include <set>
#include <string>
#include <thread>
#include <vector>

namespace {

std::wstring TempFolderPath()
{
    wchar_t buffer[MAX_PATH] = L"";
    GetTempPathW(MAX_PATH, buffer);
    return buffer;
}

std::wstring Upper(std::wstring text)
{
    CharUpperW(&text[0]);
    return text;
}

KV::MemoryStream StreamOf(const std::string& bytes)
{
    KV::MemoryStream stream;
    stream.Write(bytes.data(), static_cast<uint32_t>(bytes.size()));
    return stream;
}

std::wstring FixturePath(const wchar_t* name)
{
    return KV::GetProgramFile(std::wstring(L"fixtures\\") + name);
}

} // namespace

struct VersionCase {
    const wchar_t* first;
    const wchar_t* second;
    int expected;
};

class CompareVersionsTest : public testing::TestWithParam<VersionCase> {};

TEST_P(CompareVersionsTest, SignIsNewerMagnitudeIsFirstDifferingPart)
{
    const VersionCase& c = GetParam();
    EXPECT_EQ(c.expected, KV::CompareVersions(c.first, c.second)) << c.first << L" vs " << c.second;
}

INSTANTIATE_TEST_SUITE_P(Table, CompareVersionsTest, testing::Values(
    VersionCase{L"2.3.2", L"2.3.2", 0},
    VersionCase{L"2.4", L"2.3.9", 2},
    VersionCase{L"1.0", L"1.0.0.1", -4},
    VersionCase{L"10.0", L"9.9", 1},
    VersionCase{L"2.3.10", L"2.3.9", 3},
    VersionCase{L"1.2", L"1.2.0.0", 0},
    VersionCase{L"7a", L"7", 0},
    VersionCase{L"7a.1", L"7.0", 2},
    VersionCase{L"", L"0.0.0.0", 0},
    VersionCase{L"", L"0.0.0.1", -4},
    VersionCase{L"..1..2.", L"1.2", 0},
    VersionCase{L"-1", L"0", -1},
    VersionCase{L"1.2.3.4.9", L"1.2.3.4", 0}));

TEST(ParseVersionTest, FillsFourPartsWithZerosForMissingOrNonNumeric)
{
    int parts[KV::VersionPartCount] = {9, 9, 9, 9};
    EXPECT_TRUE(KV::ParseVersion(L"2010.08.11.10", parts));
    EXPECT_EQ(2010, parts[0]);
    EXPECT_EQ(8, parts[1]);
    EXPECT_EQ(11, parts[2]);
    EXPECT_EQ(10, parts[3]);

    EXPECT_TRUE(KV::ParseVersion(L"x.5", parts));
    EXPECT_EQ(0, parts[0]);
    EXPECT_EQ(5, parts[1]);
    EXPECT_EQ(0, parts[2]);
    EXPECT_EQ(0, parts[3]);

    EXPECT_TRUE(KV::ParseVersion(nullptr, parts));
    EXPECT_EQ(0, parts[1]);
}

struct SizeCase {
    uint64_t bytes;
    const wchar_t* expected;
};

class FormatSizeKbTest : public testing::TestWithParam<SizeCase> {};

TEST_P(FormatSizeKbTest, WholeKilobytesRoundedUpWithCommaGroups)
{
    const SizeCase& c = GetParam();
    EXPECT_EQ(c.expected, KV::FormatSizeKb(static_cast<uint32_t>(c.bytes), static_cast<uint32_t>(c.bytes >> 32)));
}

INSTANTIATE_TEST_SUITE_P(Table, FormatSizeKbTest, testing::Values(
    SizeCase{0, L"0 Kb"},
    SizeCase{1, L"1 Kb"},
    SizeCase{1024, L"1 Kb"},
    SizeCase{1025, L"2 Kb"},
    SizeCase{999ull * 1024, L"999 Kb"},
    SizeCase{1000ull * 1024, L"1,000 Kb"},
    SizeCase{1029120, L"1,005 Kb"},
    SizeCase{1073741824, L"1,048,576 Kb"},
    SizeCase{1000001ull * 1024, L"1,000,001 Kb"},
    SizeCase{1000100ull * 1024, L"1,000,100 Kb"},
    SizeCase{0x100000000ull, L"4,194,304 Kb"},
    SizeCase{0xFFFFFFFFFFFFFFFFull, L"18,014,398,509,481,984 Kb"}));

TEST(SmallHelpersTest, MakeUInt64IntToStringAndCodePageTexts)
{
    EXPECT_EQ(0x0000000100000002ull, KV::MakeUInt64(1, 2));
    EXPECT_EQ(0xFFFFFFFFull, KV::MakeUInt64(0, 0xFFFFFFFF));
    EXPECT_EQ("0", KV::IntToString(0));
    EXPECT_EQ("-42", KV::IntToString(-42));
    EXPECT_EQ("lang_12", "lang_" + KV::IntToString(12));
    EXPECT_EQ(L"menu_play", KV::AnsiToWide("menu_play"));
    EXPECT_EQ("menu_play", KV::WideToAnsi(L"menu_play"));
    EXPECT_EQ(L"", KV::AnsiToWide(""));
    EXPECT_EQ("", KV::WideToAnsi(L""));
}

struct JoinCase {
    const wchar_t* folder;
    const wchar_t* name;
    const wchar_t* expected;
};

class JoinPathTest : public testing::TestWithParam<JoinCase> {};

TEST_P(JoinPathTest, CombinesThroughTheShell)
{
    const JoinCase& c = GetParam();
    EXPECT_EQ(c.expected, KV::JoinPath(c.folder, c.name));
}

INSTANTIATE_TEST_SUITE_P(Table, JoinPathTest, testing::Values(
    JoinCase{L"C:\\a", L"b.txt", L"C:\\a\\b.txt"},
    JoinCase{L"C:\\a\\", L"b.txt", L"C:\\a\\b.txt"},
    JoinCase{L"C:\\a\\b", L"..\\c", L"C:\\a\\c"},
    JoinCase{L"C:\\a", L".\\b", L"C:\\a\\b"},
    JoinCase{L"C:\\a", L"D:\\x\\y", L"D:\\x\\y"}));

TEST(JoinPathLimitTest, ResultTooLongIsEmpty)
{
    EXPECT_EQ(L"", KV::JoinPath(L"C:\\" + std::wstring(200, L'a'), std::wstring(100, L'b')));
}

TEST(ProgramLocationTest, FolderHasNoTrailingBackslashAndHoldsTheProgram)
{
    const std::wstring& path = KV::GetProgramPath();
    const std::wstring& folder = KV::GetProgramFolder();
    ASSERT_FALSE(path.empty());
    ASSERT_FALSE(folder.empty());
    EXPECT_NE(L'\\', folder.back());
    EXPECT_EQ(L"UTILITIES_TESTS.EXE", Upper(PathFindFileNameW(path.c_str())));
    EXPECT_EQ(Upper(path), Upper(folder + L"\\utilities_tests.exe"));
    EXPECT_EQ(&path, &KV::GetProgramPath());
    EXPECT_EQ(folder + L"\\Channels.brsc", KV::GetProgramFile(L"Channels.brsc"));
}

TEST(ShellFolderTest, DocumentsFolderExistsMissingSubFolderGivesEmpty)
{
    const std::wstring documents = KV::GetShellFolder(CSIDL_PERSONAL, L"");
    ASSERT_FALSE(documents.empty());
    EXPECT_TRUE(PathIsDirectoryW(documents.c_str()));
    EXPECT_EQ(documents, KV::GetShellFolder(CSIDL_PERSONAL, nullptr));
    EXPECT_EQ(L"", KV::GetShellFolder(CSIDL_PERSONAL, L"bvtest-no-such-folder"));
}

TEST(ShellFolderTest, CreateFlagMakesTheSubFolder)
{
    // Application data, not documents: Wine turns a created sub-folder of the
    // documents folder into a link to the user's home.
    const std::wstring appData = KV::GetShellFolder(CSIDL_APPDATA, L"");
    ASSERT_FALSE(appData.empty());
    const std::wstring sub = L"bvtest-shell-" + std::to_wstring(GetCurrentProcessId()) + L"-"
                             + std::to_wstring(GetTickCount());
    EXPECT_EQ(L"", KV::GetShellFolder(CSIDL_APPDATA, sub.c_str()));

    const std::wstring created = KV::GetShellFolder(CSIDL_APPDATA | CSIDL_FLAG_CREATE, sub.c_str());
    EXPECT_EQ(appData + L"\\" + sub, created);
    EXPECT_TRUE(PathIsDirectoryW(created.c_str()));
    EXPECT_TRUE(RemoveDirectoryW(created.c_str()));
}

TEST(MakeTempFileNameTest, NumberGivenFormsTheNameWithoutCreatingAFile)
{
    const std::wstring temp = TempFolderPath();
    const std::wstring withExtension = KV::MakeTempFileName(L"kvupdate", 0x1A2B, L"exe");
    EXPECT_EQ(Upper(temp + L"kvu1A2B.exe"), Upper(withExtension));
    EXPECT_FALSE(FileExists(withExtension));
    EXPECT_FALSE(FileExists(temp + L"kvu1A2B.TMP"));

    const std::wstring kept = KV::MakeTempFileName(L"kvu", 0x1A2B, nullptr);
    EXPECT_EQ(Upper(temp + L"kvu1A2B.TMP"), Upper(kept));
}

TEST(MakeTempFileNameTest, RandomNumbersGiveDistinctNamesInTheTemporaryFolder)
{
    const std::wstring temp = TempFolderPath();
    const std::wstring first = KV::MakeTempFileName(L"kvu", 0, L"exe");
    const std::wstring second = KV::MakeTempFileName(L"kvu", 0, L"exe");
    EXPECT_NE(Upper(first), Upper(second));
    for (const std::wstring& name : {first, second}) {
        EXPECT_EQ(Upper(temp), Upper(name.substr(0, temp.size())));
        EXPECT_EQ(L".exe", name.substr(name.size() - 4));
        // The chosen name is claimed: the file is there, empty.
        EXPECT_TRUE(FileExists(name));
        DeleteFileW(name.c_str());
    }
}

// Names taken at once by several askers; each name must be unique and its
// file claimed.
void ExpectUniqueAndClaimed(const std::vector<std::wstring>& names, size_t expected)
{
    std::set<std::wstring> distinct;
    for (const std::wstring& name : names) {
        EXPECT_FALSE(name.empty());
        EXPECT_TRUE(FileExists(name)) << name;
        distinct.insert(Upper(name));
    }
    EXPECT_EQ(names.size(), expected);
    EXPECT_EQ(distinct.size(), names.size());
    for (const std::wstring& name : names)
        DeleteFileW(name.c_str());
}

TEST(MakeTempFileNameTest, ThreadsAskingAtOnceNeverGetTheSameName)
{
    constexpr int ThreadCount = 8;
    constexpr int NamesEach = 50;
    std::vector<std::vector<std::wstring>> perThread(ThreadCount);
    std::atomic<int> ready{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < ThreadCount; ++t) {
        threads.emplace_back([&, t] {
            ++ready;
            while (ready < ThreadCount)
                std::this_thread::yield();
            for (int i = 0; i < NamesEach; ++i)
                perThread[t].push_back(KV::MakeTempFileName(L"kvu", 0, nullptr));
        });
    }
    for (std::thread& thread : threads)
        thread.join();
    std::vector<std::wstring> all;
    for (const auto& names : perThread)
        all.insert(all.end(), names.begin(), names.end());
    ExpectUniqueAndClaimed(all, ThreadCount * NamesEach);
}

TEST(MakeTempFileNameTest, ProcessesAskingAtOnceNeverGetTheSameName)
{
    constexpr int NamesEach = 100;
    TempFolder outputs;
    const std::wstring eventName = L"BrisvaneTempNames" + std::to_wstring(GetCurrentProcessId());
    HANDLE start = CreateEventW(nullptr, TRUE, FALSE, eventName.c_str());
    ASSERT_NE(nullptr, start);
    const std::wstring maker = KV::GetProgramFile(L"temp_name_maker.exe");
    std::vector<HANDLE> processes;
    std::vector<std::wstring> files;
    for (int p = 0; p < 2; ++p) {
        files.push_back(outputs.File(L"names" + std::to_wstring(p) + L".txt"));
        std::wstring line = L"\"" + maker + L"\" " + std::to_wstring(NamesEach) + L" \"" + files.back() + L"\" " +
                            eventName;
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION info{};
        ASSERT_TRUE(CreateProcessW(maker.c_str(), &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                                   &info));
        CloseHandle(info.hThread);
        processes.push_back(info.hProcess);
    }
    // Both processes start asking on the same signal, and this one too.
    SetEvent(start);
    std::vector<std::wstring> all;
    for (int i = 0; i < NamesEach; ++i)
        all.push_back(KV::MakeTempFileName(L"kvu", 0, L"tmp"));
    for (HANDLE process : processes) {
        EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(process, 60000));
        DWORD code = 1;
        GetExitCodeProcess(process, &code);
        EXPECT_EQ(0u, code);
        CloseHandle(process);
    }
    CloseHandle(start);
    for (const std::wstring& file : files) {
        HANDLE handle = CreateFileW(file.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(INVALID_HANDLE_VALUE, handle);
        std::wstring text(GetFileSize(handle, nullptr) / sizeof(wchar_t), L'\0');
        DWORD read = 0;
        ReadFile(handle, &text[0], static_cast<DWORD>(text.size() * sizeof(wchar_t)), &read, nullptr);
        CloseHandle(handle);
        for (size_t at = 0, end; (end = text.find(L'\n', at)) != std::wstring::npos; at = end + 1)
            all.push_back(text.substr(at, end - at));
    }
    ExpectUniqueAndClaimed(all, 3 * NamesEach);
}

TEST(FillGradientVTest, RunsFromTopColourToBottomColour)
{
    CImage target;
    ASSERT_TRUE(target.Create(4, 101, 24));
    {
        CImageDC dc(target);
        ASSERT_NE(nullptr, static_cast<HDC>(dc));
        KV::FillGradientV(dc, RGB(255, 0, 0), RGB(0, 0, 255), RECT{0, 0, 4, 101});
    }
    const COLORREF top = target.GetPixel(1, 0);
    const COLORREF middle = target.GetPixel(1, 50);
    const COLORREF bottom = target.GetPixel(1, 100);
    EXPECT_GE(GetRValue(top), 250);
    EXPECT_LE(GetBValue(top), 5);
    EXPECT_LE(GetRValue(bottom), 5);
    EXPECT_GE(GetBValue(bottom), 250);
    EXPECT_NEAR(128, GetRValue(middle), 10);
    EXPECT_NEAR(128, GetBValue(middle), 10);
    EXPECT_EQ(0, GetGValue(middle));
}

TEST(ImageFromStreamTest, NullOrUndecodableGivesNull)
{
    EXPECT_EQ(nullptr, KV::ImageFromStream(nullptr));
    KV::MemoryStream empty;
    EXPECT_EQ(nullptr, KV::ImageFromStream(&empty));
    KV::MemoryStream garbage = StreamOf("this is not a picture at all");
    EXPECT_EQ(nullptr, KV::ImageFromStream(&garbage));
}

TEST(ImageFromStreamTest, AlphaPngBecomes32BitsNotPremultiplied)
{
    const std::string png = ReadWholeFile(FixturePath(L"rgba.png"));
    ASSERT_FALSE(png.empty());
    KV::MemoryStream stream = StreamOf(png);
    std::unique_ptr<CImage> image = KV::ImageFromStream(&stream);
    ASSERT_NE(nullptr, image);
    EXPECT_EQ(32, image->GetBPP());
    EXPECT_TRUE(image->HasAlphaChannel());
    EXPECT_EQ(2, image->GetWidth());
    EXPECT_EQ(2, image->GetHeight());
    const uint8_t* pixel = image->GetPixelAddress(0, 0);
    EXPECT_EQ(50, pixel[0]);
    EXPECT_EQ(100, pixel[1]);
    EXPECT_EQ(200, pixel[2]);
    EXPECT_EQ(128, pixel[3]);
    EXPECT_EQ(0, image->GetPixelAddress(1, 0)[3]);
    EXPECT_EQ(RGB(40, 80, 120), image->GetPixel(0, 1));
}

TEST(ImageFromStreamTest, RgbPngBecomes24Bits)
{
    const std::string png = ReadWholeFile(FixturePath(L"rgb.png"));
    ASSERT_FALSE(png.empty());
    KV::MemoryStream stream = StreamOf(png);
    std::unique_ptr<CImage> image = KV::ImageFromStream(&stream);
    ASSERT_NE(nullptr, image);
    EXPECT_EQ(24, image->GetBPP());
    EXPECT_FALSE(image->HasAlphaChannel());
    EXPECT_EQ(3, image->GetWidth());
    EXPECT_EQ(12, image->GetPitch());
    EXPECT_EQ(RGB(255, 0, 0), image->GetPixel(0, 0));
    EXPECT_EQ(RGB(0, 0, 255), image->GetPixel(2, 0));
    EXPECT_EQ(RGB(70, 80, 90), image->GetPixel(2, 1));
}
