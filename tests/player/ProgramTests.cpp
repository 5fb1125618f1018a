// The real program, started as a user starts it: Brisvane.exe copied with
// the shipped data and a catalogue of the test into a program folder of its
// own, driven through its windows from this process. Its settings file is
// the user's real one: the test keeps the one it finds and puts it back.

#include "foundation/DataKey.h"
#include "foundation/FileStream.h"
#include "foundation/MemoryStream.h"
#include "foundation/RegistryKey.h"
#include "foundation/Utilities.h"
#include "player/app/Settings.h"
#include "tests/player/PlayerTestSupport.h"
#include "tests/player/ProgramDriver.h"
#include "tests/support/TempFolder.h"
#include "tests/support/UpdateFileBytes.h"
#include "tests/support/WavFile.h"

#include <gtest/gtest.h>
#include <shlobj.h>

#include <cstring>
#include <string>

namespace PlayerTest {
namespace {

constexpr UINT FavoriteCommand = 32787;
constexpr UINT SecondStreamCommand = 801;

std::wstring ProgramFolder()
{
    return ProgramFolderNamed(L"player_program");
}

std::wstring ProgramPath()
{
    return ProgramFolder() + L"\\Brisvane.exe";
}

// A copy of the program in the tests' program folder.
class Program : public ProgramProcess {
public:
    explicit Program(const std::wstring& arguments) : ProgramProcess(ProgramFolder(), arguments) {}
};

class RealProgram : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(InstallProgram(ProgramFolder()));
        WriteProgramCatalogue(ProgramFolder() + L"\\Channels.brsc");
        WriteSettings(StartSettings());
        ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, CSettings::GetProductKeyPath(), 0, nullptr, 0,
                                    KEY_READ | KEY_WRITE, nullptr, &m_key, nullptr),
                  ERROR_SUCCESS);
        ClearPendingValues();
        wchar_t version[256] = {};
        DWORD bytes = sizeof(version) - sizeof(wchar_t);
        m_hadVersion = ::RegQueryValueExW(m_key, L"CVersion", nullptr, nullptr, reinterpret_cast<BYTE*>(version),
                                          &bytes) == ERROR_SUCCESS;
        m_version = version;
    }
    void TearDown() override
    {
        ClearPendingValues();
        if (m_hadVersion)
            WriteValue(L"CVersion", m_version);
        else
            ::RegDeleteValueW(m_key, L"CVersion");
        ::RegCloseKey(m_key);
    }

    // Wine's Media Player control plays files but fails on HTTP streams:
    // the channels' streams are a WAV file beside the program.
    void WriteProgramCatalogue(const std::wstring& path)
    {
        const std::wstring stream = ProgramFolder() + L"\\stream.wav";
        HANDLE file = ::CreateFileW(stream.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        const std::string wav = SilenceWav();
        DWORD written = 0;
        ::WriteFile(file, wav.data(), static_cast<DWORD>(wav.size()), &written, nullptr);
        ::CloseHandle(file);
        std::vector<ChannelSpec> channels;
        auto add = [&](const char* country, const char* key, const wchar_t* name) {
            ChannelSpec spec;
            spec.country = country;
            spec.key = key;
            spec.name = name;
            spec.category = "n";
            spec.player = "m";
            spec.radio = true;
            spec.streams = {{128, stream}, {64, stream}};
            channels.push_back(spec);
        };
        add("de", "tst_alpha", L"Alpha Welle");
        add("de", "tst_beta", L"Beta Welle");
        add("fr", "tst_gamma", L"Gamma Ondes");
        MakeCatalogue(channels).Save(path);
    }
    void ClearPendingValues()
    {
        for (const wchar_t* name : {L"CUpdate", L"CUpdateVersion", L"Update", L"UpdateVersion"})
            ::RegDeleteValueW(m_key, name);
    }
    void WriteValue(const wchar_t* name, const std::wstring& value)
    {
        ::RegSetValueExW(m_key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                         static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    }
    bool HasValue(const wchar_t* name)
    {
        return ::RegQueryValueExW(m_key, name, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
    }

    // The channel panel of a main window: the child dialog with the lists.
    static HWND Panel(HWND main)
    {
        for (HWND child = ::GetWindow(main, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT))
            if (::GetDlgItem(child, 1007) != nullptr)
                return child;
        return nullptr;
    }
    static HWND TabStrip(HWND panel) { return ::GetDlgItem(panel, 104); }

    KeptSettings m_keptSettings;
    HKEY m_key = nullptr;
    bool m_hadVersion = false;
    std::wstring m_version;
};

TEST_F(RealProgram, ShowsItsWindowPlaysAChannelAndRestoresWhatTheUserSetAfterExit)
{
    RECT placed{};
    {
        Program program(L"");
        ASSERT_TRUE(program.Started());
        HWND main = program.WaitForMainWindow();
        ASSERT_NE(main, nullptr);
        EXPECT_TRUE(WaitFor([&] { return Text(main) == L"Brisvane Recorder"; })) << Text(main);
        // The splash has gone once the window is up.
        EXPECT_TRUE(WaitFor([&] { return WindowsOf(program.Id()).size() >= 1 && [&] {
            for (HWND window : WindowsOf(program.Id()))
                if (::IsWindowVisible(window) && (::GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_TOOLWINDOW) &&
                    ClassOf(window) == L"#32770")
                    return false;
            return true;
        }(); }));

        HWND panel = Panel(main);
        ASSERT_NE(panel, nullptr);
        HWND list = ::GetDlgItem(panel, 1007);
        EXPECT_EQ(::SendMessageW(list, LB_GETCOUNT, 0, 0), 3);
        // Country "Germany" (entries: all, France, Germany).
        HWND country = ::GetDlgItem(panel, 1010);
        ::SendMessageW(country, CB_SETCURSEL, 2, 0);
        ::SendMessageW(panel, WM_COMMAND, MAKEWPARAM(1010, CBN_SELCHANGE), reinterpret_cast<LPARAM>(country));
        EXPECT_EQ(::SendMessageW(list, LB_GETCOUNT, 0, 0), 2);

        // Beta Welle (the second row): a favourite with its second stream.
        ::SendMessageW(list, LB_SETCURSEL, 1, 0);
        ::SendMessageW(panel, WM_COMMAND, FavoriteCommand, 0);
        ::SendMessageW(panel, WM_COMMAND, SecondStreamCommand, 0);
        EXPECT_EQ(::SendMessageW(::GetDlgItem(panel, 1008), LB_GETCOUNT, 0, 0), 1);

        // A double-click on its row plays it.
        const int rowHeight = static_cast<int>(::SendMessageW(list, LB_GETITEMHEIGHT, 1, 0));
        EXPECT_EQ(rowHeight, 37);
        const LPARAM at = MAKELPARAM(20, rowHeight + rowHeight / 2);
        ::PostMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, at);
        ::PostMessageW(list, WM_LBUTTONUP, 0, at);
        ::PostMessageW(list, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
        ::PostMessageW(list, WM_LBUTTONUP, 0, at);
        EXPECT_TRUE(WaitFor([&] { return Text(main) == L"Brisvane Recorder - Beta Welle"; })) << Text(main);

        // The favourites tab.
        HWND strip = TabStrip(panel);
        RECT stripRect{};
        ::GetClientRect(strip, &stripRect);
        const LPARAM tab = MAKELPARAM(stripRect.right / 2, stripRect.bottom / 2);
        ::PostMessageW(strip, WM_MOUSEMOVE, 0, tab);
        ::PostMessageW(strip, WM_LBUTTONDOWN, MK_LBUTTON, tab);
        EXPECT_TRUE(WaitFor([&] { return ::IsWindowVisible(::GetDlgItem(panel, 1008)) != FALSE; }));

        ::SetWindowPos(main, nullptr, 40, 30, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        ::GetWindowRect(main, &placed);
        EXPECT_EQ(program.Exit(main), 0);
    }

    KV::DataKey saved;
    ASSERT_TRUE(saved.Load(SettingsFile()));
    const KV::DataKey* options = saved.GetKey("options");
    ASSERT_NE(options, nullptr);
    EXPECT_EQ(options->GetInt("cur_country", -1), 2);
    EXPECT_EQ(options->GetInt("channels_tab", -1), 1);
    EXPECT_EQ(options->GetStringW("cur_channel", L""), L"de_tst_beta");
    EXPECT_FALSE(options->GetBool("autostart", true));
    const KV::DataKey* beta = saved.GetKey("channels") ? saved.GetKey("channels")->GetKey("de_tst_beta") : nullptr;
    ASSERT_NE(beta, nullptr);
    EXPECT_TRUE(beta->GetBool("f", false));
    EXPECT_EQ(beta->GetInt("cu", -1), 1);
    ASSERT_NE(saved.GetBuffer("maindlg_placement"), nullptr);

    Program again(L"");
    HWND main = again.WaitForMainWindow();
    ASSERT_NE(main, nullptr);
    // The saved place shows the window a moment before its title is set.
    EXPECT_TRUE(WaitFor([&] { return Text(main) == L"Brisvane Recorder - Beta Welle"; })) << Text(main);
    HWND panel = Panel(main);
    EXPECT_EQ(::SendMessageW(::GetDlgItem(panel, 1010), CB_GETCURSEL, 0, 0), 2);
    EXPECT_TRUE(::IsWindowVisible(::GetDlgItem(panel, 1008)));
    EXPECT_EQ(::SendMessageW(::GetDlgItem(panel, 1008), LB_GETCOUNT, 0, 0), 1);
    RECT restored{};
    ::GetWindowRect(main, &restored);
    EXPECT_EQ(restored.left, placed.left);
    EXPECT_EQ(restored.top, placed.top);
    EXPECT_EQ(again.Exit(main), 0);
    ASSERT_TRUE(saved.Load(SettingsFile()));
    beta = saved.GetKey("channels") ? saved.GetKey("channels")->GetKey("de_tst_beta") : nullptr;
    ASSERT_NE(beta, nullptr);
    EXPECT_EQ(beta->GetInt("cu", -1), 1);
}

TEST_F(RealProgram, CarriesItsVersionAndIcon)
{
    DWORD ignored = 0;
    const DWORD size = ::GetFileVersionInfoSizeW(ProgramPath().c_str(), &ignored);
    ASSERT_GT(size, 0u);
    std::vector<BYTE> info(size);
    ASSERT_TRUE(::GetFileVersionInfoW(ProgramPath().c_str(), 0, size, info.data()));
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(::VerQueryValueW(info.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(fixed->dwFileVersionMS, static_cast<DWORD>(MAKELONG(3, 2)));
    EXPECT_EQ(fixed->dwFileVersionLS, static_cast<DWORD>(MAKELONG(0, 2)));
    wchar_t* text = nullptr;
    ASSERT_TRUE(::VerQueryValueW(info.data(), L"\\StringFileInfo\\040904b0\\ProductVersion",
                                 reinterpret_cast<void**>(&text), &length));
    EXPECT_STREQ(text, L"2.3.2");

    HMODULE program = ::LoadLibraryExW(ProgramPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(program, nullptr);
    for (int size : {16, 32, 48}) {
        HICON icon = static_cast<HICON>(::LoadImageW(program, MAKEINTRESOURCEW(128), IMAGE_ICON, size, size, 0));
        EXPECT_NE(icon, nullptr) << size;
        if (icon != nullptr)
            ::DestroyIcon(icon);
    }
    ::FreeLibrary(program);
}

TEST_F(RealProgram, ASecondCopyRefusesToRunUnlessItsCommandLineIsRun)
{
    Program first(L"");
    HWND main = first.WaitForMainWindow();
    ASSERT_NE(main, nullptr);

    for (const wchar_t* arguments : {L"", L"Run", L"run now"}) {
        Program second(arguments);
        HWND box = nullptr;
        ASSERT_TRUE(WaitFor([&] { return (box = second.MessageBoxWith(L"Program already running!")) != nullptr; }))
            << arguments;
        EXPECT_EQ(Text(box), L"Brisvane");
        EXPECT_EQ(second.MainWindow(), nullptr);
        ::PostMessageW(box, WM_COMMAND, IDOK, 0);
        EXPECT_EQ(second.WaitForExit(), 0) << arguments;
    }

    Program third(L"run");
    HWND thirdMain = third.WaitForMainWindow();
    ASSERT_NE(thirdMain, nullptr);
    EXPECT_NE(thirdMain, main);
    EXPECT_EQ(third.Exit(thirdMain), 0);
    EXPECT_EQ(first.Exit(main), 0);
}

TEST_F(RealProgram, PendingUpdatesAreAppliedOnlyByACopyThatIsAlone)
{
    const std::wstring updates = ProgramFolder() + L"\\Updates";
    ::CreateDirectoryW(updates.c_str(), nullptr);
    const std::wstring setup = updates + L"\\setup.exe";
    const std::wstring log = setup + L".log";
    ::DeleteFileW(log.c_str());
    // The stand-in setup as a setup package of the recorded version.
    ASSERT_TRUE(WriteWholeFile(
        setup, MakeSetupPackageBytes(ReadWholeFile(KV::GetProgramFile(L"player_tools\\fake_setup.exe")), L"3.0")));
    const std::wstring downloaded = updates + L"\\Channels.brsc";
    {
        // One channel only: the catalogue the copy shows tells which it read.
        std::vector<ChannelSpec> one(1);
        one[0].country = "de";
        one[0].key = "tst_new";
        one[0].name = L"Neu";
        one[0].category = "n";
        one[0].player = "m";
        one[0].streams = {{128, L"http://127.0.0.1:9/new"}};
        MakeCatalogue(one).Save(downloaded);
    }
    WriteValue(L"CUpdate", downloaded);
    WriteValue(L"CUpdateVersion", L"9");
    WriteValue(L"Update", setup);
    WriteValue(L"UpdateVersion", L"3.0");

    {
        Program first(L"");
        // The first copy was alone: it moved the catalogue, started the
        // setup and ended without a window.
        EXPECT_EQ(first.WaitForExit(), 0);
    }
    EXPECT_FALSE(HasValue(L"CUpdate"));
    EXPECT_FALSE(HasValue(L"Update"));
    EXPECT_FALSE(HasValue(L"UpdateVersion"));
    wchar_t version[16] = {};
    DWORD bytes = sizeof(version) - sizeof(wchar_t);
    EXPECT_EQ(::RegQueryValueExW(m_key, L"CVersion", nullptr, nullptr, reinterpret_cast<BYTE*>(version), &bytes),
              ERROR_SUCCESS);
    EXPECT_EQ(std::wstring(version), L"9");
    EXPECT_FALSE(::GetFileAttributesW(downloaded.c_str()) != INVALID_FILE_ATTRIBUTES);
    ASSERT_TRUE(WaitFor([&] { return ::GetFileAttributesW(log.c_str()) != INVALID_FILE_ATTRIBUTES; }));
    {
        HANDLE file = ::CreateFileW(log.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
        wchar_t text[1024] = {};
        DWORD read = 0;
        ::ReadFile(file, text, sizeof(text) - sizeof(wchar_t), &read, nullptr);
        ::CloseHandle(file);
        EXPECT_NE(std::wstring(text).find(L"setup.exe\" update"), std::wstring::npos) << text;
    }

    // A copy that is not alone leaves pending values where they are.
    Program alone(L"");
    HWND main = alone.WaitForMainWindow();
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(::SendMessageW(::GetDlgItem(Panel(main), 1007), LB_GETCOUNT, 0, 0), 1);
    WriteValue(L"Update", setup);
    {
        Program second(L"run");
        HWND secondMain = second.WaitForMainWindow();
        ASSERT_NE(secondMain, nullptr);
        EXPECT_TRUE(HasValue(L"Update"));
        EXPECT_EQ(second.Exit(secondMain), 0);
    }
    EXPECT_EQ(alone.Exit(main), 0);
    ::DeleteFileW(log.c_str());
    ::DeleteFileW(setup.c_str());
    WriteProgramCatalogue(ProgramFolder() + L"\\Channels.brsc");
}

TEST_F(RealProgram, WithoutACatalogueItKeepsTheSavedChoicesOfTheChannels)
{
    KV::DataKey settings;
    ASSERT_TRUE(settings.Load(SettingsFile()));
    KV::DataKey* beta = settings.AddKey("channels")->AddKey("de_tst_beta");
    beta->SetBool("f", true);
    beta->SetInt("cu", 1);
    ASSERT_TRUE(settings.Save(SettingsFile()));
    const std::wstring catalogue = ProgramFolder() + L"\\Channels.brsc";

    // Missing, then unreadable.
    for (const char* content : {static_cast<const char*>(nullptr), "not a catalogue"}) {
        SCOPED_TRACE(content ? content : "missing");
        ::DeleteFileW(catalogue.c_str());
        if (content) {
            KV::FileStream file(catalogue.c_str(), false);
            file.Write(content, static_cast<uint32_t>(std::strlen(content)));
        }
        Program program(L"");
        HWND main = program.WaitForMainWindow();
        ASSERT_NE(main, nullptr);
        EXPECT_EQ(::SendMessageW(::GetDlgItem(Panel(main), 1007), LB_GETCOUNT, 0, 0), 0);
        EXPECT_EQ(program.Exit(main), 0);

        KV::DataKey saved;
        ASSERT_TRUE(saved.Load(SettingsFile()));
        const KV::DataKey* channels = saved.GetKey("channels");
        ASSERT_NE(channels, nullptr);
        const KV::DataKey* kept = channels->GetKey("de_tst_beta");
        ASSERT_NE(kept, nullptr);
        EXPECT_TRUE(kept->GetBool("f", false));
        EXPECT_EQ(kept->GetInt("cu", -1), 1);
    }
}

TEST_F(RealProgram, AnEndingSessionPutsTheMediaPlayerOverlayPreferenceBack)
{
    const wchar_t videoSettings[] = L"Software\\Microsoft\\MediaPlayer\\Preferences\\VideoSettings";
    const bool hadKey = KV::RegistryKey(HKEY_CURRENT_USER, videoSettings, KEY_READ) ? true : false;
    auto overlay = [&]() -> DWORD {
        KV::RegistryKey key(HKEY_CURRENT_USER, videoSettings, KEY_READ);
        DWORD value = 12345;
        DWORD size = sizeof(value);
        if (!key || ::RegQueryValueExW(key.Get(), L"UseVMROverlay", nullptr, nullptr,
                                       reinterpret_cast<BYTE*>(&value), &size) != ERROR_SUCCESS)
            return 12345;
        return value;
    };
    DWORD userValue = 7;
    {
        KV::RegistryKey key = KV::RegistryKey::Create(HKEY_CURRENT_USER, videoSettings, KEY_WRITE);
        ASSERT_TRUE(key);
        ASSERT_EQ(::RegSetValueExW(key.Get(), L"UseVMROverlay", 0, REG_DWORD,
                                   reinterpret_cast<const BYTE*>(&userValue), sizeof(userValue)),
                  ERROR_SUCCESS);
    }

    {
        Program program(L"");
        HWND main = program.WaitForMainWindow();
        ASSERT_NE(main, nullptr);
        EXPECT_TRUE(WaitFor([&] { return overlay() == 0; })) << overlay();
        // Windows asks, then tells the session ends; the process is ended
        // after that without an exit of its own (the Program object ends
        // it as Windows would).
        EXPECT_NE(::SendMessageW(main, WM_QUERYENDSESSION, 0, 0), 0);
        ::SendMessageW(main, WM_ENDSESSION, TRUE, 0);
        EXPECT_EQ(overlay(), userValue);
    }

    if (hadKey)
        ::RegDeleteValueW(KV::RegistryKey(HKEY_CURRENT_USER, videoSettings, KEY_WRITE).Get(), L"UseVMROverlay");
    else
        ::RegDeleteKeyW(HKEY_CURRENT_USER, videoSettings);
}

}  // namespace
}  // namespace PlayerTest
