// The install worker's steps on real files, links and registry keys: the
// package extracted into a temporary install folder, the listed files
// rewritten, the components' links, the product's values and the log.

#include "WizardTestSupport.h"

#include "foundation/DataKey.h"
#include "framework/ComPtr.h"
#include "wizards/common/MacroTable.h"
#include "wizards/common/ProductSettings.h"
#include "wizards/setup/Components.h"
#include "wizards/setup/InstallWorker.h"
#include "wizards/setup/ProcessCheck.h"
#include "wizards/setup/RegistrySteps.h"
#include "wizards/setup/SetupArchive.h"
#include "wizards/setup/SetupContext.h"
#include "wizards/setup/Shortcut.h"

#include <gtest/gtest.h>

#include <shlobj.h>

#include <algorithm>
#include <new>

namespace {

std::wstring LinkTarget(const std::wstring& link)
{
    CInterfacePtr<IShellLinkW> shellLink;
    if (FAILED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                  reinterpret_cast<void**>(shellLink.Receive()))))
        return L"<no link object>";
    CInterfacePtr<IPersistFile> file;
    if (FAILED(shellLink->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(file.Receive()))) ||
        FAILED(file->Load(link.c_str(), STGM_READ)))
        return L"<unreadable>";
    wchar_t target[MAX_PATH] = L"";
    shellLink->GetPath(target, MAX_PATH, nullptr, 0);
    return target;
}

// The rewrite as the setup does it, except that data.swp cannot be rewritten.
bool RewriteFailsOnData(const std::wstring& folder, const std::wstring& name)
{
    return name != L"data.swp" && UnswapFile(folder, name);
}

bool RewriteThrowsOnData(const std::wstring& folder, const std::wstring& name)
{
    if (name == L"data.swp")
        throw std::bad_alloc();
    return UnswapFile(folder, name);
}

// A component whose step throws (memory ran out while it made its links).
class ThrowingComponent : public CComponent {
public:
    ThrowingComponent() : CComponent("CT", false, false, 0) {}
    void Install() override { throw std::bad_alloc(); }
};

class InstallTest : public testing::Test {
protected:
    void SetUp() override
    {
        DeleteTestKeys();
        LoadFixturePackage(L"TestSetup.exe");
        m_app = m_root.File(L"Program Folder");
        m_desktop = m_root.File(L"Desktop");
        m_programs = m_root.File(L"Programs");
        ::CreateDirectoryW(m_desktop.c_str(), nullptr);
        ::CreateDirectoryW(m_programs.c_str(), nullptr);
        UseInstallFolder(m_app);
        // The components' links go to folders of the test.
        KV::DataKey& settings = GetProductSettings();
        ComponentList& components = GetComponentList();
        components.clear();
        components.push_back(std::make_unique<CMainComponent>());
        components.push_back(std::make_unique<CDesctopShortcutComponent>(*settings.GetKey("cds"), m_desktop));
        components.push_back(std::make_unique<CProgramsComponent>(*settings.GetKey("cp"), m_programs));
    }
    void TearDown() override
    {
        ResetWizardState();
        DeleteTestKeys();
    }

    // The setup started afresh over installedVersion (null: none), installing
    // the test package into root\\App without components; returns that folder.
    static std::wstring StartOver(const TempFolder& root, const wchar_t* installedVersion)
    {
        ResetWizardState();
        DeleteTestKeys();
        if (installedVersion) {
            EXPECT_TRUE(WriteRegString(TestProductKey, L"Version", installedVersion));
        }
        LoadFixturePackage(L"TestSetup.exe");
        const std::wstring app = root.File(L"App");
        UseInstallFolder(app);
        GetComponentList().clear();
        return app;
    }

    TempFolder m_root;
    std::wstring m_app;
    std::wstring m_desktop;
    std::wstring m_programs;
};

} // namespace

