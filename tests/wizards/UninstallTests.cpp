// The uninstall: what the log lists and the product's keys go, what the
// player wrote itself stays; and the batch file that removes the copy.

#include "WizardTestSupport.h"

#include "foundation/DataKey.h"
#include "wizards/common/ProductSettings.h"
#include "wizards/setup/Components.h"
#include "wizards/setup/InstallWorker.h"
#include "wizards/setup/SelfDelete.h"
#include "wizards/setup/SetupContext.h"
#include "wizards/setup/SetupData.h"

#include <gtest/gtest.h>

namespace {

class UninstallTest : public testing::Test {
protected:
    void SetUp() override
    {
        DeleteTestKeys();
        m_app = m_root.File(L"Program Folder");
        m_programs = m_root.File(L"Programs");
        ::CreateDirectoryW(m_programs.c_str(), nullptr);
    }
    void TearDown() override
    {
        ResetWizardState();
        DeleteTestKeys();
    }

    void Install()
    {
        LoadFixturePackage(L"TestSetup.exe");
        UseInstallFolder(m_app);
        ComponentList& components = GetComponentList();
        components.clear();
        components.push_back(std::make_unique<CProgramsComponent>(*GetProductSettings().GetKey("cp"), m_programs));
        InstallWorker();
    }
    // The temporary uninstall copy's start, for the install folder.
    void LoadUninstall()
    {
        ResetWizardState();
        GetSetupContext().uninstall = true;
        SetUninstallFolder(m_app);
        LoadSetupData(FixturePath(L"TestUninstaller.exe"));
    }

    TempFolder m_root;
    std::wstring m_app;
    std::wstring m_programs;
};

} // namespace

TEST_F(UninstallTest, RemovesWhatTheLogListsAndTheKeysButNotThePlayersFiles)
{
    Install();
    ASSERT_TRUE(FileExists(m_app + L"\\setupkit.dat"));
    ASSERT_TRUE(KeyExists(TestProductKey));
    // What the player writes itself.
    ASSERT_TRUE(WriteWholeFile(m_app + L"\\Settings.cfg", "settings"));
    ASSERT_TRUE(::CreateDirectoryW((m_app + L"\\Records").c_str(), nullptr));
    ASSERT_TRUE(WriteWholeFile(m_app + L"\\Records\\show.asf", "recording"));
    // A read-only listed file goes as well.
    ::SetFileAttributesW((m_app + L"\\readme.txt").c_str(), FILE_ATTRIBUTE_READONLY);

    LoadUninstall();
    ASSERT_EQ(9u, GetSetupContext().log.GetFileCount());
    EXPECT_EQ(0u, InstallWorker());
    EXPECT_TRUE(IsDone());

    for (const wchar_t* name : {L"Brisvane.exe", L"Setupkit.exe", L"readme.txt", L"data.swp", L"setupkit.dat",
                                L"docs\\guide.txt", L"docs"})
        EXPECT_FALSE(FileExists(m_app + L"\\" + name) || FolderExists(m_app + L"\\" + name)) << name;
    EXPECT_FALSE(FolderExists(m_programs + L"\\SetupTest"));
    EXPECT_FALSE(KeyExists(TestProductKey));
    EXPECT_FALSE(KeyExists(TestUninstallKey));

    EXPECT_EQ("settings", ReadWholeFile(m_app + L"\\Settings.cfg"));
    EXPECT_EQ("recording", ReadWholeFile(m_app + L"\\Records\\show.asf"));
    EXPECT_TRUE(FolderExists(m_app));  // not empty, so it stays
}

TEST_F(UninstallTest, WithoutALogOnlyTheKeysGo)
{
    ASSERT_TRUE(WriteRegString(TestProductKey, L"Version", L"9.1.2"));
    ASSERT_TRUE(WriteRegString(TestUninstallKey, L"DisplayName", L"x"));
    ASSERT_TRUE(::CreateDirectoryW(m_app.c_str(), nullptr));
    ASSERT_TRUE(WriteWholeFile(m_app + L"\\Brisvane.exe", "MZ"));
    LoadUninstall();
    EXPECT_EQ(0u, GetSetupContext().log.GetFileCount());
    InstallWorker();
    EXPECT_TRUE(IsDone());
    EXPECT_TRUE(FileExists(m_app + L"\\Brisvane.exe"));
    EXPECT_FALSE(KeyExists(TestProductKey));
    EXPECT_FALSE(KeyExists(TestUninstallKey));
}

TEST(SelfDelete, ScriptQuotesItsPathsAndEndsWithoutALineBreak)
{
    EXPECT_EQ(L":Repeat\r\ndel \"C:\\Temp Dir\\kvu1.exe\"\r\nif exist \"C:\\Temp Dir\\kvu1.exe\" goto Repeat\r\n"
              L"del \"C:\\Temp Dir\\kvu2.bat\"",
              MakeSelfDeleteScript(L"C:\\Temp Dir\\kvu1.exe", L"C:\\Temp Dir\\kvu2.bat"));
}

TEST(SelfDelete, ScriptRemovesTheProgramAndItself)
{
    TempFolder folder;
    const std::wstring program = folder.File(L"uninstall copy.exe");
    const std::wstring script = folder.File(L"remove me.bat");
    ASSERT_TRUE(WriteWholeFile(program, "MZ"));
    std::wstring text = MakeSelfDeleteScript(program, script);
    ASSERT_TRUE(WriteWholeFile(script, std::string(text.begin(), text.end())));

    std::wstring command = L"cmd.exe /c \"" + script + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_HIDE;
    PROCESS_INFORMATION process{};
    // Started elsewhere: a working folder inside the test's folder would
    // keep it from being removed afterwards.
    ASSERT_TRUE(::CreateProcessW(nullptr, &command[0], nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr,
                                 &startup, &process));
    const DWORD waited = ::WaitForSingleObject(process.hProcess, 60000);
    if (waited != WAIT_OBJECT_0)
        ::TerminateProcess(process.hProcess, 1);
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    ASSERT_EQ(WAIT_OBJECT_0, waited);
    EXPECT_FALSE(FileExists(program));
    EXPECT_FALSE(FileExists(script));
}
