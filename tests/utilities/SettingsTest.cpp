// The player's settings store with real files in a temporary folder, the
// real application-data folder and the Wine prefix's real registry.

#include "player/app/Settings.h"

#include "foundation/DataKey.h"
#include "foundation/DataValue.h"
#include "foundation/Lang.h"
#include "foundation/MemoryStream.h"
#include "foundation/Skin.h"
#include "foundation/Utilities.h"

#include "tests/foundation/AllocationTracker.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>
#include <shlobj.h>

#include <cstring>
#include <string>

namespace {

const wchar_t RunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";

// A registry key that the test opens or creates, and removes again when it
// created it.
class TestRegistryKey {
public:
    explicit TestRegistryKey(const wchar_t* path) : m_path(path)
    {
        DWORD disposition = 0;
        if (RegCreateKeyExW(HKEY_CURRENT_USER, path, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &m_key, &disposition)
            != ERROR_SUCCESS)
            m_key = nullptr;
        m_created = disposition == REG_CREATED_NEW_KEY;
    }
    TestRegistryKey(const TestRegistryKey&) = delete;
    TestRegistryKey& operator=(const TestRegistryKey&) = delete;
    ~TestRegistryKey()
    {
        if (m_key)
            RegCloseKey(m_key);
        if (m_created)
            RegDeleteKeyW(HKEY_CURRENT_USER, m_path.c_str());
    }
    HKEY Get() const { return m_key; }

    bool ReadString(const wchar_t* name, std::wstring& text, DWORD* type = nullptr, DWORD* bytes = nullptr) const
    {
        wchar_t buffer[1024] = L"";
        DWORD size = sizeof(buffer) - sizeof(wchar_t);
        DWORD valueType = 0;
        if (RegQueryValueExW(m_key, name, nullptr, &valueType, reinterpret_cast<BYTE*>(buffer), &size)
            != ERROR_SUCCESS)
            return false;
        text = buffer;
        if (type)
            *type = valueType;
        if (bytes)
            *bytes = size;
        return true;
    }
    bool HasValue(const wchar_t* name) const
    {
        return RegQueryValueExW(m_key, name, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
    }

private:
    std::wstring m_path;
    HKEY m_key = nullptr;
    bool m_created = false;
};

class SettingsTest : public testing::Test {
protected:
    TempFolder folder;
    std::wstring file;

    void SetUp() override
    {
        ASSERT_FALSE(folder.Path().empty());
        file = folder.File(L"Settings.cfg");
        CSettings::SetMainWindow(nullptr);
        CSettings::SetChannelsWriter(nullptr);
        CSettings::SetRecordsWriter(nullptr);
    }
    void TearDown() override
    {
        CSettings::SetMainWindow(nullptr);
        CSettings::SetChannelsWriter(nullptr);
        CSettings::SetRecordsWriter(nullptr);
        KV::Lang::SetWantedLanguageSource(nullptr);
        KV::Skin::Free();
    }

    // An absolute file name passes through the path join unchanged, so each
    // test has its own settings file.
    void Load() { CSettings::Load(file); }

    KV::DataKey Saved() const
    {
        KV::DataKey saved;
        EXPECT_TRUE(saved.Load(file));
        return saved;
    }

