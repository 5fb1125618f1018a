// The built program itself: its image with an archive of the tests'
// settings appended, started as a process of its own with a command line.

#include "tests/updater/UpdaterFixture.h"

#include "tests/support/HostPath.h"
#include "tests/support/TempFolder.h"
#include "tests/support/ZipBuilder.h"

#include <cwchar>
#include <vector>

namespace {

constexpr DWORD ProcessDeadline = 60000;

// A program started by the test; one that is still running when the object
// goes is ended (it is ours).
class StartedProgram {
public:
    // A non-empty temporaryFolder becomes the program's TMP and TEMP.
    StartedProgram(const std::wstring& path, const std::wstring& arguments,
                   const std::wstring& temporaryFolder = std::wstring())
    {
        std::wstring commandLine = L"\"" + path + L"\" " + arguments;
        STARTUPINFOW startup = {};
        startup.cb = sizeof(startup);
        PROCESS_INFORMATION info = {};
        std::vector<wchar_t> environment;
        if (!temporaryFolder.empty())
            environment = EnvironmentWithTemporaryFolder(temporaryFolder);
        if (::CreateProcessW(path.c_str(), &commandLine[0], nullptr, nullptr, FALSE, CREATE_UNICODE_ENVIRONMENT,
                             environment.empty() ? nullptr : environment.data(), nullptr, &startup, &info)) {
            ::CloseHandle(info.hThread);
            m_process = info.hProcess;
        }
    }
    StartedProgram(const StartedProgram&) = delete;
    StartedProgram& operator=(const StartedProgram&) = delete;
    ~StartedProgram()
    {
        if (!m_process)
            return;
        if (::WaitForSingleObject(m_process, 0) == WAIT_TIMEOUT) {
            ::TerminateProcess(m_process, 99);
            ::WaitForSingleObject(m_process, ProcessDeadline);
        }
        ::CloseHandle(m_process);
    }

    bool IsStarted() const { return m_process != nullptr; }
    // The exit code once it ended within the deadline; -1 otherwise.
    int Wait(const std::function<void()>& whileRunning = nullptr)
    {
        const bool ended = WaitFor(
            [&] {
                if (whileRunning)
                    whileRunning();
                return ::WaitForSingleObject(m_process, 0) == WAIT_OBJECT_0;
            },
            ProcessDeadline);
        DWORD code = 0;
        if (!ended || !::GetExitCodeProcess(m_process, &code))
            return -1;
        return static_cast<int>(code);
    }

private:
    // This process's environment block with TMP and TEMP set to folder.
    static std::vector<wchar_t> EnvironmentWithTemporaryFolder(const std::wstring& folder)
    {
        std::vector<wchar_t> block;
        wchar_t* own = ::GetEnvironmentStringsW();
        for (const wchar_t* entry = own; entry && *entry; entry += wcslen(entry) + 1) {
            if (_wcsnicmp(entry, L"TMP=", 4) != 0 && _wcsnicmp(entry, L"TEMP=", 5) != 0)
                block.insert(block.end(), entry, entry + wcslen(entry) + 1);
        }
        if (own)
            ::FreeEnvironmentStringsW(own);
        for (const wchar_t* name : {L"TMP=", L"TEMP="}) {
            const std::wstring entry = name + folder;
            block.insert(block.end(), entry.c_str(), entry.c_str() + entry.size() + 1);
        }
        block.push_back(L'\0');
        return block;
    }

