// Start-up pieces that run inside the program: the command-line rule, the
// instance count and the pending updates in the product key.

#include "foundation/Utilities.h"
#include "player/app/Settings.h"
#include "player/app/StartUp.h"
#include "tests/player/PlayerTestSupport.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>

namespace PlayerTest {
namespace {

TEST(StartUp, OnlyTheWholeCommandLineRunLetsASecondCopyStart)
{
    EXPECT_TRUE(IsRunCommandLine(L"run"));
    for (const wchar_t* line : {L"Run", L"RUN", L"run ", L" run", L"run x", L"", L"-run"})
        EXPECT_FALSE(IsRunCommandLine(line)) << line;
    EXPECT_FALSE(IsRunCommandLine(nullptr));
}

TEST(StartUp, CountsThisProgramOnce)
{
    EXPECT_EQ(GetInstanceCount(), 1);
}

class PendingUpdates : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, CSettings::GetProductKeyPath(), 0, nullptr, 0,
                                    KEY_READ | KEY_WRITE, nullptr, &m_key, nullptr),
                  ERROR_SUCCESS);
        for (const wchar_t* name : {L"CUpdate", L"CUpdateVersion", L"Update", L"UpdateVersion"})
            ::RegDeleteValueW(m_key, name);
        m_hadVersion = Read(L"CVersion", m_savedVersion);
        m_updates = KV::GetProgramFile(L"player_fixtures\\Updates");
        ::CreateDirectoryW(m_updates.c_str(), nullptr);
        m_catalogue = KV::GetProgramFile(L"Channels.brsc");
        WriteText(m_catalogue, "old catalogue");
    }
    void TearDown() override
    {
        for (const wchar_t* name : {L"CUpdate", L"CUpdateVersion", L"Update", L"UpdateVersion"})
            ::RegDeleteValueW(m_key, name);
        if (m_hadVersion)
            Write(L"CVersion", m_savedVersion);
        else
            ::RegDeleteValueW(m_key, L"CVersion");
        ::RegCloseKey(m_key);
        ::DeleteFileW(m_catalogue.c_str());
    }

    void Write(const wchar_t* name, const std::wstring& value)
    {
        ::RegSetValueExW(m_key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                         static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    }
    bool Read(const wchar_t* name, std::wstring& value)
    {
        wchar_t buffer[1100] = {};
        DWORD bytes = sizeof(buffer) - sizeof(wchar_t);
        if (::RegQueryValueExW(m_key, name, nullptr, nullptr, reinterpret_cast<BYTE*>(buffer), &bytes) != ERROR_SUCCESS)
            return false;
        value = buffer;
        return true;
    }
    bool Has(const wchar_t* name)
    {
        std::wstring ignored;
        return Read(name, ignored);
    }
    static void WriteText(const std::wstring& path, const std::string& text)
    {
        HANDLE file = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        DWORD written = 0;
        ::WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
        ::CloseHandle(file);
    }
    static std::string ReadText(const std::wstring& path)
    {
        HANDLE file = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
        if (file == INVALID_HANDLE_VALUE)
            return std::string();
        char buffer[4096] = {};
        DWORD read = 0;
        ::ReadFile(file, buffer, sizeof(buffer), &read, nullptr);
        ::CloseHandle(file);
        return std::string(buffer, read);
    }
    static bool Exists(const std::wstring& path) { return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

    HKEY m_key = nullptr;
    bool m_hadVersion = false;
    std::wstring m_savedVersion;
    std::wstring m_updates;
    std::wstring m_catalogue;
};

TEST_F(PendingUpdates, MovesADownloadedCatalogueIntoPlaceAndRecordsItsVersion)
{
    const std::wstring downloaded = m_updates + L"\\Channels.brsc";
    WriteText(downloaded, "new catalogue");
    Write(L"CUpdate", downloaded);
    Write(L"CUpdateVersion", L"7.1");
    EXPECT_FALSE(ApplyPendingUpdates());
    EXPECT_EQ(ReadText(m_catalogue), "new catalogue");
    EXPECT_FALSE(Exists(downloaded));
    std::wstring version;
    EXPECT_TRUE(Read(L"CVersion", version));
    EXPECT_EQ(version, L"7.1");
    EXPECT_FALSE(Has(L"CUpdate"));
    EXPECT_FALSE(Has(L"CUpdateVersion"));
}

TEST_F(PendingUpdates, LeavesTheVersionAloneWithoutOneAndDropsAMissingFile)
{
    Write(L"CVersion", L"3");
    Write(L"CUpdate", m_updates + L"\\gone.brsc");
    EXPECT_FALSE(ApplyPendingUpdates());
    EXPECT_EQ(ReadText(m_catalogue), "old catalogue");
    std::wstring version;
    EXPECT_TRUE(Read(L"CVersion", version));
    EXPECT_EQ(version, L"3");
    EXPECT_FALSE(Has(L"CUpdate"));
}

TEST_F(PendingUpdates, MovesTheCatalogueFirstThenStartsTheSetupInUpdateMode)
{
    const std::wstring setup = m_updates + L"\\Brisvane Setup.exe";
    const std::wstring log = setup + L".log";
    ::DeleteFileW(log.c_str());
    ASSERT_TRUE(::CopyFileW(KV::GetProgramFile(L"player_tools\\fake_setup.exe").c_str(), setup.c_str(), FALSE));
    const std::wstring downloaded = m_updates + L"\\Channels.brsc";
    WriteText(downloaded, "newer catalogue");
    Write(L"CUpdate", downloaded);
    Write(L"Update", setup);
    Write(L"UpdateVersion", L"2.4");

    EXPECT_TRUE(ApplyPendingUpdates());
    EXPECT_EQ(ReadText(m_catalogue), "newer catalogue");
    EXPECT_FALSE(Has(L"Update"));
    EXPECT_FALSE(Has(L"UpdateVersion"));
    ASSERT_TRUE(PumpUntil([&] { return Exists(log); }, 20000));
    const std::string bytes = ReadText(log);
    const std::wstring text(reinterpret_cast<const wchar_t*>(bytes.data()), bytes.size() / sizeof(wchar_t));
    EXPECT_NE(text.find(L"Brisvane Setup.exe\" update\n"), std::wstring::npos) << text;
    EXPECT_NE(text.find(L"\n" + m_updates + L"\n"), std::wstring::npos) << text;
    ::DeleteFileW(log.c_str());
    ::DeleteFileW(setup.c_str());
}

}  // namespace
}  // namespace PlayerTest