TEST_F(InstallTest, WorkerInstallsFilesLinksValuesAndLog)
{
    EXPECT_EQ(0u, InstallWorker());
    EXPECT_TRUE(IsDone());
    EXPECT_FALSE(IsBusy());

    EXPECT_EQ("The test package readme.\r\n", ReadWholeFile(m_app + L"\\readme.txt"));
    EXPECT_EQ("Guide of the test package.\r\n", ReadWholeFile(m_app + L"\\docs\\guide.txt"));
    EXPECT_EQ("ABCDEFGH", ReadWholeFile(m_app + L"\\data.swp"));  // listed in crypt: swapped back
    EXPECT_TRUE(FileExists(m_app + L"\\Brisvane.exe"));
    EXPECT_TRUE(FileExists(m_app + L"\\Setupkit.exe"));

    const std::wstring folder = m_programs + L"\\SetupTest";
    const std::wstring namedFolder = m_programs + L"\\SetupTest Online television";
    EXPECT_EQ(m_app + L"\\Brisvane.exe", LinkTarget(m_desktop + L"\\SetupTest.lnk"));
    EXPECT_EQ(m_app + L"\\Brisvane.exe", LinkTarget(folder + L"\\SetupTest.lnk"));
    EXPECT_EQ(m_app + L"\\Setupkit.exe", LinkTarget(folder + L"\\Uninstall SetupTest.lnk"));
    EXPECT_EQ(m_app + L"\\docs\\guide.txt", LinkTarget(folder + L"\\Extras\\Guide.lnk"));
    EXPECT_EQ(m_app + L"\\Brisvane.exe", LinkTarget(namedFolder + L"\\SetupTest.lnk"));

    std::wstring text;
    const struct {
        const wchar_t* key;
        const wchar_t* name;
        std::wstring value;
    } values[] = {
        {TestProductKey, L"Version", L"9.1.2"},
        {TestProductKey, L"InstallDir", m_app},
        {TestProductKey, L"Language", L"en"},
        {TestProductKey, L"CVersion", L"2010.08.11.10"},
        {TestProductKey, L"From", L"test-origin"},
        {TestUninstallKey, L"DisplayName", L"SetupTest 9.1.2"},
        {TestUninstallKey, L"DisplayVersion", L"9.1.2"},
        {TestUninstallKey, L"UninstallString", m_app + L"\\Setupkit.exe"},
        {TestUninstallKey, L"HelpLink", L"https://www.kestrivo.example/brisvane/en/"},
    };
    for (const auto& v : values) {
        EXPECT_TRUE(ReadRegString(v.key, v.name, text)) << v.name;
        EXPECT_EQ(v.value, text) << v.name;
    }
    DWORD flags = 0;
    EXPECT_TRUE(ReadRegDword(TestProductKey, L"Flags", flags));
    EXPECT_EQ(7u, flags);

    // The saved log: folders parent first, files as made (the package's in
    // its own order), the log itself last.
    KV::DataKey log;
    ASSERT_TRUE(log.Load(m_app + L"\\setupkit.dat"));
    EXPECT_EQ("Kestrivo Setup Uninstall Log", log.GetName());
    EXPECT_EQ((std::vector<std::wstring>{m_app, m_app + L"\\docs", folder, folder + L"\\Extras", namedFolder}),
              NumberedStrings(log.GetKey("d")));
    const std::vector<std::wstring> files = NumberedStrings(log.GetKey("f"));
    const std::vector<std::wstring> expectedFiles = {m_app + L"\\Brisvane.exe",
                                                     m_app + L"\\Setupkit.exe",
                                                     m_app + L"\\readme.txt",
                                                     m_app + L"\\data.swp",
                                                     m_app + L"\\docs\\guide.txt",
                                                     m_desktop + L"\\SetupTest.lnk",
                                                     folder + L"\\SetupTest.lnk",
                                                     folder + L"\\Uninstall SetupTest.lnk",
                                                     folder + L"\\Extras\\Guide.lnk",
                                                     namedFolder + L"\\SetupTest.lnk",
                                                     m_app + L"\\setupkit.dat"};
    EXPECT_EQ(expectedFiles, files);
    EXPECT_TRUE(log.HasKey("r"));
}