    HANDLE m_process = nullptr;
};

class UpdaterProcessTest : public UpdaterFixture {
protected:
    // The program image followed by the tests' archive.
    std::wstring WriteProgramCopy()
    {
        const std::string image =
            ReadWholeFile(ProgramImage(IsChannelListUpdater() ? L"Chanfresh.exe" : L"Updater.exe"));
        EXPECT_GT(image.size(), 1000u);
        TestSettingsOptions options;
        options.folderUrl = server.FolderUrl();
        EXPECT_TRUE(WriteProgramFile(ProgramFile(), MakeTestSettings(options), image));
        return ProgramFile();
    }
};

TEST_F(UpdaterProcessTest, HiddenStartWithoutUpdateEndsWithoutAWindow)
{
    key.Set(traits.installedVersionValue, L"2.4");
    PutOffer("2.4");
    const std::wstring program = WriteProgramCopy();
    StartedProgram run(program, L"-h");
    ASSERT_TRUE(run.IsStarted());
    bool shown = false;
    const int code = run.Wait([&] {
        HWND frame = ::FindWindowW(nullptr, ExpectedCaption().c_str());
        shown = shown || (frame && ::IsWindowVisible(frame));
    });
    EXPECT_EQ(code, 2);
    EXPECT_FALSE(shown);
    EXPECT_EQ(server.RequestCount(CheckDocumentName()), 1);
}

TEST_F(UpdaterProcessTest, SecondInstanceShowsTheRunningOneOrLeavesSilently)
{
    key.Set(traits.installedVersionValue, L"2.4");
    PutOffer("2.4");
    const std::wstring program = WriteProgramCopy();
    StartedProgram first(program, L"");
    ASSERT_TRUE(first.IsStarted());
    HWND frame = nullptr;
    ASSERT_TRUE(WaitFor([&] {
        frame = ::FindWindowW(nullptr, ExpectedCaption().c_str());
        return frame && ::IsWindowVisible(frame);
    }));
    ASSERT_TRUE(WaitFor([&] { return server.RequestCount(CheckDocumentName()) == 1; }));

    ::ShowWindow(frame, SW_HIDE);
    StartedProgram silent(program, L"/h");
    EXPECT_EQ(silent.Wait(), 0);
    EXPECT_FALSE(::IsWindowVisible(frame));

    StartedProgram visible(program, L"-p");
    EXPECT_EQ(visible.Wait(), 0);
    EXPECT_TRUE(::IsWindowVisible(frame));
    // Neither second instance checked.
    EXPECT_EQ(server.RequestCount(CheckDocumentName()), 1);

    ::PostMessageW(frame, WM_COMMAND, IDCANCEL, 0);
    EXPECT_EQ(first.Wait(), 2);
}

// The player's product key, and the test package's own, as the hand-off
// leaves them: the values this test touches are taken away first and after.
class HandOffKeys {
public:
    HandOffKeys()
    {
        Clean();
        ::RegCreateKeyExW(HKEY_CURRENT_USER, PlayerKey, 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr, &m_player,
                          nullptr);
        ::RegCreateKeyExW(HKEY_CURRENT_USER, PackageKey, 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr, &m_package,
                          nullptr);
    }
    ~HandOffKeys()
    {
        if (m_player)
            ::RegCloseKey(m_player);
        if (m_package)
            ::RegCloseKey(m_package);
        Clean();
    }
    HandOffKeys(const HandOffKeys&) = delete;
    HandOffKeys& operator=(const HandOffKeys&) = delete;

    static constexpr const wchar_t* PlayerKey = L"Software\\Kestrivo\\Brisvane";
    static constexpr const wchar_t* PackageKey = L"SOFTWARE\\Kestrivo\\BrisvaneSetupTest";

    HKEY Player() const { return m_player; }
    HKEY Package() const { return m_package; }

