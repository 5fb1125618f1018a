// The uninstall: what the log lists and the product's keys go, what the
// player wrote itself stays; and the batch file that removes the copy.

#include "WizardTestSupport.h"

#include "foundation/DataKey.h"
#include "tests/support/HostPath.h"
#include "wizards/common/ProductSettings.h"
#include "wizards/setup/Components.h"
#include "wizards/setup/InstallWorker.h"
#include "wizards/setup/SelfDelete.h"
#include "wizards/setup/SetupContext.h"
#include "wizards/setup/SetupData.h"
#include "wizards/setup/UninstallScope.h"

#include <gtest/gtest.h>

#include <winioctl.h>

#include <cstring>
#include <vector>

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

namespace {

// A junction made as Windows makes one: a mount-point reparse record set on
// an empty folder.
bool MakeJunction(const std::wstring& link, const std::wstring& target)
{
    if (!::CreateDirectoryW(link.c_str(), nullptr))
        return false;
    HANDLE folder = ::CreateFileW(link.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                  FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (folder == INVALID_HANDLE_VALUE)
        return false;
    // Mount-point record: tag, data length, reserved, then the substitute
    // name ("\??\" + target) and an empty print name, each terminated.
    const std::wstring substitute = L"\\??\\" + target;
    const WORD substituteBytes = static_cast<WORD>(substitute.size() * sizeof(wchar_t));
    std::vector<BYTE> record(8 + 8 + substituteBytes + 2 * sizeof(wchar_t), 0);
    const auto put = [&record](size_t at, const void* data, size_t size) { std::memcpy(&record[at], data, size); };
    const DWORD tag = IO_REPARSE_TAG_MOUNT_POINT;
    const WORD dataLength = static_cast<WORD>(record.size() - 8);
    const WORD printOffset = static_cast<WORD>(substituteBytes + sizeof(wchar_t));
    const WORD zero = 0;
    put(0, &tag, 4);
    put(4, &dataLength, 2);
    put(8, &zero, 2);  // substitute name offset
    put(10, &substituteBytes, 2);
    put(12, &printOffset, 2);
    put(14, &zero, 2);  // print name length
    put(16, substitute.c_str(), substituteBytes);
    DWORD returned = 0;
    const BOOL set = ::DeviceIoControl(folder, FSCTL_SET_REPARSE_POINT, record.data(),
                                       static_cast<DWORD>(record.size()), nullptr, 0, &returned, nullptr);
    ::CloseHandle(folder);
    return set != FALSE;
}

// Wine makes neither kind of link itself, but shows a symbolic link of the
// host's file system as a reparse point and follows it like Windows follows
// a link: such a link is made by the host's ln, which Wine can start.
bool MakeHostLink(const std::wstring& link, const std::wstring& target)
{
    const std::wstring hostLink = HostPathOfWindowsPath(link);
    const std::wstring hostTarget = HostPathOfWindowsPath(target);
    if (hostLink.empty() || hostTarget.empty())
        return false;
    std::wstring command = L"ln -s \"" + hostTarget + L"\" \"" + hostLink + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!::CreateProcessW(WindowsPathOfHostPath(L"/bin/ln").c_str(), &command[0], nullptr, nullptr, FALSE, 0, nullptr,
                          nullptr, &startup, &process))
        return false;
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    // A host process is not waited for through its handle.
    return WaitFor([&] { return IsLinkAttributes(::GetFileAttributesW(link.c_str())); }, 10000, 50);
}

// A folder link at link to target: a symbolic link, else a junction, else
// (under Wine) a link of the host; true when the file system shows link as
// one.
bool MakeFolderLink(const std::wstring& link, const std::wstring& target)
{
    if (::CreateSymbolicLinkW(link.c_str(), target.c_str(),
                              SYMBOLIC_LINK_FLAG_DIRECTORY | SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE) &&
        IsLinkAttributes(::GetFileAttributesW(link.c_str())))
        return true;
    ::RemoveDirectoryW(link.c_str());
    if (MakeJunction(link, target) && IsLinkAttributes(::GetFileAttributesW(link.c_str())))
        return true;
    ::RemoveDirectoryW(link.c_str());
    return MakeHostLink(link, target);
}

// Stands in for the file system's attributes: every folder named "Linked"
// is a link.
DWORD WINAPI LinkedFolderAttributes(const wchar_t* path)
{
    const std::wstring text = path;
    const std::wstring name = L"\\linked";
    if (text.size() >= name.size() && ::lstrcmpiW(text.c_str() + text.size() - name.size(), name.c_str()) == 0)
        return FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT;
    return FILE_ATTRIBUTE_DIRECTORY;
}

} // namespace

