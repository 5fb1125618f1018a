// The setup's start-up load from its own archive: settings and their
// lists, install folder, components, origin, log, language, version gate,
// recorder edition; and the uninstall log's bookkeeping.

#include "WizardTestSupport.h"

#include "foundation/DataKey.h"
#include "wizards/common/MacroTable.h"
#include "wizards/common/ProductSettings.h"
#include "wizards/common/WizardLanguages.h"
#include "wizards/setup/Components.h"
#include "wizards/setup/SetupContext.h"
#include "wizards/setup/SetupData.h"
#include "wizards/setup/SetupMain.h"
#include "wizards/setup/UninstallLog.h"

#include <gtest/gtest.h>

#include <shlwapi.h>

namespace {

class SetupDataTest : public testing::Test {
protected:
    void SetUp() override
    {
        ResetWizardState();
        DeleteTestKeys();
    }
    void TearDown() override
    {
        ResetWizardState();
        DeleteTestKeys();
    }
};

std::wstring FromValue()
{
    const KV::DataKey* values = GetProductSettings().GetKey("reg")->GetKey("reg")->GetKey("values");
    return values->GetStringW("From", L"<none>");
}

} // namespace

TEST_F(SetupDataTest, PackageLoadsSettingsComponentsOriginAndLog)
{
    ASSERT_TRUE(WriteRegString(TestProductKey, L"Language", L"ru"));
    LoadSetupData(FixturePath(L"TestSetup.exe"));
    const SetupContext& context = GetSetupContext();

    EXPECT_EQ(L"9.1.2", context.packageVersion);
    EXPECT_EQ(L"9.1.2", GetMacro(L"#ver#"));
    EXPECT_EQ(TestInstallFolder(), GetInstallFolder());
    EXPECT_EQ(TestInstallFolder(), GetMacro(L"#InstallDir#"));
    EXPECT_EQ(TestInstallFolder() + L"\\setupkit.dat", context.logPath);
    EXPECT_TRUE(IsUserOnly());
    EXPECT_FALSE(IsRecorderEdition());
    EXPECT_EQ(L"ru", GetCurrentLanguageExt());
    EXPECT_EQ(L"0.0.0.0", context.installedVersion);
    EXPECT_EQ(L"test-origin", FromValue());
    ASSERT_EQ(1u, GetCryptList().size());

    const ComponentList& components = GetComponentList();
    ASSERT_EQ(3u, components.size());
    const struct {
        const char* id;
        bool required;
        bool listed;
    } expected[] = {{"CM", true, true}, {"CDS", false, true}, {"CP", false, false}};
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(expected[i].id, components[i]->GetId());
        EXPECT_EQ(expected[i].required, components[i]->IsRequired());
        EXPECT_EQ(expected[i].listed, components[i]->IsListed());
        EXPECT_TRUE(components[i]->IsChecked());
    }
    EXPECT_EQ(GetMainFilesSize(), components[0]->GetSize());
    EXPECT_GT(GetMainFilesSize(), 0u);
    EXPECT_EQ(GetMainFilesSize(), GetSpaceRequired());
    components[0]->SetChecked(false);
    EXPECT_EQ(0u, GetSpaceRequired());

    EXPECT_EQ(UninstallLogRootName, context.log.GetTree().GetName());
    for (const char* node : {"f", "d", "r"})
        EXPECT_TRUE(context.log.GetTree().HasKey(node)) << node;
    EXPECT_EQ(0u, context.log.GetFileCount());
}

TEST_F(SetupDataTest, VersionGateLetsEqualAndNewerPackagesInstall)
{
    const struct {
        const wchar_t* installed;
        bool allowed;
    } cases[] = {{nullptr, true}, {L"9.1.2", true}, {L"9.1", true}, {L"9.1.2.0", true},
                 {L"9.1.10", false}, {L"10", false}};
    for (const auto& c : cases) {
        ResetWizardState();
        DeleteTestKeys();
        if (c.installed) {
            ASSERT_TRUE(WriteRegString(TestProductKey, L"Version", c.installed));
        }
        LoadSetupData(FixturePath(L"TestSetup.exe"));
        EXPECT_EQ(c.allowed, IsVersionAllowed()) << (c.installed ? c.installed : L"none");
    }
}