    static void Set(HKEY key, const wchar_t* name, const std::wstring& text)
    {
        ::RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                         static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
    }
    static std::wstring Get(HKEY key, const wchar_t* name)
    {
        wchar_t text[1100] = L"";
        DWORD bytes = sizeof(text) - sizeof(wchar_t);
        if (::RegQueryValueExW(key, name, nullptr, nullptr, reinterpret_cast<BYTE*>(text), &bytes) != ERROR_SUCCESS)
            return std::wstring();
        return text;
    }

private:
    static void Clean()
    {
        HKEY player = nullptr;
        if (::RegOpenKeyExW(HKEY_CURRENT_USER, PlayerKey, 0, KEY_WRITE, &player) == ERROR_SUCCESS) {
            for (const wchar_t* name : {L"Update", L"UpdateVersion", L"Version"})
                ::RegDeleteValueW(player, name);
            ::RegCloseKey(player);
        }
        ::RegDeleteTreeW(HKEY_CURRENT_USER, PackageKey);
        ::RegDeleteTreeW(HKEY_CURRENT_USER,
                         L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\BrisvaneSetupTest");
    }

    HKEY m_player = nullptr;
    HKEY m_package = nullptr;
};

std::wstring TestPackage()
{
    return WindowsPathOfHostPath(L"" UPDATER_TEST_WIZARD_FIXTURES) + L"\\TestSetup.exe";
}

// Waits for the visible frame of the updater and presses Download on its
// offer.
HWND DownloadOffer(const std::wstring& caption)
{
    HWND frame = nullptr;
    WaitFor([&] {
        frame = ::FindWindowW(nullptr, caption.c_str());
        return frame && ::IsWindowVisible(frame) && ::IsWindowVisible(::GetDlgItem(frame, IDOK));
    });
    if (frame)
        ::PostMessageW(frame, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    return frame;
}

// Cancel while the download is under way: the frame closes and the process
// ends without waiting for its worker, which is still waiting for the rest
// of the file. Nothing of the transfer stays in the temporary folder.
TEST_F(UpdaterProcessTest, CancelledDownloadLeavesNoTemporaryFileWhenTheProcessEndsFirst)
{
    PutOffer("2.4");
    UpdateServer::File held;
    held.holdAfter = 20000;
    PutDownload(std::string(100000, 'c'), held);
    const std::wstring program = WriteProgramCopy();
    TempRecordsFolder temporary;
    StartedProgram run(program, L"", temporary.Path());
    ASSERT_TRUE(run.IsStarted());
    HWND frame = DownloadOffer(ExpectedCaption());
    ASSERT_NE(frame, nullptr);
    ASSERT_TRUE(WaitFor([this] { return server.IsHolding(); }));
    // The transfer is written into the program's own temporary folder.
    EXPECT_TRUE(WaitFor([&] { return !temporary.Files().empty(); }));

    ::PostMessageW(frame, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    EXPECT_EQ(run.Wait(), 2);
    EXPECT_EQ(temporary.Files(), std::vector<std::wstring>());
    EXPECT_FALSE(key.Has(traits.pendingVersionValue));
    EXPECT_FALSE(FileExists(ExpectedTarget()));
}

// Cancel while Chanfresh extracts the downloaded catalogue (an archive
// whose entry takes long to write): the process ends without waiting for
// its worker, which is still writing Updates\\Channels.brsc.part. Neither
// that file nor the download stays behind.
TEST_F(UpdaterProcessTest, CancelledExtractionLeavesNoPartialFileWhenTheProcessEndsFirst)
{
    if (!IsChannelListUpdater())
        GTEST_SKIP() << "the catalogue's extraction";
    PutOffer("2.4");
    UpdateServer::File archive;
    // Just within what a catalogue may be, so that its writing takes long.
    archive.body = ZipBuilder().AddDeflatedZeros("Channels.brsc", 255u << 20).Build();
    server.Put(DownloadName(), archive);
    const std::wstring program = WriteProgramCopy();
    const std::wstring partial = ExpectedTarget() + L".part";
    TempRecordsFolder temporary;
    StartedProgram run(program, L"", temporary.Path());
    ASSERT_TRUE(run.IsStarted());
    HWND frame = DownloadOffer(ExpectedCaption());
    ASSERT_NE(frame, nullptr);
    ASSERT_TRUE(WaitFor([&] { return FileExists(partial); }));

    ::PostMessageW(frame, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    EXPECT_EQ(run.Wait(), 2);
    EXPECT_FALSE(FileExists(partial));
    EXPECT_EQ(temporary.Files(), std::vector<std::wstring>());
    EXPECT_FALSE(key.Has(traits.pendingVersionValue));
    EXPECT_FALSE(FileExists(ExpectedTarget()));
    ::DeleteFileW(partial.c_str());
}

// End to end with the built programs: the updater, started hidden as the
// player starts it, offers the package; a hostile file is never recorded;
// the genuine package is recorded, and the player's next start runs it with
// "update", which installs it and starts the product's program again.
TEST_F(UpdaterProcessTest, GenuinePackageIsHandedToThePlayerAndRunHostileOneNever)
{
    if (IsChannelListUpdater())
        GTEST_SKIP() << "the program updater's hand-off";
    HandOffKeys keys;
    ASSERT_TRUE(keys.Player() && keys.Package());
    HandOffKeys::Set(keys.Player(), L"Version", L"9.0");
    TempFolder installed;
    HandOffKeys::Set(keys.Package(), L"InstallDir", installed.Path());
    HandOffKeys::Set(keys.Package(), L"Language", L"en");

    // The product folder: the player (under a name of its own, so that no
    // other player run by the tests counts as a second copy) and the updater
    // reading the player's product key.
    const std::wstring player = folder.File(L"BrisvaneHandOff.exe");
    ASSERT_TRUE(::CopyFileW(FinishedProgram(L"Brisvane.exe").c_str(), player.c_str(), FALSE));
    TestSettingsOptions options;
    options.folderUrl = server.FolderUrl();
    options.productKey = HandOffKeys::PlayerKey;
    ASSERT_TRUE(WriteProgramFile(ProgramFile(), MakeTestSettings(options), ReadWholeFile(ProgramImage(L"Updater.exe"))));

    PutOffer("9.1.2");
    const std::string genuine = ReadWholeFile(TestPackage());
    ASSERT_GT(genuine.size(), 1000u);

    // A plain executable in place of the package ends on the download error.
    server.Put(DownloadName(), ReadWholeFile(ProgramImage(L"Updater.exe")));
    {
        StartedProgram hostile(ProgramFile(), L"-h");
        ASSERT_TRUE(hostile.IsStarted());
        HWND frame = DownloadOffer(ExpectedCaption());
        ASSERT_NE(frame, nullptr);
        // The error page offers Retry.
        ASSERT_TRUE(WaitFor([&] { return ::IsWindowVisible(::GetDlgItem(frame, 1007)) != FALSE; }));
        EXPECT_EQ(server.RequestCount(DownloadName()), 1);
        EXPECT_EQ(HandOffKeys::Get(keys.Player(), L"Update"), L"");
        EXPECT_EQ(HandOffKeys::Get(keys.Player(), L"UpdateVersion"), L"");
        EXPECT_FALSE(FileExists(folder.File(L"Updates\\setup.exe")));
        ::PostMessageW(frame, WM_COMMAND, IDCANCEL, 0);
        EXPECT_EQ(hostile.Wait(), 2);
    }

    server.Put(DownloadName(), genuine);
    {
        StartedProgram updater(ProgramFile(), L"-h");
        ASSERT_TRUE(updater.IsStarted());
        HWND frame = DownloadOffer(ExpectedCaption());
        ASSERT_NE(frame, nullptr);
        ASSERT_TRUE(WaitFor([&] { return !HandOffKeys::Get(keys.Player(), L"Update").empty(); }));
        ::PostMessageW(frame, WM_COMMAND, IDCANCEL, 0);
        EXPECT_EQ(updater.Wait(), 2);
    }
    const std::wstring recorded = folder.File(L"Updates\\setup.exe");
    EXPECT_EQ(HandOffKeys::Get(keys.Player(), L"Update"), recorded);
    EXPECT_EQ(HandOffKeys::Get(keys.Player(), L"UpdateVersion"), L"9.1.2");
    EXPECT_EQ(ReadWholeFile(recorded), genuine);

    StartedProgram next(player, L"");
    ASSERT_TRUE(next.IsStarted());
    EXPECT_EQ(next.Wait(), 0);
    EXPECT_EQ(HandOffKeys::Get(keys.Player(), L"Update"), L"");
    EXPECT_EQ(HandOffKeys::Get(keys.Player(), L"UpdateVersion"), L"");
    // The package installed silently and started the product's program.
    EXPECT_TRUE(WaitFor([&] { return FileExists(installed.File(L"launched.txt")); }, 90000));
    EXPECT_EQ(HandOffKeys::Get(keys.Package(), L"Version"), L"9.1.2");
    EXPECT_EQ(ReadWholeFile(installed.File(L"launched.txt")), "");
    // Let the setup and its program end before the folders go.
    WaitFor([&] { return ::DeleteFileW(installed.File(L"Brisvane.exe").c_str()) != FALSE; }, 30000);
    WaitFor([&] { return ::DeleteFileW(recorded.c_str()) != FALSE; }, 30000);
}

} // namespace