TEST_F(InstallTest, UncheckedComponentsAreLeftOutAndTheFirstOriginStays)
{
    ASSERT_TRUE(WriteRegString(TestProductKey, L"From", L"first-origin"));
    ASSERT_TRUE(WriteRegString(TestProductKey, L"Version", L"1.0"));
    GetComponentList()[1]->SetChecked(false);
    InstallWorker();
    EXPECT_FALSE(FileExists(m_desktop + L"\\SetupTest.lnk"));
    EXPECT_TRUE(FileExists(m_programs + L"\\SetupTest\\SetupTest.lnk"));
    std::wstring text;
    ASSERT_TRUE(ReadRegString(TestProductKey, L"From", text));
    EXPECT_EQ(L"first-origin", text);
    ASSERT_TRUE(ReadRegString(TestProductKey, L"Version", text));
    EXPECT_EQ(L"9.1.2", text);
}

TEST_F(InstallTest, AFileThatCannotBeWrittenFailsTheInstallVisiblyAndKeepsTheVersion)
{
    // (A read-only file is no test here: Wine run as root writes it anyway.)
    enum class Blocker { Locked, FolderInTheWay, MissingEntry, RewriteFails, RewriteThrows };
    const struct {
        const wchar_t* name;
        Blocker blocker;
        bool whole;                // the old copy stays, so the program may still start
        const wchar_t* installed;  // the Version before the install; null: none
    } cases[] = {
        {L"readme.txt", Blocker::Locked, true, L"9.0"},
        {L"Brisvane.exe", Blocker::FolderInTheWay, false, nullptr},
        {L"extra.swp", Blocker::MissingEntry, true, L"9.0"},
        {L"data.swp", Blocker::RewriteFails, false, L"9.0"},  // written, but still swapped
        {L"data.swp", Blocker::RewriteThrows, false, L"9.0"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.blocker));
        TempFolder root;
        const std::wstring app = StartOver(root, c.installed);
        const std::wstring blocked = app + L"\\" + c.name;
        HANDLE held = INVALID_HANDLE_VALUE;
        const RewriteFunction rewrite =
            SetRewriteFunction(c.blocker == Blocker::RewriteFails    ? &RewriteFailsOnData
                               : c.blocker == Blocker::RewriteThrows ? &RewriteThrowsOnData
                                                                     : nullptr);
        if (c.blocker == Blocker::FolderInTheWay) {
            ASSERT_EQ(0, ::SHCreateDirectory(nullptr, blocked.c_str()));
        } else {
            // The copy an earlier install left (swapped files in their final form).
            ASSERT_TRUE(root.Write(L"App\\" + std::wstring(c.name), "ABCDEFGH"));
            if (c.blocker == Blocker::Locked)
                held = ::CreateFileW(blocked.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
            if (c.blocker == Blocker::MissingEntry)
                GetProductSettings().GetKey("files")->SetStringW("extra.swp", L"not in the archive");
        }

        MessageBoxRecorder boxes;
        unsigned result = 1;
        EXPECT_NO_THROW(result = InstallWorker());
        EXPECT_EQ(0u, result);
        SetRewriteFunction(rewrite);
        if (held != INVALID_HANDLE_VALUE)
            ::CloseHandle(held);

        const std::vector<MessageBoxRecorder::Box> shown = boxes.Boxes();
        ASSERT_EQ(1u, shown.size());
        EXPECT_EQ(L"Error", shown[0].caption);
        EXPECT_EQ(0u, shown[0].text.find(L"SetupTest could not be installed completely")) << shown[0].text;
        EXPECT_NE(std::wstring::npos, shown[0].text.find(blocked)) << shown[0].text;
        EXPECT_EQ(static_cast<UINT>(MB_OK | MB_ICONERROR), shown[0].flags);

        // The product and its Add/Remove entry both keep the version it had
        // (the version check's "0.0.0.0" when there was none).
        std::wstring text;
        EXPECT_EQ(c.installed != nullptr, ReadRegString(TestProductKey, L"Version", text));
        const std::wstring kept = c.installed ? c.installed : L"0.0.0.0";
        if (c.installed) {
            EXPECT_EQ(kept, text);
        }
        ASSERT_TRUE(ReadRegString(TestUninstallKey, L"DisplayVersion", text));
        EXPECT_EQ(kept, text);
        ASSERT_TRUE(ReadRegString(TestUninstallKey, L"DisplayName", text));
        EXPECT_EQ(L"SetupTest " + kept, text);
        ASSERT_TRUE(ReadRegString(TestProductKey, L"InstallDir", text));
        EXPECT_EQ(app, text);
        EXPECT_TRUE(IsDone());
        EXPECT_EQ(c.whole, ShouldStartProgram());
        if (c.blocker == Blocker::Locked || c.blocker == Blocker::MissingEntry) {
            EXPECT_EQ("ABCDEFGH", ReadWholeFile(blocked));  // neither replaced nor rewritten
        }
        EXPECT_TRUE(FileExists(app + L"\\Setupkit.exe"));

        // The log lists every file, the one that failed included.
        KV::DataKey log;
        ASSERT_TRUE(log.Load(app + L"\\setupkit.dat"));
        const std::vector<std::wstring> files = NumberedStrings(log.GetKey("f"));
        for (const wchar_t* name : {L"Brisvane.exe", L"Setupkit.exe", L"readme.txt", L"setupkit.dat"})
            EXPECT_NE(files.end(), std::find(files.begin(), files.end(), app + L"\\" + name)) << name;
        ResetWizardState();
    }
}