TEST(UninstallScope, NothingIsDeletedThroughALinkInsideItsFolders)
{
    CUninstallScope scope;
    scope.AddFolder(L"C:\\Users\\Me\\App");
    scope.AddFolder(L"C:\\Users\\Me\\Programs\\App");
    scope.AddFile(L"C:\\Users\\Me\\Desktop\\App.lnk");
    scope.AddFolder(L"C:\\Users\\Me\\Programs\\Linked");
    scope.AddFile(L"C:\\Users\\Me\\Linked\\App.lnk");
    scope.SetAttributeReader(&LinkedFolderAttributes);
    const struct {
        const wchar_t* path;
        bool deletable;
    } cases[] = {
        {L"C:\\Users\\Me\\App\\readme.txt", true},
        {L"C:\\Users\\Me\\App\\docs\\guide.txt", true},
        {L"C:\\Users\\Me\\App\\Linked", true},  // the link itself
        {L"C:\\Users\\Me\\App\\Linked\\guide.txt", false},
        {L"C:\\Users\\Me\\App\\linked\\deeper\\x.txt", false},
        {L"C:\\Users\\Me\\App\\docs\\Linked\\x.txt", false},
        {L"C:\\Users\\Me\\App\\Linked\\..\\readme.txt", true},
        {L"C:\\Users\\Me\\Programs\\App\\Linked\\x.lnk", false},
        {L"C:\\Users\\Me\\Programs\\App\\x.lnk", true},
        {L"C:\\Users\\Me\\Desktop\\App.lnk", true},
        {L"C:\\Users\\Me\\Elsewhere\\x.txt", false},
        // The scope's own folder a link: only the link itself.
        {L"C:\\Users\\Me\\Programs\\Linked", true},
        {L"C:\\Users\\Me\\Programs\\Linked\\x.lnk", false},
        {L"C:\\Users\\Me\\Programs\\Linked\\Sub\\x.lnk", false},
        // A folder of the system's that is a link (a redirected desktop):
        // the shortcut listed in it was made through it and goes.
        {L"C:\\Users\\Me\\Linked\\App.lnk", true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.deletable, scope.MayDelete(c.path)) << c.path;
}

TEST_F(UninstallTest, ALinkInTheInstallFolderGoesButNotWhatItLeadsTo)
{
    Install();
    // docs is replaced by a link to a folder outside that holds a file of
    // the logged name.
    const std::wstring outside = m_root.File(L"Outside");
    ASSERT_TRUE(::CreateDirectoryW(outside.c_str(), nullptr));
    ASSERT_TRUE(WriteWholeFile(outside + L"\\guide.txt", "the user's own"));
    const std::wstring docs = m_app + L"\\docs";
    ASSERT_TRUE(::DeleteFileW((docs + L"\\guide.txt").c_str()));
    ASSERT_TRUE(::RemoveDirectoryW(docs.c_str()));
    if (!MakeFolderLink(docs, outside))
        GTEST_SKIP() << "no link could be made here";
    ASSERT_EQ("the user's own", ReadWholeFile(docs + L"\\guide.txt"));

    LoadUninstall();
    InstallWorker();
    EXPECT_EQ("the user's own", ReadWholeFile(outside + L"\\guide.txt"));
    EXPECT_FALSE(FileExists(m_app + L"\\readme.txt"));
    EXPECT_TRUE(FolderExists(outside));
    // Windows removes the link itself; Wine cannot remove a host's link that
    // way and leaves it, still a link.
    const DWORD left = ::GetFileAttributesW(docs.c_str());
    EXPECT_TRUE(left == INVALID_FILE_ATTRIBUTES || IsLinkAttributes(left)) << left;
}

namespace {

// The name of the folder that the stand-in below shows as a link.
std::wstring& LinkedFolderName()
{
    static std::wstring name;
    return name;
}

// The file system's attributes, except that every folder named
// LinkedFolderName() is shown as a link.
DWORD WINAPI NamedFolderAsLink(const wchar_t* path)
{
    const DWORD attributes = ::GetFileAttributesW(path);
    const std::wstring text = path;
    const std::wstring name = L"\\" + LinkedFolderName();
    if (!LinkedFolderName().empty() && text.size() >= name.size() &&
        ::lstrcmpiW(text.c_str() + text.size() - name.size(), name.c_str()) == 0)
        return attributes | FILE_ATTRIBUTE_REPARSE_POINT;
    return attributes;
}

} // namespace

// A root of the product's places that is itself a link (the program's
// Start-menu folder, the install folder, moved elsewhere by a junction) is
// not followed: nothing logged below it is deleted, while the rest of the
// product goes as before. (Wine makes no junction; the attribute stand-in
// shows the folder as one.)
TEST_F(UninstallTest, NothingIsDeletedBelowAPlaceOfTheProductThatIsALink)
{
    const struct {
        const wchar_t* name;
        const wchar_t* linked;  // the folder shown as a link; empty: none
        bool appStays;
        bool menuStays;
    } cases[] = {
        {L"Start-menu folder", L"SetupTest", false, true},
        {L"install folder", L"Program Folder", true, false},
        {L"no link", L"", false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        DeleteTestKeys();
        Install();
        LoadUninstall();
        LinkedFolderName() = c.linked;
        GetSetupContext().uninstallScope.SetAttributeReader(&NamedFolderAsLink);
        InstallWorker();
        LinkedFolderName().clear();
        EXPECT_TRUE(IsDone());

        for (const wchar_t* name : {L"Brisvane.exe", L"readme.txt", L"setupkit.dat", L"docs\\guide.txt"})
            EXPECT_EQ(c.appStays, FileExists(m_app + L"\\" + name)) << name;
        const std::wstring menu = m_programs + L"\\SetupTest";
        for (const wchar_t* name : {L"SetupTest.lnk", L"Uninstall SetupTest.lnk", L"Extras\\Guide.lnk"})
            EXPECT_EQ(c.menuStays, FileExists(menu + L"\\" + name)) << name;
        // The other menu folder is no link: it goes in every case.
        EXPECT_FALSE(FolderExists(m_programs + L"\\SetupTest Online television"));
        EXPECT_FALSE(KeyExists(TestProductKey));
        ResetWizardState();
    }
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