TEST_F(SetupDataTest, SilentUpdateTakesTheStoredFolderAndItsLog)
{
    TempFolder folder;
    UninstallLog previous;
    previous.SetRootName("kept name");
    previous.AddFile(folder.File(L"old.txt"));
    ASSERT_TRUE(previous.Save(folder.File(L"setupkit.dat")));
    ASSERT_TRUE(WriteRegString(TestProductKey, L"InstallDir", folder.Path()));

    GetSetupContext().update = true;
    LoadSetupData(FixturePath(L"TestSetup.exe"));
    const SetupContext& context = GetSetupContext();
    EXPECT_EQ(folder.Path(), GetInstallFolder());
    EXPECT_TRUE(GetComponentList().empty());
    EXPECT_EQ("kept name", context.log.GetTree().GetName());
    EXPECT_EQ(folder.File(L"old.txt"), context.log.GetFile(0));
    EXPECT_TRUE(context.log.GetTree().HasKey("d"));
    // No Language stored: the system's (or English) is current.
    EXPECT_FALSE(GetCurrentLanguageExt().empty());
}

TEST_F(SetupDataTest, UninstallCopyReadsTheLogOfItsCommandLineFolder)
{
    TempFolder folder;
    UninstallLog log;
    log.AddFile(L"C:\\somewhere\\file.txt");
    ASSERT_TRUE(log.Save(folder.File(L"setupkit.dat")));

    GetSetupContext().uninstall = true;
    SetUninstallFolder(folder.Path());
    EXPECT_EQ(folder.Path() + L"\\", GetUninstallFolder());
    LoadSetupData(FixturePath(L"TestUninstaller.exe"));
    const SetupContext& context = GetSetupContext();
    EXPECT_TRUE(IsUninstallMode());
    EXPECT_EQ(folder.File(L"setupkit.dat"), context.logPath);
    EXPECT_EQ(L"C:\\somewhere\\file.txt", context.log.GetFile(0));
    EXPECT_TRUE(GetComponentList().empty());
    // The installed uninstaller's archive has no program files and no origin.
    EXPECT_FALSE(GetProductSettings().HasKey("files"));
    EXPECT_EQ(L"<none>", FromValue());
}

TEST_F(SetupDataTest, UninstallScopeNamesTheMenuFolderInEveryLanguage)
{
    // Whichever language is stored now, the install may have named the
    // folder in either.
    const struct {
        const wchar_t* language;
        const wchar_t* shortDesc;  // the stored language's macro, as it stays
    } cases[] = {
        {L"en", L"Online television"},
        {L"ru", L"Интернет-телевидение"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.language);
        ResetWizardState();
        ASSERT_TRUE(WriteRegString(TestProductKey, L"Language", c.language));
        TempFolder folder;
        GetSetupContext().uninstall = true;
        SetUninstallFolder(folder.Path());
        LoadSetupData(FixturePath(L"TestUninstaller.exe"));
        ApplyLanguageChoice();
        const CUninstallScope& scope = GetSetupContext().uninstallScope;
        const std::wstring programs = GetProgramsFolder();
        for (const wchar_t* name : {L"SetupTest Online television", L"SetupTest Интернет-телевидение"}) {
            EXPECT_TRUE(scope.MayDelete(programs + L"\\" + name + L"\\SetupTest.lnk")) << name;
            EXPECT_TRUE(scope.MayDelete(programs + L"\\" + name)) << name;
        }
        EXPECT_FALSE(scope.MayDelete(programs + L"\\SetupTest #ShortDesc#"));
        EXPECT_TRUE(scope.MayDelete(folder.File(L"readme.txt")));
        // The stored language and its macros are current again.
        EXPECT_EQ(c.language, GetCurrentLanguageExt());
        EXPECT_EQ(c.shortDesc, GetMacro(L"#ShortDesc#"));
        EXPECT_EQ(c.language, GetMacro(L"#lang#"));
    }
}

