// The built program itself: its image with an archive of the tests'
// settings appended, started as a process of its own with a command line.

#include "tests/updater/UpdaterFixture.h"

namespace {

constexpr DWORD ProcessDeadline = 60000;

// A program started by the test; one that is still running when the object
// goes is ended (it is ours).
class StartedProgram {
public:
    StartedProgram(const std::wstring& path, const std::wstring& arguments)
    {
        std::wstring commandLine = L"\"" + path + L"\" " + arguments;
        STARTUPINFOW startup = {};
        startup.cb = sizeof(startup);
        PROCESS_INFORMATION info = {};
        if (::CreateProcessW(path.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                             &info)) {
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

} // namespace
