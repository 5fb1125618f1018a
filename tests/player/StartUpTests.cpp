// Start-up pieces that run inside the program: the command-line rule, the
// instance count and the pending updates in the product key.

#include "foundation/Utilities.h"
#include "player/app/Settings.h"
#include "player/app/StartUp.h"
#include "foundation/DataKey.h"
#include "tests/player/PlayerTestSupport.h"
#include "tests/support/UpdateFileBytes.h"

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
        m_updates = KV::GetProgramFile(L"Updates");
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
        std::string bytes(::GetFileSize(file, nullptr), '\0');
        DWORD read = 0;
        ::ReadFile(file, &bytes[0], static_cast<DWORD>(bytes.size()), &read, nullptr);
        ::CloseHandle(file);
        bytes.resize(read);
        return bytes;
    }
    static bool Exists(const std::wstring& path) { return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }
    // The stand-in setup as a setup package of version.
    static void WritePackage(const std::wstring& path, const std::wstring& version)
    {
        WriteText(path, MakeSetupPackageBytes(ReadText(KV::GetProgramFile(L"player_tools\\fake_setup.exe")), version));
    }

    HKEY m_key = nullptr;
    bool m_hadVersion = false;
    std::wstring m_savedVersion;
    std::wstring m_updates;
    std::wstring m_catalogue;
};

TEST_F(PendingUpdates, MovesADownloadedCatalogueIntoPlaceAndRecordsItsVersion)
{
    const std::wstring downloaded = m_updates + L"\\Channels.brsc";
    WriteText(downloaded, MakeCatalogueBytes("new catalogue"));
    Write(L"CUpdate", downloaded);
    Write(L"CUpdateVersion", L"7.1");
    EXPECT_FALSE(ApplyPendingUpdates());
    EXPECT_EQ(ReadText(m_catalogue), MakeCatalogueBytes("new catalogue"));
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
    WritePackage(setup, L"2.4");
    const std::wstring downloaded = m_updates + L"\\Channels.brsc";
    WriteText(downloaded, MakeCatalogueBytes("newer catalogue"));
    Write(L"CUpdate", downloaded);
    Write(L"Update", setup);
    Write(L"UpdateVersion", L"2.4");

    EXPECT_TRUE(ApplyPendingUpdates());
    EXPECT_EQ(ReadText(m_catalogue), MakeCatalogueBytes("newer catalogue"));
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

// A pending catalogue that is not put in place leaves the catalogue in use
// and its version as they were, and is dropped so that it is fetched again.
TEST_F(PendingUpdates, CatalogueThatIsDamagedElsewhereOrCannotBeMovedChangesNothing)
{
    const std::wstring downloaded = m_updates + L"\\Channels.brsc";
    const std::wstring elsewhere = KV::GetProgramFile(L"Channels.elsewhere.brsc");
    struct Case {
        const char* what;
        std::wstring pending;
        std::string content;
        bool lockCatalogue;
    };
    const Case cases[] = {
        {"damaged", downloaded, "<html>not a catalogue</html>", false},
        {"without channels", downloaded, TreeBytes(KV::DataKey("channels")), false},
        {"outside the Updates folder", elsewhere, MakeCatalogueBytes("elsewhere"), false},
        {"in use catalogue locked", downloaded, MakeCatalogueBytes("locked out"), true},
    };
    for (const Case& c : cases) {
        WriteText(m_catalogue, "old catalogue");
        Write(L"CVersion", L"3");
        WriteText(c.pending, c.content);
        Write(L"CUpdate", c.pending);
        Write(L"CUpdateVersion", L"7.1");
        HANDLE lock = c.lockCatalogue ? ::CreateFileW(m_catalogue.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0,
                                                      nullptr)
                                      : INVALID_HANDLE_VALUE;
        EXPECT_FALSE(ApplyPendingUpdates()) << c.what;
        if (lock != INVALID_HANDLE_VALUE)
            ::CloseHandle(lock);
        EXPECT_EQ(ReadText(m_catalogue), "old catalogue") << c.what;
        std::wstring version;
        EXPECT_TRUE(Read(L"CVersion", version)) << c.what;
        EXPECT_EQ(version, L"3") << c.what;
        EXPECT_FALSE(Has(L"CUpdate")) << c.what;
        EXPECT_FALSE(Has(L"CUpdateVersion")) << c.what;
        ::DeleteFileW(c.pending.c_str());
    }
}

// Only a setup package of the recorded version lying in the Updates folder
// is run; anything else is dropped and the player starts normally.
TEST_F(PendingUpdates, SetupThatIsNoPackageOfTheVersionOrLiesElsewhereIsNotRun)
{
    const std::wstring inUpdates = m_updates + L"\\Brisvane Setup.exe";
    const std::wstring elsewhere = KV::GetProgramFile(L"Brisvane Setup.exe");
    const std::string plain = ReadText(KV::GetProgramFile(L"player_tools\\fake_setup.exe"));
    struct Case {
        const char* what;
        std::wstring path;
        std::string content;
        const wchar_t* version;
    };
    const Case cases[] = {
        {"a plain executable", inUpdates, plain, L"2.4"},
        {"a saved HTML page", inUpdates, "<html><body>setup</body></html>", L"2.4"},
        {"a package of another version", inUpdates, MakeSetupPackageBytes(plain, L"2.3"), L"2.4"},
        {"a package without a recorded version", inUpdates, MakeSetupPackageBytes(plain, L"2.4"), nullptr},
        {"a truncated package", inUpdates, MakeSetupPackageBytes(plain, L"2.4").substr(0, plain.size() + 40), L"2.4"},
        {"a package outside the Updates folder", elsewhere, MakeSetupPackageBytes(plain, L"2.4"), L"2.4"},
        {"a package reached through the parent folder", m_updates + L"\\..\\Brisvane Setup.exe",
         MakeSetupPackageBytes(plain, L"2.4"), L"2.4"},
        {"a package that is not an .exe", m_updates + L"\\Brisvane Setup.bat", MakeSetupPackageBytes(plain, L"2.4"),
         L"2.4"},
    };
    for (const Case& c : cases) {
        const std::wstring log = c.path + L".log";
        ::DeleteFileW(log.c_str());
        WriteText(c.path, c.content);
        Write(L"Update", c.path);
        if (c.version)
            Write(L"UpdateVersion", c.version);
        EXPECT_FALSE(ApplyPendingUpdates()) << c.what;
        EXPECT_FALSE(Has(L"Update")) << c.what;
        EXPECT_FALSE(Has(L"UpdateVersion")) << c.what;
        ::DeleteFileW(c.path.c_str());
    }
    // Nothing of it ran (the stand-in leaves its log when it does).
    ::Sleep(1000);
    EXPECT_FALSE(Exists(inUpdates + L".log"));
    EXPECT_FALSE(Exists(elsewhere + L".log"));
}

}  // namespace
}  // namespace PlayerTest