    void WriteSettingsFile(const KV::DataKey& document) const { ASSERT_TRUE(document.Save(file)); }
};

} // namespace

TEST_F(SettingsTest, FirstRunReadsDefaultsAndSavesWhatWasRead)
{
    Load();
    EXPECT_EQ(file, CSettings::GetFilePath());
    EXPECT_FALSE(CSettings::GetBool("topmost", false));
    EXPECT_EQ(50, CSettings::GetInt("sound_volume", 50));
    EXPECT_EQ(L"", CSettings::GetString("pass", L""));
    EXPECT_EQ(nullptr, CSettings::GetChannelsNode());
    EXPECT_EQ(nullptr, CSettings::GetRecordsNode());
    WINDOWPLACEMENT placement = {};
    EXPECT_FALSE(CSettings::GetPlacement(placement));

    ASSERT_TRUE(CSettings::Save());
    const KV::DataKey saved = Saved();
    EXPECT_EQ("set", saved.GetName());
    const KV::DataKey* options = saved.GetKey("options");
    ASSERT_NE(nullptr, options);
    ASSERT_NE(nullptr, options->FindValue("topmost", KV::ValueType::Bool));
    EXPECT_FALSE(options->GetBool("topmost", true));
    EXPECT_EQ(50, options->GetInt("sound_volume", 0));
    ASSERT_NE(nullptr, options->GetStringW("pass"));
    EXPECT_NE(nullptr, saved.GetKey("channels"));
    EXPECT_EQ(nullptr, saved.GetKey("records"));
    EXPECT_FALSE(saved.HasValue("maindlg_placement"));
}

TEST_F(SettingsTest, OptionsAndPlacementSurviveSaveAndLoad)
{
    Load();
    CSettings::SetBool("use_password", true);
    CSettings::SetInt("cur_country", 7);
    CSettings::SetInt("cur_category", -3);
    CSettings::SetString("pass", L"s\u00e9cret");
    WINDOWPLACEMENT placement = {};
    placement.length = sizeof(placement);
    placement.showCmd = SW_SHOWMAXIMIZED;
    placement.rcNormalPosition = RECT{10, 20, 410, 320};
    CSettings::SetPlacement(placement);
    ASSERT_TRUE(CSettings::Save());

    const KV::DataKey saved = Saved();
    const KV::MemoryStream* bytes = saved.GetBuffer("maindlg_placement");
    ASSERT_NE(nullptr, bytes);
    ASSERT_EQ(44u, bytes->GetSize());
    EXPECT_EQ(0, std::memcmp(bytes->GetBuffer(), &placement, 44));

    Load();
    EXPECT_TRUE(CSettings::GetBool("use_password", false));
    EXPECT_EQ(7, CSettings::GetInt("cur_country", 0));
    EXPECT_EQ(-3, CSettings::GetInt("cur_category", 0));
    EXPECT_EQ(L"s\u00e9cret", CSettings::GetString("pass", L""));
    WINDOWPLACEMENT loaded = {};
    ASSERT_TRUE(CSettings::GetPlacement(loaded));
    EXPECT_EQ(0, std::memcmp(&loaded, &placement, sizeof(placement)));
}

TEST_F(SettingsTest, TypedMapsDoNotConvertAndTheTypeInUseIsSaved)
{
    KV::DataKey document("set");
    KV::DataKey* options = document.AddKey("options");
    options->SetInt("topmost", 1);
    options->SetUInt("sound_volume", 80);
    options->SetStringA("pass", "narrow");
    options->SetBool("show_country", true);
    WriteSettingsFile(document);

    Load();
    EXPECT_FALSE(CSettings::GetBool("topmost", false));
    EXPECT_EQ(50, CSettings::GetInt("sound_volume", 50));
    EXPECT_EQ(L"", CSettings::GetString("pass", L""));
    EXPECT_TRUE(CSettings::GetBool("show_country", false));
    ASSERT_TRUE(CSettings::Save());

    const KV::DataKey reloaded = Saved();
    const KV::DataKey* saved = reloaded.GetKey("options");
    ASSERT_NE(nullptr, saved);
    ASSERT_NE(nullptr, saved->FindValue("topmost"));
    EXPECT_EQ(KV::ValueType::Bool, saved->FindValue("topmost")->GetType());
    EXPECT_FALSE(saved->GetBool("topmost", true));
    EXPECT_EQ(KV::ValueType::Int, saved->FindValue("sound_volume")->GetType());
    EXPECT_EQ(KV::ValueType::StringW, saved->FindValue("pass")->GetType());
}

TEST_F(SettingsTest, PlacementWithLengthZeroIsNone)
{
    KV::DataKey document("set");
    WINDOWPLACEMENT placement = {};
    placement.showCmd = SW_SHOWNORMAL;
    KV::MemoryStream bytes;
    bytes.Write(&placement, sizeof(placement));
    document.SetBuffer("maindlg_placement", bytes);
    WriteSettingsFile(document);

    Load();
    WINDOWPLACEMENT loaded = {};
    EXPECT_FALSE(CSettings::GetPlacement(loaded));
}

TEST_F(SettingsTest, DamagedFileLoadsAsFirstRunAndTheNextSaveIsComplete)
{
    KV::DataKey document("set");
    document.AddKey("options")->SetBool("topmost", true);
    document.AddKey("channels")->AddKey("ru_first");
    ASSERT_TRUE(document.Save(file));
    const std::string good = ReadWholeFile(file);

    for (const std::string& damaged : {std::string("garbage, not a data tree"), good.substr(0, good.size() - 5),
                                       good.substr(0, 6), std::string()}) {
        ASSERT_TRUE(WriteWholeFile(file, damaged));
        Load();
        EXPECT_FALSE(CSettings::GetBool("topmost", false));
        EXPECT_EQ(nullptr, CSettings::GetChannelsNode());
    }
    ASSERT_TRUE(CSettings::Save());
    const KV::DataKey saved = Saved();
    EXPECT_EQ("set", saved.GetName());
    EXPECT_NE(nullptr, saved.GetKey("options"));
}

TEST_F(SettingsTest, FailedSaveLeavesTheGoodFileAsItWas)
{
    Load();
    CSettings::SetInt("sound_volume", 12);
    ASSERT_TRUE(CSettings::Save());
    const std::string good = ReadWholeFile(file);
    ASSERT_FALSE(good.empty());

    CSettings::SetInt("sound_volume", 99);
    // Another program holds the file without sharing: the replace must fail.
    HANDLE locked = CreateFileW(file.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, locked);
    EXPECT_FALSE(CSettings::Save());
    CloseHandle(locked);

    EXPECT_EQ(good, ReadWholeFile(file));
    Load();
    EXPECT_EQ(12, CSettings::GetInt("sound_volume", 50));
}

TEST_F(SettingsTest, ChannelsAndRecordsNodesComeFromTheFileAndTheirWriters)
{
    KV::DataKey document("set");
    document.AddKey("channels")->AddKey("ru_first")->SetBool("f", true);
    document.AddKey("records")->AddKey("0")->SetStringW("n", L"news");
    WriteSettingsFile(document);

    Load();
    ASSERT_NE(nullptr, CSettings::GetChannelsNode());
    EXPECT_NE(nullptr, CSettings::GetChannelsNode()->GetKey("ru_first"));
    ASSERT_NE(nullptr, CSettings::GetRecordsNode());
    EXPECT_EQ(L"news", CSettings::GetRecordsNode()->GetKey("0")->GetStringW("n", L""));

    CSettings::SetChannelsWriter([](KV::DataKey& node) { node.AddKey("de_second")->SetInt("cu", 2); });
    CSettings::SetRecordsWriter([](KV::DataKey& node) { node.AddKey("0")->SetStringW("n", L"film"); });
    ASSERT_TRUE(CSettings::Save());
    const KV::DataKey saved = Saved();
    ASSERT_NE(nullptr, saved.GetKey("channels"));
    EXPECT_EQ(2, saved.GetKey("channels")->GetKey("de_second")->GetInt("cu", 0));
    EXPECT_EQ(nullptr, saved.GetKey("channels")->GetKey("ru_first"));
    EXPECT_EQ(L"film", saved.GetKey("records")->GetKey("0")->GetStringW("n", L""));
    // The loaded document stays as it was loaded.
    EXPECT_NE(nullptr, CSettings::GetChannelsNode()->GetKey("ru_first"));

    // Once the writers are gone, a save keeps what they wrote last.
    CSettings::SetChannelsWriter(nullptr);
    CSettings::SetRecordsWriter(nullptr);
    ASSERT_TRUE(CSettings::Save());
    const KV::DataKey again = Saved();
    const KV::DataKey* channels = again.GetKey("channels");
    ASSERT_NE(nullptr, channels);
    ASSERT_NE(nullptr, channels->GetKey("de_second"));
    EXPECT_EQ(2, channels->GetKey("de_second")->GetInt("cu", 0));
    EXPECT_EQ(nullptr, channels->GetKey("ru_first"));
    const KV::DataKey* records = again.GetKey("records");
    ASSERT_NE(nullptr, records);
    ASSERT_NE(nullptr, records->GetKey("0"));
    EXPECT_EQ(L"film", records->GetKey("0")->GetStringW("n", L""));
}

TEST_F(SettingsTest, ASaveWithoutWritersKeepsTheNodesTheFileHeld)
{
    KV::DataKey document("set");
    KV::DataKey* favourite = document.AddKey("channels")->AddKey("ru_first");
    favourite->SetBool("f", true);
    favourite->SetInt("cu", 1);
    KV::DataKey* record = document.AddKey("records")->AddKey("0");
    record->SetStringW("n", L"news");
    record->SetInt("t", 2);
    WriteSettingsFile(document);

    // Saved twice: what the first save kept must come back from its file.
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        Load();
        ASSERT_TRUE(CSettings::Save());
        const KV::DataKey saved = Saved();
        const KV::DataKey* channels = saved.GetKey("channels");
        ASSERT_NE(nullptr, channels);
        ASSERT_NE(nullptr, channels->GetKey("ru_first"));
        EXPECT_TRUE(channels->GetKey("ru_first")->GetBool("f", false));
        EXPECT_EQ(1, channels->GetKey("ru_first")->GetInt("cu", 0));
        const KV::DataKey* records = saved.GetKey("records");
        ASSERT_NE(nullptr, records);
        ASSERT_NE(nullptr, records->GetKey("0"));
        EXPECT_EQ(L"news", records->GetKey("0")->GetStringW("n", L""));
        EXPECT_EQ(2, records->GetKey("0")->GetInt("t", 0));
    }

