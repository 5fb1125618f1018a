// The built setup programs under Wine: a silent update of a package, and a
// wizard install followed by the uninstall from the installed uninstaller,
// both driven by the messages their buttons send. The player is a stand-in
// that leaves launched.txt when it starts.

#include "WizardTestSupport.h"

#include "foundation/DataKey.h"
#include "wizards/common/ArchiveTrailer.h"
#include "wizards/setup/ProcessCheck.h"

#include <gtest/gtest.h>

#include <psapi.h>
#include <shlobj.h>

#include <algorithm>
#include <cwchar>
#include <utility>
#include <vector>

namespace {

constexpr DWORD StepTimeout = 90000;

// Variables that a started process gets in place of the test's own.
using EnvironmentOverrides = std::vector<std::pair<std::wstring, std::wstring>>;

// The test's environment block with the overrides put in.
std::vector<wchar_t> EnvironmentBlock(const EnvironmentOverrides& overrides)
{
    std::vector<wchar_t> block;
    wchar_t* own = ::GetEnvironmentStringsW();
    for (const wchar_t* entry = own; entry && *entry; entry += std::wcslen(entry) + 1) {
        const std::wstring text = entry;
        const bool replaced = std::any_of(overrides.begin(), overrides.end(), [&](const auto& item) {
            return text.size() > item.first.size() && text[item.first.size()] == L'=' &&
                   ::lstrcmpiW(text.substr(0, item.first.size()).c_str(), item.first.c_str()) == 0;
        });
        if (!replaced)
            block.insert(block.end(), text.c_str(), text.c_str() + text.size() + 1);
    }
    if (own)
        ::FreeEnvironmentStringsW(own);
    for (const auto& item : overrides) {
        const std::wstring text = item.first + L"=" + item.second;
        block.insert(block.end(), text.c_str(), text.c_str() + text.size() + 1);
    }
    block.push_back(L'\0');
    return block;
}

// A process this test started; still running at the end, it is ended.
class StartedProcess {
public:
    StartedProcess(const std::wstring& program, const std::wstring& arguments,
                   const EnvironmentOverrides& environment = {})
    {
        std::wstring command = L"\"" + program + L"\"";
        if (!arguments.empty())
            command += L" " + arguments;
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION process{};
        std::vector<wchar_t> block;
        if (!environment.empty())
            block = EnvironmentBlock(environment);
        if (::CreateProcessW(program.c_str(), &command[0], nullptr, nullptr, FALSE, CREATE_UNICODE_ENVIRONMENT,
                             block.empty() ? nullptr : block.data(), nullptr, &startup, &process)) {
            ::CloseHandle(process.hThread);
            m_process = process.hProcess;
            m_id = process.dwProcessId;
        }
    }
    // One found by its window (the uninstall copy, started by the uninstaller).
    explicit StartedProcess(DWORD id)
        : m_process(::OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE | PROCESS_QUERY_INFORMATION | PROCESS_VM_READ,
                                  FALSE, id)),
          m_id(id)
    {
    }
    StartedProcess(const StartedProcess&) = delete;
    StartedProcess& operator=(const StartedProcess&) = delete;
    ~StartedProcess()
    {
        if (!m_process)
            return;
        if (::WaitForSingleObject(m_process, 0) == WAIT_TIMEOUT)
            ::TerminateProcess(m_process, 99);
        ::CloseHandle(m_process);
    }

    bool IsStarted() const { return m_process != nullptr; }
    DWORD Id() const { return m_id; }
    // The exit code, or -1 when the process did not end in time.
    int Wait(DWORD timeout = StepTimeout) const
    {
        if (::WaitForSingleObject(m_process, timeout) != WAIT_OBJECT_0)
            return -1;
        DWORD code = 0;
        ::GetExitCodeProcess(m_process, &code);
        return static_cast<int>(code);
    }
    std::wstring ProgramPath() const
    {
        wchar_t path[MAX_PATH] = L"";
        ::GetModuleFileNameExW(m_process, nullptr, path, MAX_PATH);
        return path;
    }

private:
    HANDLE m_process = nullptr;
    DWORD m_id = 0;
};

