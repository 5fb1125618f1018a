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
#include "wizards/setup/UninstallScope.h"

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
        ApplyLanguageChoice();
        // The links of Install went to the test's programs folder.
        GetSetupContext().uninstallScope =
            MakeUninstallScope(GetProductSettings(), m_app, m_root.File(L"Desktop"), m_programs);
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
    ASSERT_EQ(10u, GetSetupContext().log.GetFileCount());
    EXPECT_EQ(0u, InstallWorker());
    EXPECT_TRUE(IsDone());

    for (const wchar_t* name : {L"Brisvane.exe", L"Setupkit.exe", L"readme.txt", L"data.swp", L"setupkit.dat",
                                L"docs\\guide.txt", L"docs"})
        EXPECT_FALSE(FileExists(m_app + L"\\" + name) || FolderExists(m_app + L"\\" + name)) << name;
    EXPECT_FALSE(FolderExists(m_programs + L"\\SetupTest"));
    EXPECT_FALSE(FolderExists(m_programs + L"\\SetupTest Online television"));
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

TEST_F(UninstallTest, LogLinesOutsideTheProductsPlacesAreSkipped)
{
    Install();
    // A damaged or changed log names the user's own files and folders.
    const std::wstring readOnly = m_root.File(L"read-only.txt");
    const std::vector<std::wstring> files = {
        readOnly,
        m_root.File(L"Program Folder Two\\sibling.txt"),  // the install folder's name is only its prefix
        m_app + L"\\..\\escaped.txt",
        m_programs + L"\\Other Product\\other.lnk",
        m_programs + L"\\SetupTest.lnk",  // no shortcut of the product straight in the menu
    };
    const std::vector<std::wstring> folders = {m_root.File(L"Empty Folder"), m_programs, m_root.Path()};
    for (const std::wstring& file : files) {
        const std::wstring folder = file.substr(0, file.find_last_of(L'\\'));
        ::CreateDirectoryW(folder.c_str(), nullptr);
        ASSERT_TRUE(WriteWholeFile(file, "keep")) << file;
    }
    ASSERT_TRUE(::SetFileAttributesW(readOnly.c_str(), FILE_ATTRIBUTE_READONLY));
    ASSERT_TRUE(::CreateDirectoryW(folders[0].c_str(), nullptr));
    UninstallLog log;
    ASSERT_TRUE(log.Load(m_app + L"\\setupkit.dat"));
    for (const std::wstring& file : files)
        log.AddFile(file);
    for (const std::wstring& folder : folders)
        log.AddDir(folder);
    ASSERT_TRUE(log.Save(m_app + L"\\setupkit.dat"));

    LoadUninstall();
    InstallWorker();

    for (const wchar_t* name : {L"Brisvane.exe", L"readme.txt", L"setupkit.dat", L"docs"})
        EXPECT_FALSE(FileExists(m_app + L"\\" + name) || FolderExists(m_app + L"\\" + name)) << name;
    EXPECT_FALSE(FolderExists(m_app));
    EXPECT_FALSE(FolderExists(m_programs + L"\\SetupTest"));
    for (const std::wstring& file : files)
        EXPECT_EQ("keep", ReadWholeFile(file)) << file;
    EXPECT_TRUE(::GetFileAttributesW(readOnly.c_str()) & FILE_ATTRIBUTE_READONLY);
    for (const std::wstring& folder : folders)
        EXPECT_TRUE(FolderExists(folder)) << folder;
    ::SetFileAttributesW(readOnly.c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST(UninstallScope, HoldsTheFoldersAndFilesItWasGiven)
{
    CUninstallScope scope;
    scope.AddFolder(L"C:\\Users\\Me\\App\\");
    scope.AddFile(L"C:\\Users\\Me\\Desktop\\App.lnk");
    scope.AddFolder(L"C:\\");  // a drive root would take in everything
    scope.AddFolder(L"");
    const struct {
        const wchar_t* path;
        bool inside;
    } cases[] = {
        {L"C:\\Users\\Me\\App", true},
        {L"c:\\users\\me\\app\\Sub\\File.txt", true},
        {L"C:\\Users\\Me\\App\\.\\x\\..\\y.txt", true},
        {L"C:/Users/Me/App/z.txt", true},
        {L"C:\\Users\\Me\\App\\..\\Documents\\cv.doc", false},
        {L"C:\\Users\\Me\\AppData\\x.txt", false},
        {L"C:\\Users\\Me\\Ap", false},
        {L"C:\\Users\\Me\\Desktop\\app.LNK", true},
        {L"C:\\Users\\Me\\Desktop\\Other.lnk", false},
        {L"C:\\Users\\Me\\Desktop", false},
        {L"C:\\Windows\\win.ini", false},
        {L"", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.inside, scope.Contains(c.path)) << c.path;
}

TEST(UninstallLog, EachAddIsSavedWhileTheInstallRuns)
{
    TempFolder folder;
    const std::wstring path = folder.File(L"setupkit.dat");
    UninstallLog log;
    log.SetRootName("Kestrivo Setup Uninstall Log");
    log.SaveOnEveryAdd(path);
    log.AddDir(folder.Path());
    log.AddFile(folder.File(L"first.exe"));
    UninstallLog saved;
    ASSERT_TRUE(saved.Load(path));
    EXPECT_EQ(folder.Path(), saved.GetDir(0));
    EXPECT_EQ(folder.File(L"first.exe"), saved.GetFile(0));

    log.SaveOnEveryAdd(std::wstring());
    log.AddFile(folder.File(L"second.exe"));
    ASSERT_TRUE(saved.Load(path));
    EXPECT_EQ(1u, saved.GetFileCount());
}

namespace {

// A program file and a batch file name in a folder whose name cmd would
// misread: Cyrillic letters and "%".
struct SelfDeleteFiles {
    SelfDeleteFiles()
    {
        const std::wstring folder = root.File(L"Временная %PATH% 100%");
        ::CreateDirectoryW(folder.c_str(), nullptr);
        program = folder + L"\\kvu1A.exe";
        script = folder + L"\\kvu2B.bat";
        WriteWholeFile(program, "MZ");
    }

    TempFolder root;
    std::wstring program;
    std::wstring script;
};

} // namespace

TEST(SelfDelete, ScriptNamesOnlyTheFilesAndGivesUpAfterItsTries)
{
    EXPECT_EQ(L"@echo off\r\n"
              L"set tries=0\r\n"
              L":Repeat\r\n"
              L"del \"kvu1A.exe\"\r\n"
              L"if not exist \"kvu1A.exe\" goto Done\r\n"
              L"set /a tries+=1\r\n"
              L"if %tries% geq 60 goto Done\r\n"
              L"ping -n 2 127.0.0.1 >nul\r\n"
              L"goto Repeat\r\n"
              L":Done\r\n"
              L"del \"kvu2B.bat\"\r\n",
              MakeSelfDeleteScript(L"kvu1A.exe", L"kvu2B.bat", 60));
}

TEST(SelfDelete, RemovesTheProgramOnceItIsFreeAndThenItself)
{
    SelfDeleteFiles files;
    ASSERT_TRUE(FileExists(files.program));
    {
        // Still in use, as while the uninstall copy ends.
        HANDLE held = ::CreateFileW(files.program.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(INVALID_HANDLE_VALUE, held);
        ASSERT_TRUE(StartSelfDelete(files.program, files.script, SelfDeleteTries));
        ::Sleep(2500);
        EXPECT_TRUE(FileExists(files.program));
        EXPECT_TRUE(FileExists(files.script));  // it waits and tries again
        ::CloseHandle(held);
    }
    EXPECT_TRUE(WaitFor([&] { return !FileExists(files.program) && !FileExists(files.script); }, 30000));
}

TEST(SelfDelete, GivesUpOnAProgramItCannotDelete)
{
    SelfDeleteFiles files;
    ASSERT_TRUE(::SetFileAttributesW(files.program.c_str(), FILE_ATTRIBUTE_READONLY));
    ASSERT_TRUE(StartSelfDelete(files.program, files.script, 3));
    EXPECT_TRUE(WaitFor([&] { return !FileExists(files.script); }, 30000));
    EXPECT_TRUE(FileExists(files.program));
    ::SetFileAttributesW(files.program.c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST(SelfDelete, RefusesNamesCmdWouldMisread)
{
    TempFolder root;
    const std::wstring folder = root.Path();
    EXPECT_FALSE(StartSelfDelete(folder + L"\\Удалить.exe", folder + L"\\kvu5E.bat", 3));
    EXPECT_FALSE(StartSelfDelete(folder + L"\\a%PATH%.exe", folder + L"\\kvu5E.bat", 3));
    EXPECT_FALSE(StartSelfDelete(folder + L"\\kvu6F.exe", folder + L"\\100%.bat", 3));
    EXPECT_FALSE(FileExists(folder + L"\\kvu5E.bat"));
}