// A step that throws outside the files' own rewrite ends the install as a
// failed one, on the worker's thread as well as called directly: it says
// so, keeps the version and the log of what it made, and starts nothing.
TEST_F(InstallTest, AStepThatThrowsEndsTheInstallAsAFailureAndKeepsTheLog)
{
    for (const bool onItsThread : {false, true}) {
        SCOPED_TRACE(onItsThread);
        TempFolder root;
        const std::wstring app = StartOver(root, L"9.0");
        GetComponentList().push_back(std::make_unique<ThrowingComponent>());

        MessageBoxRecorder boxes;
        if (onItsThread) {
            ASSERT_TRUE(StartInstallWorker());
            EXPECT_TRUE(WaitFor([] { return IsDone(); }, 30000, 20));
        } else {
            unsigned result = 1;
            EXPECT_NO_THROW(result = InstallWorker());
            EXPECT_EQ(0u, result);
        }
        EXPECT_TRUE(IsDone());
        EXPECT_FALSE(IsBusy());
        EXPECT_FALSE(ShouldStartProgram());
        const std::vector<MessageBoxRecorder::Box> shown = boxes.Boxes();
        ASSERT_EQ(1u, shown.size());
        EXPECT_EQ(0u, shown[0].text.find(L"SetupTest could not be installed completely: the setup stopped"))
            << shown[0].text;
        EXPECT_EQ(L"Error", shown[0].caption);

        // Nothing after the step: the product keeps its version and has no
        // new values.
        std::wstring text;
        ASSERT_TRUE(ReadRegString(TestProductKey, L"Version", text));
        EXPECT_EQ(L"9.0", text);
        EXPECT_FALSE(ReadRegString(TestProductKey, L"InstallDir", text));
        // What was made is logged, the log itself last, so that an
        // uninstall removes it all.
        KV::DataKey log;
        ASSERT_TRUE(log.Load(app + L"\\setupkit.dat"));
        const std::vector<std::wstring> files = NumberedStrings(log.GetKey("f"));
        ASSERT_FALSE(files.empty());
        EXPECT_EQ(app + L"\\setupkit.dat", files.back());
        for (const wchar_t* name : {L"Brisvane.exe", L"Setupkit.exe", L"readme.txt"}) {
            EXPECT_NE(files.end(), std::find(files.begin(), files.end(), app + L"\\" + name)) << name;
            EXPECT_TRUE(FileExists(app + L"\\" + name)) << name;
        }
        ResetWizardState();
    }
}