bool FolderIsEmpty(const std::wstring& folder)
{
    WIN32_FIND_DATAW found;
    HANDLE search = ::FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return true;
    bool empty = true;
    do {
        const std::wstring name = found.cFileName;
        if (name != L"." && name != L"..")
            empty = false;
    } while (empty && ::FindNextFileW(search, &found));
    ::FindClose(search);
    return empty;
}

struct WindowQuery {
    std::wstring caption;
    DWORD processId;
    HWND found;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM parameter)
{
    auto* query = reinterpret_cast<WindowQuery*>(parameter);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(window, &owner);
    wchar_t text[256] = L"";
    ::GetWindowTextW(window, text, 256);
    if (::IsWindowVisible(window) && query->caption == text && (query->processId == 0 || query->processId == owner)) {
        query->found = window;
        return FALSE;
    }
    return TRUE;
}

HWND FindFrame(const std::wstring& caption, DWORD processId)
{
    WindowQuery query{caption, processId, nullptr};
    WaitFor([&] {
        ::EnumWindows(&MatchWindow, reinterpret_cast<LPARAM>(&query));
        return query.found != nullptr;
    });
    return query.found;
}

// Asked of the control itself: an edit of another process keeps its text
// to itself.
std::wstring TextOf(HWND window)
{
    wchar_t text[1024] = L"";
    DWORD_PTR copied = 0;
    if (!::SendMessageTimeoutW(window, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 5000,
                               &copied))
        return std::wstring();
    return text;
}

struct ChildQuery {
    int id;
    HWND found;
};

BOOL CALLBACK MatchChild(HWND window, LPARAM parameter)
{
    auto* query = reinterpret_cast<ChildQuery*>(parameter);
    if (::GetDlgCtrlID(window) == query->id && ::IsWindowVisible(window)) {
        query->found = window;
        return FALSE;
    }
    return TRUE;
}

// The visible control with that id anywhere in the frame (pages included).
HWND FindControl(HWND frame, int id)
{
    ChildQuery query{id, nullptr};
    ::EnumChildWindows(frame, &MatchChild, reinterpret_cast<LPARAM>(&query));
    return query.found;
}

BOOL CALLBACK CollectStatic(HWND window, LPARAM parameter)
{
    wchar_t className[32] = L"";
    ::GetClassNameW(window, className, 32);
    if (::lstrcmpiW(className, L"Static") == 0)
        *reinterpret_cast<std::wstring*>(parameter) += TextOf(window) + L"\n";
    return TRUE;
}

// The texts of every static control of a window (a message box's text).
std::wstring StaticTexts(HWND window)
{
    std::wstring texts;
    ::EnumChildWindows(window, &CollectStatic, reinterpret_cast<LPARAM>(&texts));
    return texts;
}

// Presses a frame button and waits until another one reads text.
bool PressAndWait(HWND frame, int pressed, int watched, const std::wstring& text)
{
    ::PostMessageW(frame, WM_COMMAND, MAKEWPARAM(pressed, BN_CLICKED), 0);
    return WaitFor([&] { return TextOf(::GetDlgItem(frame, watched)) == text; });
}

std::wstring ShellFolder(int csidl)
{
    wchar_t folder[MAX_PATH] = L"";
    ::SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, folder);
    return folder;
}

// The captions the wizards show in one language.
struct WizardTexts {
    const wchar_t* setupTitle;
    const wchar_t* uninstallTitle;
    const wchar_t* next;
    const wchar_t* agree;
    const wchar_t* install;
    const wchar_t* finish;
    const wchar_t* uninstall;
    const wchar_t* close;
};
const WizardTexts English = {L"SetupTest 9.1.2 Setup", L"SetupTest 9.1.2 Uninstall", L"Next >", L"I Agree",
                             L"Install", L"Finish", L"Uninstall", L"Close"};