    // A file without the nodes gets an empty "channels" and no "records".
    WriteSettingsFile(KV::DataKey("set"));
    Load();
    ASSERT_TRUE(CSettings::Save());
    const KV::DataKey bare = Saved();
    ASSERT_NE(nullptr, bare.GetKey("channels"));
    EXPECT_EQ(0u, bare.GetKey("channels")->GetKeyCount());
    EXPECT_EQ(nullptr, bare.GetKey("records"));
}

TEST_F(SettingsTest, RegisteredMainWindowGivesPlacementAndVisibility)
{
    Load();
    HWND window = CreateWindowExW(0, L"STATIC", L"main", WS_OVERLAPPEDWINDOW, 30, 40, 320, 240, nullptr, nullptr,
                                  GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(nullptr, window);
    CSettings::SetMainWindow(window);
    EXPECT_EQ(window, CSettings::GetMainWindow());
    CSettings::SetBool("main_visible", true);
    ASSERT_TRUE(CSettings::Save());
    DestroyWindow(window);

    const KV::DataKey saved = Saved();
    EXPECT_FALSE(saved.GetKey("options")->GetBool("main_visible", true));
    const KV::MemoryStream* bytes = saved.GetBuffer("maindlg_placement");
    ASSERT_NE(nullptr, bytes);
    WINDOWPLACEMENT placement = {};
    std::memcpy(&placement, bytes->GetBuffer(), sizeof(placement));
    EXPECT_EQ(44u, placement.length);
    EXPECT_EQ(30, placement.rcNormalPosition.left);
    EXPECT_EQ(40 + 240, placement.rcNormalPosition.bottom);
}

TEST_F(SettingsTest, SettingsFileLivesInTheApplicationDataFolder)
{
    const std::wstring name = L"settings-tests-" + std::to_wstring(GetCurrentProcessId()) + L".cfg";
    CSettings::Load(name);
    const std::wstring expected = KV::GetShellFolder(CSIDL_APPDATA, L"") + L"\\Kestrivo\\Brisvane\\" + name;
    EXPECT_EQ(expected, CSettings::GetFilePath());
    ASSERT_TRUE(CSettings::Save());
    EXPECT_TRUE(FileExists(expected));
    DeleteFileW(expected.c_str());
}

TEST_F(SettingsTest, ProductFactsAndLanguageFromTheProductKey)
{
    EXPECT_STREQ(L"Brisvane Recorder", CSettings::GetProductName());
    EXPECT_STREQ(L"2.3.2", CSettings::GetVersion());
    EXPECT_STREQ(L"Software\\Kestrivo\\Brisvane", CSettings::GetProductKeyPath());

    TestRegistryKey company(L"Software\\Kestrivo");
    TestRegistryKey product(CSettings::GetProductKeyPath());
    ASSERT_NE(nullptr, product.Get());
    std::wstring previous;
    const bool hadLanguage = product.ReadString(L"Language", previous);

    const wchar_t ru[] = L"ru";
    RegSetValueExW(product.Get(), L"Language", 0, REG_SZ, reinterpret_cast<const BYTE*>(ru), sizeof(ru));
    Load();
    EXPECT_EQ(L"ru", CSettings::GetLanguage());
    // The language pack asks the settings for the option "Language".
    KV::Lang::Load(L"fixtures\\lang_main.kvdt");
    EXPECT_EQ(L"ru", KV::Lang::GetCurrentExt());
    CSettings::SetString("Language", L"en");
    KV::Lang::Load(L"fixtures\\lang_main.kvdt");
    EXPECT_EQ(L"en", KV::Lang::GetCurrentExt());
    KV::Lang::Free();

    RegDeleteValueW(product.Get(), L"Language");
    Load();
    EXPECT_EQ(L"en", CSettings::GetLanguage());

    if (hadLanguage)
        RegSetValueExW(product.Get(), L"Language", 0, REG_SZ, reinterpret_cast<const BYTE*>(previous.c_str()),
                       static_cast<DWORD>((previous.size() + 1) * sizeof(wchar_t)));
}

TEST_F(SettingsTest, AutostartWritesAndRemovesTheRunEntry)
{
    TestRegistryKey run(RunKey);
    ASSERT_NE(nullptr, run.Get());
    struct RemoveEntry {
        HKEY key;
        ~RemoveEntry() { RegDeleteValueW(key, L"Brisvane"); }
    } removeEntry{run.Get()};
    RegDeleteValueW(run.Get(), L"Brisvane");
    Load();
    EXPECT_TRUE(CSettings::GetAutostart());

    CSettings::SetAutostart(true);
    std::wstring path;
    DWORD type = 0;
    DWORD bytes = 0;
    ASSERT_TRUE(run.ReadString(L"Brisvane", path, &type, &bytes));
    EXPECT_EQ(static_cast<DWORD>(REG_SZ), type);
    EXPECT_EQ(KV::GetProgramPath(), path);
    EXPECT_EQ((path.size() + 1) * sizeof(wchar_t), bytes);

    CSettings::SetAutostart(false);
    EXPECT_FALSE(CSettings::GetAutostart());
    EXPECT_FALSE(run.HasValue(L"Brisvane"));
    // Removing a value that is not there is no error.
    CSettings::SetAutostart(false);
    EXPECT_FALSE(run.HasValue(L"Brisvane"));
    ASSERT_TRUE(CSettings::Save());
    EXPECT_FALSE(Saved().GetKey("options")->GetBool("autostart", true));
}

TEST_F(SettingsTest, ImagePackImagesReachTheSkin)
{
    KV::Skin::Free();
    Load();
    CImage* image = KV::Skin::GetImage("pack_only");
    ASSERT_NE(nullptr, image);
    EXPECT_EQ(32, image->GetBPP());
    // Premultiplied like every skin image: red 200 at alpha 128.
    EXPECT_EQ(100, image->GetPixelAddress(0, 0)[2]);
}

// Memory running out at any point of the load: nothing is thrown, the run
// goes on with defaults, and the good file is not overwritten with them.
TEST_F(SettingsTest, RunningOutOfMemoryWhileLoadingKeepsDefaultsAndTheFile)
{
    KV::DataKey document("set");
    KV::DataKey* options = document.AddKey("options");
    options->SetBool("topmost", true);
    for (int i = 0; i < 100; ++i)
        options->SetStringW("a string option with a long name " + std::to_string(i), L"its text, long enough");
    document.AddKey("channels")->AddKey("ru_first")->SetInt("cu", 1);
    WriteSettingsFile(document);
    const std::string good = ReadWholeFile(file);

    int defaults = 0;
    for (int64_t limit : {0, 256, 2048, 8192, 16384, 32768, 65536}) {
        AllocationTracker::FailBeyond(limit);
        EXPECT_NO_THROW(Load()) << "limit " << limit;
        AllocationTracker::StopFailing();
        if (CSettings::GetBool("topmost", false)) {
            EXPECT_NE(nullptr, CSettings::GetChannelsNode()) << "limit " << limit;
            continue;
        }
        ++defaults;
        EXPECT_EQ(nullptr, CSettings::GetChannelsNode()) << "limit " << limit;
        CSettings::Save();
        EXPECT_EQ(good, ReadWholeFile(file)) << "limit " << limit;
    }
    EXPECT_GE(defaults, 3);
    Load();
    EXPECT_TRUE(CSettings::GetBool("topmost", false));
}