TEST_F(SetupDataTest, RecorderPackInTheInstallFolderMakesTheRecorderEdition)
{
    TempFolder folder;
    KV::DataKey pack("Root");
    ASSERT_TRUE(pack.Save(folder.File(L"Recres.kvdt")));
    ASSERT_TRUE(WriteRegString(TestProductKey, L"InstallDir", folder.Path()));
    GetSetupContext().update = true;
    LoadSetupData(FixturePath(L"TestSetup.exe"));
    EXPECT_TRUE(IsRecorderEdition());
    EXPECT_EQ(L"Brisvane Recorder", GetMacro(L"#title#"));
    KV::DataKey& settings = GetProductSettings();
    EXPECT_EQ(L"Brisvane Recorder.lnk", settings.GetKey("cds")->GetStringW("n", L""));
    EXPECT_EQ(L"Brisvane Recorder.lnk", settings.GetKey("cp")->GetKey("d0")->GetKey("s0")->GetStringW("n", L""));
}

TEST(UninstallLog, PathsAreListedOnceAndNumberedOnFromTheCount)
{
    TempFolder folder;
    UninstallLog log;
    log.AddFile(L"C:\\App\\a.txt");
    log.AddFile(L"C:\\App\\a.txt");
    log.AddFile(L"C:\\App\\A.txt");  // case matters
    log.AddDir(L"C:\\App");
    log.AddDir(L"C:\\App\\sub");
    EXPECT_EQ((std::vector<std::wstring>{L"C:\\App\\a.txt", L"C:\\App\\A.txt"}), NumberedStrings(log.GetTree().GetKey("f")));
    EXPECT_EQ((std::vector<std::wstring>{L"C:\\App", L"C:\\App\\sub"}), NumberedStrings(log.GetTree().GetKey("d")));
    ASSERT_TRUE(log.Save(folder.File(L"setupkit.dat")));

    UninstallLog loaded;
    ASSERT_TRUE(loaded.Load(folder.File(L"setupkit.dat")));
    loaded.AddFile(L"C:\\App\\new.txt");
    loaded.AddFile(L"C:\\App\\a.txt");
    EXPECT_EQ(3u, loaded.GetFileCount());
    EXPECT_EQ(L"C:\\App\\new.txt", loaded.GetFile(2));

    EXPECT_FALSE(loaded.Load(folder.File(L"missing.dat")));
    EXPECT_EQ(0u, loaded.GetFileCount());
    EXPECT_EQ("", loaded.GetTree().GetName());
}

TEST(SetupStart, CompatibilityMarkIsWrittenOnlyIntoAnExistingKey)
{
    const wchar_t* key =
        L"Software\\Microsoft\\Windows NT\\CurrentVersion\\AppCompatFlags\\Compatibility Assistant\\Persisted";
    wchar_t own[MAX_PATH] = L"";
    ::GetModuleFileNameW(nullptr, own, MAX_PATH);
    const bool existed = KeyExists(key);
    if (!existed) {
        SetCompatibilityPersisted();
        EXPECT_FALSE(KeyExists(key));
        HKEY created = nullptr;
        ASSERT_EQ(ERROR_SUCCESS, ::RegCreateKeyExW(HKEY_CURRENT_USER, key, 0, nullptr, 0, KEY_WRITE, nullptr, &created,
                                                   nullptr));
        ::RegCloseKey(created);
    }
    SetCompatibilityPersisted();
    DWORD value = 0;
    EXPECT_TRUE(ReadRegDword(key, own, value));
    EXPECT_EQ(1u, value);
    if (existed)
        ::SHDeleteValueW(HKEY_CURRENT_USER, key, own);
    else
        ::SHDeleteKeyW(HKEY_CURRENT_USER, key);
}