const WizardTexts Russian = {L"Установка SetupTest 9.1.2", L"Удаление SetupTest 9.1.2", L"Далее >", L"Принимаю",
                             L"Установить", L"Готово", L"Удалить", L"Закрыть"};

// Runs the package's wizard through its pages to the end, the launch box
// left checked.
void InstallThroughWizard(const WizardTexts& texts)
{
    StartedProcess setup(FixturePath(L"TestSetup.exe"), L"");
    ASSERT_TRUE(setup.IsStarted());
    HWND frame = FindFrame(texts.setupTitle, setup.Id());
    ASSERT_TRUE(frame);
    EXPECT_EQ(texts.next, TextOf(::GetDlgItem(frame, IDOK)));
    ASSERT_TRUE(PressAndWait(frame, IDOK, IDOK, texts.agree));
    ASSERT_TRUE(PressAndWait(frame, IDOK, IDOK, texts.install));
    ASSERT_TRUE(PressAndWait(frame, IDOK, IDCANCEL, texts.finish));
    ::PostMessageW(frame, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    EXPECT_EQ(1, setup.Wait());
}

// Runs the installed uninstaller (with the environment given) through its
// pages to the end; copyPath: the temporary copy that did the work.
void UninstallThroughInstalledCopy(const std::wstring& app, const EnvironmentOverrides& environment,
                                   std::wstring& copyPath, const WizardTexts& texts = English)
{
    // The installed uninstaller hands over to a copy of itself and ends.
    StartedProcess uninstaller(app + L"\\Setupkit.exe", L"", environment);
    ASSERT_TRUE(uninstaller.IsStarted());
    EXPECT_EQ(0, uninstaller.Wait());
    HWND frame = FindFrame(texts.uninstallTitle, 0);
    ASSERT_TRUE(frame);
    DWORD copyId = 0;
    ::GetWindowThreadProcessId(frame, &copyId);
    StartedProcess copy(copyId);
    copyPath = copy.ProgramPath();
    EXPECT_NE(std::wstring::npos, copyPath.find(L"kvu"));
    EXPECT_EQ(static_cast<uint32_t>(ModeUninstall), ReadSetupModeValue(copyPath.c_str()));

    ASSERT_TRUE(PressAndWait(frame, IDOK, IDOK, texts.uninstall));
    // The folder with blanks arrived whole on the copy's command line.
    EXPECT_EQ(app + L"\\", TextOf(FindControl(frame, 1019)));
    ASSERT_TRUE(PressAndWait(frame, IDOK, IDCANCEL, texts.close));
    ::PostMessageW(frame, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    EXPECT_EQ(2, copy.Wait());
}

class EndToEndTest : public testing::Test {
protected:
    void SetUp() override
    {
        ResetWizardState();
        Clean();
        ASSERT_TRUE(WriteRegString(TestProductKey, L"Language", L"en"));
    }
    void TearDown() override { Clean(); }

    void Clean()
    {
        DeleteTestKeys();
        ::DeleteFileW(DesktopLink().c_str());
        RemoveTree(ProgramsFolder());
        for (const wchar_t* language : {L"Online television", L"Интернет-телевидение"})
            RemoveTree(NamedMenuFolder(language));
        const std::wstring app = TestInstallFolder();
        RemoveTree(app.substr(0, app.find_last_of(L'\\')));
    }
    static std::wstring DesktopLink() { return ShellFolder(CSIDL_DESKTOPDIRECTORY) + L"\\SetupTest.lnk"; }
    static std::wstring ProgramsFolder() { return ShellFolder(CSIDL_PROGRAMS) + L"\\SetupTest"; }
    // The menu folder named with the language's "#ShortDesc#".
    static std::wstring NamedMenuFolder(const std::wstring& shortDesc)
    {
        return ShellFolder(CSIDL_PROGRAMS) + L"\\SetupTest " + shortDesc;
    }
};

} // namespace

TEST_F(EndToEndTest, SilentUpdateInstallsIntoTheStoredFolderAndStartsThePlayer)
{
    TempFolder root;
    const std::wstring app = root.File(L"Installed Here");
    ASSERT_TRUE(::CreateDirectoryW(app.c_str(), nullptr));
    ASSERT_TRUE(WriteRegString(TestProductKey, L"InstallDir", app));
    ASSERT_TRUE(WriteRegString(TestProductKey, L"Version", L"9.0"));
    // The log of the earlier install, with a file this package no longer has.
    KV::DataKey log("Kestrivo Setup Uninstall Log");
    log.AddKey("f")->SetStringW("0", app + L"\\old.txt");
    log.AddKey("d")->SetStringW("0", app);
    log.AddKey("r");
    ASSERT_TRUE(log.Save(app + L"\\setupkit.dat"));

    StartedProcess setup(FixturePath(L"TestSetup.exe"), L"update");
    ASSERT_TRUE(setup.IsStarted());
    EXPECT_EQ(0, setup.Wait());

    EXPECT_EQ("ABCDEFGH", ReadWholeFile(app + L"\\data.swp"));
    EXPECT_TRUE(FileExists(app + L"\\docs\\guide.txt"));
    std::wstring text;
    ASSERT_TRUE(ReadRegString(TestProductKey, L"Version", text));
    EXPECT_EQ(L"9.1.2", text);
    ASSERT_TRUE(ReadRegString(TestProductKey, L"From", text));
    EXPECT_EQ(L"test-origin", text);
    EXPECT_FALSE(FileExists(DesktopLink()));
    EXPECT_FALSE(FolderExists(ProgramsFolder()));

    KV::DataKey extended;
    ASSERT_TRUE(extended.Load(app + L"\\setupkit.dat"));
    EXPECT_EQ("Kestrivo Setup Uninstall Log", extended.GetName());
    EXPECT_EQ((std::vector<std::wstring>{app + L"\\old.txt", app + L"\\Brisvane.exe", app + L"\\Setupkit.exe",
                                         app + L"\\readme.txt", app + L"\\data.swp", app + L"\\docs\\guide.txt",
                                         app + L"\\setupkit.dat"}),
              NumberedStrings(extended.GetKey("f")));
    EXPECT_EQ((std::vector<std::wstring>{app, app + L"\\docs"}), NumberedStrings(extended.GetKey("d")));

    // The finished update starts the player again.
    EXPECT_TRUE(WaitFor([&] { return FileExists(app + L"\\launched.txt"); }));
    EXPECT_TRUE(WaitFor([&] { return CountProcesses(app + L"\\Brisvane.exe") == 0; }));
}

TEST_F(EndToEndTest, NewerInstalledVersionRefusesThePackageAndStartsNothing)
{
    ASSERT_TRUE(WriteRegString(TestProductKey, L"Version", L"9.1.10"));
    StartedProcess setup(FixturePath(L"TestSetup.exe"), L"update");
    ASSERT_TRUE(setup.IsStarted());
    // The refusal is a message box captioned with the setup's title.
    HWND box = FindFrame(L"SetupTest 9.1.2 Setup", setup.Id());
    ASSERT_TRUE(box);
    EXPECT_NE(std::wstring::npos, StaticTexts(box).find(L"The newest version of SetupTest is already installed."));
    ::PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    EXPECT_EQ(0, setup.Wait());
    EXPECT_FALSE(FolderExists(TestInstallFolder()));
    std::wstring text;
    ASSERT_TRUE(ReadRegString(TestProductKey, L"Version", text));
    EXPECT_EQ(L"9.1.10", text);
}

TEST_F(EndToEndTest, WizardInstallThenUninstallFromTheInstalledCopy)
{
    const std::wstring app = TestInstallFolder();
    InstallThroughWizard(English);
    ASSERT_FALSE(HasFatalFailure());
    EXPECT_TRUE(FileExists(app + L"\\readme.txt"));
    EXPECT_TRUE(FileExists(app + L"\\setupkit.dat"));
    EXPECT_TRUE(FileExists(DesktopLink()));
    EXPECT_TRUE(FileExists(ProgramsFolder() + L"\\Uninstall SetupTest.lnk"));
    EXPECT_TRUE(FileExists(ProgramsFolder() + L"\\Extras\\Guide.lnk"));
    EXPECT_TRUE(FileExists(NamedMenuFolder(L"Online television") + L"\\SetupTest.lnk"));
    std::wstring text;
    ASSERT_TRUE(ReadRegString(TestProductKey, L"InstallDir", text));
    EXPECT_EQ(app, text);
    EXPECT_EQ(static_cast<uint32_t>(ModeInstalledUninstaller), ReadSetupModeValue((app + L"\\Setupkit.exe").c_str()));
    // The launch box was left checked: the player started, and ended.
    ASSERT_TRUE(WaitFor([&] { return FileExists(app + L"\\launched.txt"); }));
    ASSERT_TRUE(WaitFor([&] { return CountProcesses(app + L"\\Brisvane.exe") == 0; }));
    ASSERT_TRUE(WriteWholeFile(app + L"\\Settings.cfg", "the player's own"));

    std::wstring copyPath;
    UninstallThroughInstalledCopy(app, {}, copyPath);
    ASSERT_FALSE(HasFatalFailure());

    for (const wchar_t* name : {L"Brisvane.exe", L"Setupkit.exe", L"readme.txt", L"setupkit.dat", L"docs"})
        EXPECT_FALSE(FileExists(app + L"\\" + name) || FolderExists(app + L"\\" + name)) << name;
    EXPECT_FALSE(FileExists(DesktopLink()));
    EXPECT_FALSE(FolderExists(ProgramsFolder()));
    EXPECT_FALSE(FolderExists(NamedMenuFolder(L"Online television")));
    EXPECT_FALSE(KeyExists(TestProductKey));
    EXPECT_FALSE(KeyExists(TestUninstallKey));
    EXPECT_EQ("the player's own", ReadWholeFile(app + L"\\Settings.cfg"));
    EXPECT_TRUE(FileExists(app + L"\\launched.txt"));

    // The copy's batch file removes it once it has ended.
    EXPECT_TRUE(WaitFor([&] { return !FileExists(copyPath); }));
}

TEST_F(EndToEndTest, SilentUpdateThatCannotWriteAFileSaysSoAndKeepsTheVersion)
{
    const struct {
        const wchar_t* name;
        bool folderInTheWay;  // no file in place; else the old one, held open by the test
        bool playerStarts;    // only a product whose files are all in place
    } cases[] = {
        {L"readme.txt", false, true},
        {L"readme.txt", true, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TempFolder root;
        const std::wstring app = root.File(L"Installed Here");
        ASSERT_TRUE(::CreateDirectoryW(app.c_str(), nullptr));
        ASSERT_TRUE(WriteRegString(TestProductKey, L"InstallDir", app));
        ASSERT_TRUE(WriteRegString(TestProductKey, L"Version", L"9.0"));
        const std::wstring blocked = app + L"\\" + c.name;
        HANDLE held = INVALID_HANDLE_VALUE;
        if (c.folderInTheWay) {
            ASSERT_TRUE(::CreateDirectoryW(blocked.c_str(), nullptr));
        } else {
            ASSERT_TRUE(WriteWholeFile(blocked, "the old readme"));
            held = ::CreateFileW(blocked.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
            ASSERT_NE(INVALID_HANDLE_VALUE, held);
        }

        StartedProcess setup(FixturePath(L"TestSetup.exe"), L"update");
        ASSERT_TRUE(setup.IsStarted());
        HWND box = FindFrame(L"Error", setup.Id());
        ASSERT_TRUE(box);
        const std::wstring texts = StaticTexts(box);
        EXPECT_NE(std::wstring::npos, texts.find(L"SetupTest could not be installed completely")) << texts;
        EXPECT_NE(std::wstring::npos, texts.find(blocked)) << texts;
        ::PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        EXPECT_EQ(0, setup.Wait());
        if (held != INVALID_HANDLE_VALUE)
            ::CloseHandle(held);

        std::wstring text;
        ASSERT_TRUE(ReadRegString(TestProductKey, L"Version", text));
        EXPECT_EQ(L"9.0", text);
        ASSERT_TRUE(ReadRegString(TestUninstallKey, L"DisplayName", text));
        EXPECT_EQ(L"SetupTest 9.0", text);
        EXPECT_TRUE(FileExists(app + L"\\Setupkit.exe"));
        if (c.playerStarts) {
            EXPECT_EQ("the old readme", ReadWholeFile(blocked));
            EXPECT_TRUE(WaitFor([&] { return FileExists(app + L"\\launched.txt"); }));
            EXPECT_TRUE(WaitFor([&] { return CountProcesses(app + L"\\Brisvane.exe") == 0; }));
        } else {
            EXPECT_FALSE(WaitFor([&] { return FileExists(app + L"\\launched.txt"); }, 3000));
        }
        DeleteTestKeys();
        ASSERT_TRUE(WriteRegString(TestProductKey, L"Language", L"en"));
    }
}

TEST_F(EndToEndTest, KilledInstallCompletesOnTheNextRunAndUninstallsFromACyrillicTempFolder)
{
    const std::wstring app = TestInstallFolder();
    {
        StartedProcess setup(FixturePath(L"TestLargeSetup.exe"), L"update");
        ASSERT_TRUE(setup.IsStarted());
        // Ended by its id while it writes the large file.
        ASSERT_TRUE(WaitFor([&] { return FileExists(app + L"\\large.bin"); }, StepTimeout, 1));
        HANDLE killed = ::OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, setup.Id());
        ASSERT_TRUE(killed);
        EXPECT_TRUE(::TerminateProcess(killed, 9));
        EXPECT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(killed, StepTimeout));
        ::CloseHandle(killed);
        EXPECT_EQ(9, setup.Wait());
    }
    std::wstring text;
    EXPECT_FALSE(ReadRegString(TestProductKey, L"Version", text));  // it ended before the registry step
    // What it had made is already in the log on disk.
    KV::DataKey partial;
    ASSERT_TRUE(partial.Load(app + L"\\setupkit.dat"));
    std::vector<std::wstring> made = NumberedStrings(partial.GetKey("f"));
    made.resize(std::min<size_t>(made.size(), 4));
    EXPECT_EQ((std::vector<std::wstring>{app + L"\\Brisvane.exe", app + L"\\Setupkit.exe", app + L"\\readme.txt",
                                         app + L"\\large.bin"}),
              made);

    StartedProcess again(FixturePath(L"TestLargeSetup.exe"), L"update");
    ASSERT_TRUE(again.IsStarted());
    EXPECT_EQ(0, again.Wait());
    ASSERT_TRUE(ReadRegString(TestProductKey, L"Version", text));
    EXPECT_EQ(L"9.1.2", text);
    ASSERT_TRUE(WaitFor([&] { return FileExists(app + L"\\launched.txt"); }));
    ASSERT_TRUE(WaitFor([&] { return CountProcesses(app + L"\\Brisvane.exe") == 0; }));
    // Stands for what the player leaves itself; without it the folder goes too.
    ::DeleteFileW((app + L"\\launched.txt").c_str());
    ::DeleteFileW((app + L"\\started-in.txt").c_str());

    // The uninstall copy and its batch file live in a temporary folder whose
    // name cmd would misread.
    TempFolder root;
    const std::wstring temp = root.File(L"Временная %PATH% 100%");
    ASSERT_TRUE(::CreateDirectoryW(temp.c_str(), nullptr));
    std::wstring copyPath;
    UninstallThroughInstalledCopy(app, {{L"TEMP", temp}, {L"TMP", temp}}, copyPath);
    ASSERT_FALSE(HasFatalFailure());
    EXPECT_EQ(0u, copyPath.find(temp + L"\\")) << copyPath;

    EXPECT_FALSE(FolderExists(app));
    EXPECT_FALSE(KeyExists(TestProductKey));
    EXPECT_FALSE(KeyExists(TestUninstallKey));
    EXPECT_TRUE(WaitFor([&] { return FolderIsEmpty(temp); }));
}

TEST_F(EndToEndTest, RussianInstallThenUninstallRemovesTheMenuFolderNamedInRussian)
{
    ASSERT_TRUE(WriteRegString(TestProductKey, L"Language", L"ru"));
    const std::wstring app = TestInstallFolder();
    const std::wstring named = NamedMenuFolder(L"Интернет-телевидение");
    InstallThroughWizard(Russian);
    ASSERT_FALSE(HasFatalFailure());
    ASSERT_TRUE(FileExists(named + L"\\SetupTest.lnk"));
    ASSERT_TRUE(FileExists(ProgramsFolder() + L"\\Удалить SetupTest.lnk"));
    ASSERT_TRUE(WaitFor([&] { return CountProcesses(app + L"\\Brisvane.exe") == 0; }));

    std::wstring copyPath;
    UninstallThroughInstalledCopy(app, {}, copyPath, Russian);
    ASSERT_FALSE(HasFatalFailure());
    EXPECT_FALSE(FolderExists(named));
    EXPECT_FALSE(FolderExists(ProgramsFolder()));
    EXPECT_FALSE(FileExists(DesktopLink()));
    EXPECT_FALSE(FileExists(app + L"\\Brisvane.exe"));
    EXPECT_FALSE(KeyExists(TestProductKey));
}

TEST_F(EndToEndTest, UninstallInAnotherLanguageRemovesTheMenuFolderNamedAtInstall)
{
    const std::wstring app = TestInstallFolder();
    InstallThroughWizard(English);
    ASSERT_FALSE(HasFatalFailure());
    ASSERT_TRUE(FolderExists(NamedMenuFolder(L"Online television")));
    ASSERT_TRUE(WaitFor([&] { return CountProcesses(app + L"\\Brisvane.exe") == 0; }));
    // The player's settings changed the language since.
    ASSERT_TRUE(WriteRegString(TestProductKey, L"Language", L"ru"));

    std::wstring copyPath;
    UninstallThroughInstalledCopy(app, {}, copyPath, Russian);
    ASSERT_FALSE(HasFatalFailure());
    EXPECT_FALSE(FolderExists(NamedMenuFolder(L"Online television")));
    EXPECT_FALSE(FolderExists(ProgramsFolder()));
    EXPECT_FALSE(KeyExists(TestProductKey));
}

TEST_F(EndToEndTest, PlayerStartsFromAFolderNamedWithPercentCommaAndBlanks)
{
    TempFolder root;
    const std::wstring app = root.File(L"Brisvane, 100% %PATH% here");
    ASSERT_TRUE(::CreateDirectoryW(app.c_str(), nullptr));
    ASSERT_TRUE(WriteRegString(TestProductKey, L"InstallDir", app));

    StartedProcess setup(FixturePath(L"TestSetup.exe"), L"update");
    ASSERT_TRUE(setup.IsStarted());
    EXPECT_EQ(0, setup.Wait());
    ASSERT_TRUE(FileExists(app + L"\\readme.txt"));
    // Started with no arguments, in its own folder.
    ASSERT_TRUE(WaitFor([&] { return FileExists(app + L"\\launched.txt"); }, 30000));
    EXPECT_TRUE(WaitFor([&] { return CountProcesses(app + L"\\Brisvane.exe") == 0; }));
    EXPECT_EQ("", ReadWholeFile(app + L"\\launched.txt"));
    EXPECT_EQ(std::string(app.begin(), app.end()), ReadWholeFile(app + L"\\started-in.txt"));
}