// The Add/Remove values name the version the product has after the run,
// also where they name it through another macro: the new one after a whole
// install, the kept one after a failed install. Expansion is that of every
// text: a macro later in name order than #ver# leaves it literal.
TEST_F(InstallTest, TheAddRemoveValuesNameTheProductsVersionAlsoThroughAnotherMacro)
{
    const struct {
        bool failed;
        const wchar_t* version;
    } cases[] = {{false, L"9.1.2"}, {true, L"9.0"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.failed);
        TempFolder root;
        const std::wstring app = StartOver(root, L"9.0");
        SetMacro(L"#full#", L"#title# #ver# (full)");
        SetMacro(L"#zed#", L"v#ver#");
        KV::DataKey* values = GetProductSettings().GetKey("reg")->GetKey("setupkit")->GetKey("values");
        values->SetStringW("Comments", L"#full#");
        values->SetStringW("Contact", L"#zed#");
        HANDLE held = INVALID_HANDLE_VALUE;
        if (c.failed) {
            ASSERT_TRUE(root.Write(L"App\\readme.txt", "old"));
            held = ::CreateFileW((app + L"\\readme.txt").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
            ASSERT_NE(INVALID_HANDLE_VALUE, held);
        }
        MessageBoxRecorder boxes;
        InstallWorker();
        if (held != INVALID_HANDLE_VALUE)
            ::CloseHandle(held);
        EXPECT_EQ(c.failed ? 1u : 0u, boxes.Boxes().size());

        std::wstring text;
        ASSERT_TRUE(ReadRegString(TestUninstallKey, L"Comments", text));
        EXPECT_EQ(L"SetupTest " + std::wstring(c.version) + L" (full)", text);
        ASSERT_TRUE(ReadRegString(TestUninstallKey, L"DisplayVersion", text));
        EXPECT_EQ(c.version, text);
        ASSERT_TRUE(ReadRegString(TestUninstallKey, L"Contact", text));
        EXPECT_EQ(L"v#ver#", text);
        ASSERT_TRUE(ReadRegString(TestProductKey, L"Version", text));
        EXPECT_EQ(c.version, text);
        ResetWizardState();
    }
}

TEST_F(InstallTest, AWholeInstallStartsTheProgramAndRecordsTheVersion)
{
    MessageBoxRecorder boxes;
    ASSERT_TRUE(WriteRegString(TestProductKey, L"Version", L"9.0"));
    InstallWorker();
    EXPECT_TRUE(boxes.Boxes().empty());
    EXPECT_TRUE(ShouldStartProgram());
    SetLaunchFlag(false);
    EXPECT_FALSE(ShouldStartProgram());
    std::wstring text;
    ASSERT_TRUE(ReadRegString(TestProductKey, L"Version", text));
    EXPECT_EQ(L"9.1.2", text);
}

TEST(InstallSteps, ListedExtensionsAreRewrittenInDisjointPairs)
{
    ResetWizardState();
    auto settings = std::make_unique<KV::DataKey>();
    KV::DataKey* crypt = settings->AddKey("crypt");
    crypt->SetStringW("0", L".dat");
    SetProductSettings(std::move(settings));
    LoadCommonSettingsLists();

    TempFolder folder;
    const struct {
        const wchar_t* name;
        std::string bytes;
        std::string expected;
    } cases[] = {
        {L"a.DAT", "ABCDEFGH", "GBEDCFAH"},  // 0<->6, 2<->4
        {L"b.dat", "ABC", "BAC"},
        {L"c.dat", "AB", "AB"},
        {L"d.dat", "A", "A"},
        {L"e.dat", "", ""},
        {L"f.txt", "ABCDEFGH", "ABCDEFGH"},  // not listed
        {L"noext", "ABC", "ABC"},             // only an empty entry would match
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(WriteWholeFile(folder.File(c.name), c.bytes));
        UnswapFile(folder.Path(), c.name);
        EXPECT_EQ(c.expected, ReadWholeFile(folder.File(c.name))) << c.name;
        UnswapFile(folder.Path(), c.name);
        EXPECT_EQ(c.bytes, ReadWholeFile(folder.File(c.name))) << c.name;
    }
    ResetWizardState();
}

TEST(InstallSteps, FoldersAndLinksAreLoggedEvenWhenTheyFail)
{
    ResetWizardState();
    TempFolder folder;
    const std::wstring deep = folder.File(L"one\\two");
    EXPECT_TRUE(CreateFolder(deep));
    EXPECT_TRUE(FolderExists(deep));
    const std::wstring badLink = folder.File(L"missing folder\\x.lnk");
    EXPECT_TRUE(FAILED(CreateShortcut(folder.File(L"target.exe"), L"desc", badLink)));
    const UninstallLog& log = GetSetupContext().log;
    EXPECT_EQ(deep, log.GetDir(0));
    EXPECT_EQ(1u, log.GetDirCount());
    EXPECT_EQ(badLink, log.GetFile(0));
    ResetWizardState();
}

TEST(InstallSteps, RegistryEntriesWithoutUsableRootOrKeyAreSkipped)
{
    DeleteTestKeys();
    KV::DataKey reg;
    const struct {
        const char* name;
        uint32_t root;
        const wchar_t* key;
    } entries[] = {{"good", 1, TestProductKey}, {"badroot", 4, L"SOFTWARE\\Kestrivo\\BrisvaneSetupTest\\Bad"},
                   {"nokey", 1, L""}, {"slashes", 1, L"\\\\"}};
    for (const auto& e : entries) {
        KV::DataKey* entry = reg.AddKey(e.name);
        entry->SetUInt("root", e.root);
        entry->SetStringW("key", e.key);
        entry->AddKey("values")->SetStringW("Marker", L"written");
    }
    WriteRegistry(reg);
    std::wstring text;
    EXPECT_TRUE(ReadRegString(TestProductKey, L"Marker", text));
    EXPECT_FALSE(KeyExists(L"SOFTWARE\\Kestrivo\\BrisvaneSetupTest\\Bad"));
    EXPECT_FALSE(ReadRegString(L"", L"Marker", text));

    // Deleting an entry with an empty key must not touch the root.
    reg.DeleteKey("good");
    DeleteRegistry(reg);
    EXPECT_TRUE(KeyExists(TestProductKey));
    EXPECT_TRUE(KeyExists(L"SOFTWARE"));
    DeleteTestKeys();
}

TEST(ProcessCheck, CountsProcessesByTheirProgramFile)
{
    wchar_t own[MAX_PATH] = L"";
    ::GetModuleFileNameW(nullptr, own, MAX_PATH);
    std::wstring upper = own;
    ::CharUpperW(&upper[0]);
    EXPECT_EQ(1, CountProcesses(own));
    EXPECT_EQ(1, CountProcesses(upper));
    EXPECT_EQ(0, CountProcesses(std::wstring(own) + L".other"));
    EXPECT_EQ(0, CountProcesses(L""));

    ResetWizardState();
    auto settings = std::make_unique<KV::DataKey>();
    std::wstring path = own;
    settings->SetStringW("exe", path.substr(path.find_last_of(L'\\') + 1));
    SetProductSettings(std::move(settings));
    SetInstallFolder(path.substr(0, path.find_last_of(L'\\')));
    EXPECT_TRUE(IsMainExeRunning());
    SetInstallFolder(L"C:\\nowhere");
    EXPECT_FALSE(IsMainExeRunning());
    ResetWizardState();
}
