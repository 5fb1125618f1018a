// The updaters' frame and pages under Xvfb: Run on a UI thread of its own,
// driven by clicks on the real buttons and read back from the real
// controls, against the local server.

#include "tests/updater/UpdaterFixture.h"
#include "tests/updater/UpdaterUi.h"

#include "tests/support/FailingWorkerStarts.h"
#include "tests/support/LifetimeProbe.h"
#include "wizards/updater/MainDlg.h"
#include "wizards/updater/TrayIcon.h"
#include "wizards/updater/UpdaterContext.h"
#include "wizards/updater/UrlTransfer.h"
#include "wizards/updater/WorkerThread.h"

#include <commctrl.h>

#include <atomic>
#include <functional>

namespace {

constexpr int Back = 1007;

class UpdaterPagesTest : public UpdaterFixture {
protected:
    std::unique_ptr<UpdaterRunThread> Start(bool hidden, TestSettingsOptions options = TestSettingsOptions())
    {
        WriteProgram(options);
        return std::make_unique<UpdaterRunThread>(hidden, ProgramFile(), ExpectedCaption());
    }

    static std::wstring Button(HWND frame, int id) { return ItemText(frame, id); }
    static bool ButtonShown(HWND frame, int id) { return IsItemVisible(frame, id); }
};

TEST_F(UpdaterPagesTest, NoUpdateEndsOnTheFinishPageReadingNoUpdates)
{
    key.Set(traits.installedVersionValue, L"2.4");
    PutOffer("2.4");
    auto run = Start(false);
    HWND frame = run->Frame();
    ASSERT_NE(frame, nullptr);
    ASSERT_TRUE(run->WaitForPage(PageKind::Finish));
    EXPECT_EQ(TextOf(frame), ExpectedCaption());
    EXPECT_EQ(HeaderTitle(frame), L"No updates");
    EXPECT_EQ(ItemText(VisiblePage(frame), 1011), L"No updates available");
    EXPECT_EQ(Button(frame, IDCANCEL), L"Finish");
    EXPECT_TRUE(ButtonShown(frame, IDCANCEL));
    EXPECT_FALSE(ButtonShown(frame, IDOK));
    EXPECT_FALSE(ButtonShown(frame, Back));

    run->Click(IDCANCEL);
    ASSERT_TRUE(run->Finish());
    EXPECT_EQ(run->ExitCode(), 2);
}

TEST_F(UpdaterPagesTest, OfferDownloadAndFinish)
{
    PutOffer("2.4", 5);
    PutDownload(std::string(300000, 'P'));
    auto run = Start(false);
    HWND frame = run->Frame();
    ASSERT_TRUE(run->WaitForPage(PageKind::Update));
    HWND update = VisiblePage(frame);
    EXPECT_EQ(HeaderTitle(frame), L"Update available");
    EXPECT_EQ(ItemText(update, 1011), L"Update available:");
    EXPECT_EQ(Button(frame, IDOK), L"Download");
    EXPECT_TRUE(ButtonShown(frame, IDOK));
    EXPECT_EQ(Button(frame, IDCANCEL), L"Cancel");
    // The shipped skin's "update" font keeps its face under "name": bold,
    // 16 high, no face.
    LOGFONTW font = {};
    ASSERT_NE(::GetObjectW(reinterpret_cast<HFONT>(::SendMessageW(::GetDlgItem(update, 1003), WM_GETFONT, 0, 0)),
                           sizeof(font), &font),
              0);
    EXPECT_EQ(font.lfHeight, 16);
    EXPECT_EQ(font.lfWeight, FW_BOLD);
    EXPECT_EQ(std::wstring(font.lfFaceName), L"");
    if (IsChannelListUpdater()) {
        EXPECT_EQ(ItemText(update, 1003), L"5 channels");
        EXPECT_EQ(::GetDlgItem(update, 1004), nullptr);
    } else {
        EXPECT_EQ(ItemText(update, 1003), DisplayName);
        // The settings have no details page.
        EXPECT_FALSE(IsItemVisible(update, 1004));
    }

    run->Click(IDOK);
    ASSERT_TRUE(run->WaitForPage(PageKind::Finish));
    EXPECT_EQ(HeaderTitle(frame), L"Update finished");
    EXPECT_EQ(ItemText(VisiblePage(frame), 1011),
              IsChannelListUpdater()
                  ? L"Channel list successfully updated. Changes will take effect after restart Brisvane."
                  : L"Brisvane successfully updated. Changes will take effect after restart Brisvane.");
    HWND download = FindPage(frame, PageKind::Download);
    const std::wstring status = ItemText(download, 1007);
    EXPECT_EQ(status.compare(0, 11, L"Downloaded "), 0) << status;
    EXPECT_NE(status.find(L" of "), std::wstring::npos) << status;
    EXPECT_EQ(::SendMessageW(::GetDlgItem(download, 1004), PBM_GETPOS, 0, 0), 100);
    EXPECT_EQ(key.Get(traits.downloadedFileValue), ExpectedTarget());
    EXPECT_EQ(key.Get(traits.pendingVersionValue), L"2.4");
    EXPECT_EQ(ReadWholeFile(ExpectedTarget()), Served(std::string(300000, 'P')));

    run->Click(IDCANCEL);
    ASSERT_TRUE(run->Finish());
    EXPECT_EQ(run->ExitCode(), 2);
}

TEST_F(UpdaterPagesTest, DetailsLinkShowsWhenTheSettingsNameADetailsPage)
{
    TestSettingsOptions options;
    options.detailsFormat = L"http://127.0.0.1:1/whatsnew-%s.html";
    PutOffer("2.4");
    auto run = Start(false, options);
    HWND frame = run->Frame();
    ASSERT_TRUE(run->WaitForPage(PageKind::Update));
    HWND update = VisiblePage(frame);
    if (IsChannelListUpdater()) {
        // No link on Chanfresh's page; a click notification of id 1004 is
        // answered without action.
        NMHDR click = {update, 1004, static_cast<UINT>(NM_CLICK)};
        ::SendMessageW(update, WM_NOTIFY, 1004, reinterpret_cast<LPARAM>(&click));
        EXPECT_EQ(KindOf(VisiblePage(frame)), PageKind::Update);
    } else {
        EXPECT_TRUE(IsItemVisible(update, 1004));
        EXPECT_NE(ItemText(update, 1004).find(L"Details"), std::wstring::npos);
    }
    run->Click(IDCANCEL);
    ASSERT_TRUE(run->Finish());
}

TEST_F(UpdaterPagesTest, FailedCheckShowsTheErrorAndRetryChecksAgain)
{
    auto run = Start(false);
    HWND frame = run->Frame();
    ASSERT_TRUE(run->WaitForPage(PageKind::Error));
    EXPECT_EQ(HeaderTitle(frame), L"Error");
    EXPECT_EQ(ItemText(VisiblePage(frame), 1011),
              L"Error while checking available updates. Please check Internet connection.");
    EXPECT_EQ(Button(frame, Back), L"Retry");
    EXPECT_TRUE(ButtonShown(frame, Back));
    EXPECT_TRUE(ButtonShown(frame, IDCANCEL));
    EXPECT_FALSE(ButtonShown(frame, IDOK));

    PutOffer("2.4");
    run->Click(Back);
    ASSERT_TRUE(run->WaitForPage(PageKind::Update));
    EXPECT_EQ(server.RequestCount(CheckDocumentName()), 2);
    run->Click(IDCANCEL);
    ASSERT_TRUE(run->Finish());
    EXPECT_EQ(run->ExitCode(), 2);
}

TEST_F(UpdaterPagesTest, FailedDownloadRetriesTheDownloadFromTheStart)
{
    PutOffer("2.4");
    auto run = Start(false);
    HWND frame = run->Frame();
    ASSERT_TRUE(run->WaitForPage(PageKind::Update));
    run->Click(IDOK);
    ASSERT_TRUE(run->WaitForPage(PageKind::Error));
    EXPECT_EQ(ItemText(VisiblePage(frame), 1011),
              L"Error while downloading update. Please check Internet connection.");
    EXPECT_FALSE(key.Has(traits.downloadedFileValue));

    // The retry is held after its first bytes: the bar is back at 0 and
    // runs as a marquee until the size is known.
    UpdateServer::File held;
    held.holdAfter = 0;
    held.sendLength = false;
    PutDownload("retried download", held);
    run->Click(Back);
    ASSERT_TRUE(run->WaitForPage(PageKind::Download));
    HWND download = VisiblePage(frame);
    ASSERT_TRUE(WaitFor([this] { return server.IsHolding(); }));
    HWND bar = ::GetDlgItem(download, 1004);
    EXPECT_EQ(::SendMessageW(bar, PBM_GETPOS, 0, 0), 0);
    EXPECT_NE(::GetWindowLongW(bar, GWL_STYLE) & PBS_MARQUEE, 0);
    EXPECT_FALSE(ButtonShown(frame, Back));

    server.Release();
    ASSERT_TRUE(run->WaitForPage(PageKind::Finish));
    EXPECT_EQ(server.RequestCount(DownloadName()), 2);
    EXPECT_EQ(key.Get(traits.pendingVersionValue), L"2.4");
    run->Click(IDCANCEL);
    ASSERT_TRUE(run->Finish());
}

TEST_F(UpdaterPagesTest, UnknownSizeKeepsTheMarqueeAndShowsTheSizeAlone)
{
    PutOffer("2.4");
    UpdateServer::File unsized;
    unsized.sendLength = false;
    PutDownload(std::string(5000, 'u'), unsized);
    auto run = Start(false);
    HWND frame = run->Frame();
    ASSERT_TRUE(run->WaitForPage(PageKind::Update));
    run->Click(IDOK);
    ASSERT_TRUE(run->WaitForPage(PageKind::Finish));
    HWND download = FindPage(frame, PageKind::Download);
    const std::wstring status = ItemText(download, 1007);
    EXPECT_EQ(status.compare(0, 11, L"Downloaded "), 0) << status;
    EXPECT_EQ(status.find(L" of "), std::wstring::npos) << status;
    EXPECT_NE(status.find(L"KB"), std::wstring::npos) << status;
    EXPECT_NE(::GetWindowLongW(::GetDlgItem(download, 1004), GWL_STYLE) & PBS_MARQUEE, 0);
    run->Click(IDCANCEL);
    ASSERT_TRUE(run->Finish());
}

TEST_F(UpdaterPagesTest, CancelDuringADownloadLeavesNothingBehind)
{
    PutOffer("2.4");
    UpdateServer::File held;
    held.body = Served(std::string(100000, 'c'));
    held.holdAfter = 20000;
    if (IsChannelListUpdater())
        held.body = MakeChannelsZip(Served(std::string(100000, 'c')));
    server.Put(DownloadName(), held);
    auto run = Start(false);
    ASSERT_TRUE(run->WaitForPage(PageKind::Update));
    run->Click(IDOK);
    ASSERT_TRUE(run->WaitForPage(PageKind::Download));
    ASSERT_TRUE(WaitFor([this] { return server.IsHolding(); }));

    run->Click(IDCANCEL);
    ASSERT_TRUE(run->Finish());
    EXPECT_EQ(run->ExitCode(), 2);
    // The transfer goes on until its next report, which aborts it.
    server.Release();
    WaitForWorkers();
    EXPECT_FALSE(key.Has(traits.downloadedFileValue));
    EXPECT_FALSE(key.Has(traits.pendingVersionValue));
    EXPECT_FALSE(FileExists(ExpectedTarget()));
}

TEST_F(UpdaterPagesTest, HiddenRunWithoutUpdateEndsWithoutShowingAnything)
{
    key.Set(traits.installedVersionValue, L"2.4");
    PutOffer("2.3");
    auto run = Start(true);
    ASSERT_TRUE(run->Finish());
    EXPECT_EQ(run->ExitCode(), 2);
    EXPECT_FALSE(run->WasEverVisible());
    EXPECT_EQ(server.RequestCount(CheckDocumentName()), 1);
}

TEST_F(UpdaterPagesTest, HiddenRunWithAFailedCheckEndsWithoutShowingAnything)
{
    auto run = Start(true);
    ASSERT_TRUE(run->Finish());
    EXPECT_EQ(run->ExitCode(), 2);
    EXPECT_FALSE(run->WasEverVisible());
    EXPECT_EQ(server.RequestCount(CheckDocumentName()), 1);
}

TEST_F(UpdaterPagesTest, HiddenRunWithAnOffer)
{
    PutOffer("2.4", 3);
    PutDownload("background download");
    auto run = Start(true);
    if (!IsChannelListUpdater()) {
        // The program updater shows itself and lets the user decide.
        ASSERT_TRUE(run->WaitForPage(PageKind::Update));
        EXPECT_TRUE(WaitFor([&] { return ::IsWindowVisible(run->Frame()) != FALSE; }));
        EXPECT_EQ(server.RequestCount(DownloadName()), 0);
        run->Click(IDCANCEL);
        ASSERT_TRUE(run->Finish());
        EXPECT_FALSE(key.Has(L"Update"));
        return;
    }
    // Chanfresh downloads by itself, shows its balloon and ends about eight
    // seconds later, never showing the frame.
    bool iconShown = false;
    ASSERT_TRUE(WaitFor(
        [&] {
            iconShown = iconShown || GetTrayIcon().IsShown();
            return run->IsFinished();
        },
        60000));
    EXPECT_TRUE(iconShown);
    const NOTIFYICONDATAW& record = GetTrayIcon().GetRecord();
    EXPECT_EQ(std::wstring(record.szInfoTitle), L"Channels update completed");
    EXPECT_EQ(std::wstring(record.szInfo),
              L"Channel list has been successfully updated.\r\nChanges will take effect on the next program launch.");
    EXPECT_EQ(record.dwInfoFlags, static_cast<DWORD>(NIIF_INFO));
    EXPECT_EQ(key.Get(L"CUpdate"), ExpectedTarget());
    EXPECT_EQ(key.Get(L"CUpdateVersion"), L"2.4");
    EXPECT_EQ(ReadWholeFile(ExpectedTarget()), Served("background download"));
    ASSERT_TRUE(run->Finish());
    EXPECT_EQ(run->ExitCode(), 0);
    EXPECT_FALSE(run->WasEverVisible());
    // The icon went with the frame.
    EXPECT_FALSE(GetTrayIcon().HasIcon());
}

TEST_F(UpdaterPagesTest, DownloadEndingWhileTheFrameIsHiddenShowsTheBalloonAndEnds)
{
    if (IsChannelListUpdater())
        GTEST_SKIP() << "a hidden Chanfresh run shows the balloon anyway (HiddenRunWithAnOffer)";
    // The recorder edition names the recorder in the balloon too.
    KV::DataKey pack("Root");
    ASSERT_TRUE(pack.Save(folder.File(L"Recres.kvdt")));
    PutOffer("2.4");
    UpdateServer::File held;
    held.body = Served(std::string(50000, 'h'));
    held.holdAfter = 10000;
    server.Put(DownloadName(), held);
    WriteProgram();
    UpdaterRunThread run(false, ProgramFile(), L"Update Brisvane Recorder");
    HWND frame = run.Frame();
    ASSERT_TRUE(run.WaitForPage(PageKind::Update));
    run.Click(IDOK);
    ASSERT_TRUE(WaitFor([this] { return server.IsHolding(); }));
    ::ShowWindow(frame, SW_HIDE);
    server.Release();

    bool iconShown = false;
    ASSERT_TRUE(WaitFor(
        [&] {
            iconShown = iconShown || GetTrayIcon().IsShown();
            return run.IsFinished();
        },
        60000));
    ASSERT_TRUE(run.Finish());
    EXPECT_EQ(run.ExitCode(), 0);
    EXPECT_TRUE(iconShown);
    const NOTIFYICONDATAW& record = GetTrayIcon().GetRecord();
    EXPECT_EQ(std::wstring(record.szInfoTitle), L"Update completed");
    EXPECT_EQ(std::wstring(record.szInfo), L"Brisvane Recorder 2.4 beta has been successfully updated.\r\n"
                                           L"Changes will take effect on the next program launch.");
    EXPECT_EQ(key.Get(L"Update"), ExpectedTarget());
}

// The notification area as it is at a start at logon or while Explorer
// restarts: it refuses icons and balloons until it appears. What it takes
// once it has appeared is passed to the shell and kept for the test.
class RefusingNotificationArea {
public:
    RefusingNotificationArea()
    {
        State().refusing = true;
        State().refused = 0;
        State().addedWithBalloon = false;
        State().balloonTimeout = 0;
        CTrayIcon::SetNotifyCall(&Notify);
    }
    ~RefusingNotificationArea()
    {
        CTrayIcon::SetNotifyCall(nullptr);
        State().refusing = false;
    }
    RefusingNotificationArea(const RefusingNotificationArea&) = delete;
    RefusingNotificationArea& operator=(const RefusingNotificationArea&) = delete;

    void Appear() { State().refusing = false; }
    int Refused() const { return State().refused; }
    bool AddedWithBalloon() const { return State().addedWithBalloon; }
    UINT BalloonTimeout() const { return State().balloonTimeout; }

private:
    struct Shared {
        std::atomic<bool> refusing{false};
        std::atomic<int> refused{0};
        std::atomic<bool> addedWithBalloon{false};
        std::atomic<UINT> balloonTimeout{0};
    };
    static Shared& State()
    {
        static Shared state;
        return state;
    }
    static BOOL WINAPI Notify(DWORD action, PNOTIFYICONDATAW data)
    {
        if (State().refusing && (action == NIM_ADD || action == NIM_MODIFY)) {
            ++State().refused;
            return FALSE;
        }
        const BOOL done = ::Shell_NotifyIconW(action, data);
        if (done && action == NIM_ADD && (data->uFlags & NIF_INFO) != 0 && data->szInfo[0] != L'\0') {
            State().addedWithBalloon = true;
            State().balloonTimeout = data->uTimeout;
        }
        return done;
    }
};

TEST_F(UpdaterPagesTest, ARefusedBalloonIconComesWhenTheNotificationAreaAppears)
{
    struct Case {
        const char* how;
        std::function<void(HWND)> announce;
    };
    const Case cases[] = {
        {"sent", [](HWND frame) { ::SendMessageW(frame, GetTaskbarCreatedMessage(), 0, 0); }},
        {"sent without waiting", [](HWND frame) { ::SendNotifyMessageW(frame, GetTaskbarCreatedMessage(), 0, 0); }},
        {"posted", [](HWND frame) { ::PostMessageW(frame, GetTaskbarCreatedMessage(), 0, 0); }},
    };
    PutOffer("2.4", 3);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.how);
        // The run before left its download pending.
        key.Set(traits.pendingVersionValue, L"0.0.0.0");
        RefusingNotificationArea area;
        // A download that ends while the frame is hidden shows the balloon:
        // Chanfresh's hidden run by itself, the program updater's with its
        // frame hidden before the download.
        PutDownload("background download");
        std::unique_ptr<UpdaterRunThread> run = Start(IsChannelListUpdater());
        if (!IsChannelListUpdater()) {
            ASSERT_TRUE(run->WaitForPage(PageKind::Update));
            ::ShowWindow(run->Frame(), SW_HIDE);
            run->Click(IDOK);
        }
        HWND frame = run->Frame();
        ASSERT_NE(frame, nullptr);
        ASSERT_TRUE(WaitFor([&] { return area.Refused() >= 2 || run->IsFinished(); }));
        ASSERT_FALSE(run->IsFinished());
        EXPECT_TRUE(GetTrayIcon().HasIcon());
        EXPECT_FALSE(GetTrayIcon().IsShown());

        area.Appear();
        c.announce(frame);
        EXPECT_TRUE(WaitFor([] { return GetTrayIcon().IsShown(); }, 5000));
        // The balloon it could not show comes with it.
        EXPECT_TRUE(area.AddedWithBalloon());
        EXPECT_EQ(area.BalloonTimeout(), CMainDlg::BalloonTimeout);
        EXPECT_NE(std::wstring(GetTrayIcon().GetRecord().szInfo), L"");

        run->Click(IDCANCEL);
        ASSERT_TRUE(run->Finish());
        EXPECT_FALSE(GetTrayIcon().HasIcon());
        EXPECT_FALSE(GetTrayIcon().IsShown());
    }
}

TEST_F(UpdaterPagesTest, RecorderEditionNamesTheRecorderOnTheUpdatePage)
{
    if (IsChannelListUpdater())
        GTEST_SKIP() << "Chanfresh's update page shows the channel count";
    KV::DataKey pack("Root");
    ASSERT_TRUE(pack.Save(folder.File(L"Recres.kvdt")));
    PutOffer("2.4");
    WriteProgram();
    UpdaterRunThread run(false, ProgramFile(), L"Update Brisvane Recorder");
    HWND frame = run.Frame();
    ASSERT_NE(frame, nullptr);
    ASSERT_TRUE(run.WaitForPage(PageKind::Update));
    EXPECT_EQ(ItemText(VisiblePage(frame), 1003), L"Brisvane Recorder 2.4 beta");
    run.Click(IDCANCEL);
    ASSERT_TRUE(run.Finish());
}

TEST_F(UpdaterPagesTest, ASecondInstanceShowsTheFirstOrLeavesSilently)
{
    // A window with the frame's caption stands for a running updater.
    HWND running = ::CreateWindowW(L"STATIC", ExpectedCaption().c_str(), WS_POPUP, 0, 0, 50, 50, nullptr, nullptr,
                                   nullptr, nullptr);
    ASSERT_NE(running, nullptr);
    PutOffer("2.4");
    WriteProgram();
    {
        UpdaterRunThread hidden(true, ProgramFile(), L"(none)");
        ASSERT_TRUE(hidden.Finish());
        EXPECT_EQ(hidden.ExitCode(), 0);
        EXPECT_FALSE(::IsWindowVisible(running));
    }
    {
        UpdaterRunThread shown(false, ProgramFile(), L"(none)");
        ASSERT_TRUE(shown.Finish());
        EXPECT_EQ(shown.ExitCode(), 0);
        EXPECT_TRUE(::IsWindowVisible(running));
    }
    EXPECT_EQ(server.RequestCount(CheckDocumentName()), 0);
    ::DestroyWindow(running);
}

// A worker that cannot start ends its step as a failed one: on the error
// page in a visible run, and a hidden run ends (it used to wait forever).
TEST_F(UpdaterPagesTest, AWorkerThatCannotStartEndsItsStepAsAFailure)
{
    const struct {
        const char* name;
        // 0: the check cannot start; 1: the check starts, the download not.
        int allowedStarts;
        bool hidden;
    } cases[] = {
        {"check, visible", 0, false},
        {"check, hidden", 0, true},
        {"download, visible", 1, false},
        {"download, hidden", 1, true},
    };
    PutOffer("2.4");
    PutDownload("never fetched");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const bool download = c.allowedStarts == 1;
        // A hidden program updater shows its offer; a hidden Chanfresh goes
        // on to the download by itself.
        const bool endsHidden = c.hidden && (!download || IsChannelListUpdater());
        const FailingWorkerStarts failing(c.allowedStarts);
        auto run = Start(c.hidden);
        if (download && !endsHidden) {
            ASSERT_TRUE(run->WaitForPage(PageKind::Update));
            run->Click(IDOK);
        }
        if (endsHidden) {
            EXPECT_TRUE(run->Finish(20000));
            EXPECT_EQ(run->ExitCode(), 2);
            EXPECT_FALSE(run->WasEverVisible());
        } else {
            ASSERT_TRUE(run->WaitForPage(PageKind::Error, 20000));
            EXPECT_EQ(ItemText(VisiblePage(run->Frame()), 1011),
                      download ? L"Error while downloading update. Please check Internet connection."
                               : L"Error while checking available updates. Please check Internet connection.");
            EXPECT_TRUE(ButtonShown(run->Frame(), Back));
            run->Click(IDCANCEL);
            EXPECT_TRUE(run->Finish());
        }
    }
    EXPECT_EQ(server.RequestCount(CheckDocumentName()), 2);
    EXPECT_EQ(server.RequestCount(DownloadName()), 0);
    EXPECT_FALSE(key.Has(traits.pendingVersionValue));
    EXPECT_FALSE(key.Has(traits.downloadedFileValue));
}

// A server that never lets its answer end keeps no run for ever: when the
// step's time is up it fails as if its worker had said so, hidden or not, and
// the worker's report, should it ever come, is dropped. The hidden run's
// server sends its head a byte now and then, which no wait of the transfer
// ends; the visible one's is still busy with it and answers nothing.
TEST_F(UpdaterPagesTest, AStepWhoseWorkerNeverReportsFailsWhenItsTimeIsUp)
{
    const ScopedTransferSetting<TransferTimes> shortTimes(&SetTransferTimes, TransferTimes{500, 1000});
    for (const bool hidden : {true, false}) {
        SCOPED_TRACE(hidden ? "hidden" : "visible");
        UpdateServer::File stuck;
        stuck.body = "never sent";
        stuck.dripHeadEveryMs = 100;
        server.Put(CheckDocumentName(), stuck);
        auto run = Start(hidden);
        if (hidden) {
            // The head alone takes more than 40 s; the step's time is 2 s.
            EXPECT_TRUE(run->Finish(10000));
            EXPECT_EQ(run->ExitCode(), 2);
            EXPECT_FALSE(run->WasEverVisible());
        } else {
            ASSERT_TRUE(run->WaitForPage(PageKind::Error, 20000));
            run->Click(IDCANCEL);
            EXPECT_TRUE(run->Finish());
        }
    }
    server.Release();
    EXPECT_FALSE(key.Has(traits.pendingVersionValue));
}

// When the download step's time is up, the worker that still waits is told
// so: what it fetches afterwards is neither placed nor recorded, and its
// report does not come, so the error the user was shown stays true.
TEST_F(UpdaterPagesTest, AWorkerWhoseStepTimedOutLeavesWhatItLaterFetchesAlone)
{
    const ScopedTransferSetting<TransferTimes> shortTimes(&SetTransferTimes, TransferTimes{500, 1000});
    PutOffer("2.4");
    UpdateServer::File held;
    held.holdAfter = 0;
    PutDownload("late", held);
    auto run = Start(false);
    ASSERT_TRUE(run->WaitForPage(PageKind::Update));
    run->Click(IDOK);
    ASSERT_TRUE(WaitFor([this] { return server.IsHolding(); }));
    ASSERT_TRUE(run->WaitForPage(PageKind::Error, 20000));
    // The body comes now; the late worker ends without a trace.
    server.Release();
    EXPECT_TRUE(WaitFor([] { return GetActiveWorkerCount() == 0; }, 20000));
    EXPECT_FALSE(key.Has(traits.pendingVersionValue));
    EXPECT_FALSE(key.Has(traits.downloadedFileValue));
    EXPECT_FALSE(FileExists(ExpectedTarget()));
    EXPECT_TRUE(run->WaitForPage(PageKind::Error, 1000));
    run->Click(IDCANCEL);
    EXPECT_TRUE(run->Finish());
}

// The hidden endings close the frame from inside a page's own handler (the
// report of the check or the download). The page object must outlive that
// handler: the probe keeps the deleted page and tells whether anything
// wrote into it afterwards.
class HiddenEndingTest : public UpdaterPagesTest {
protected:
    // Starts a hidden run whose held response is served once the page at
    // pageIndex is watched; true when the page went, and only after its
    // handler returned.
    void ExpectPageOutlivesItsHandler(int pageIndex)
    {
        auto run = Start(true);
        ASSERT_NE(run->Frame(), nullptr);
        ASSERT_TRUE(WaitFor([this] { return server.IsHolding(); }));
        CMainDlg* frame = CMainDlg::GetInstance();
        ASSERT_NE(frame, nullptr);
        LifetimeProbe::Watch(frame->GetPage(pageIndex));
        server.Release();
        ASSERT_TRUE(run->Finish());
        EXPECT_FALSE(run->WasEverVisible());
        EXPECT_TRUE(LifetimeProbe::WasDeleted());
        EXPECT_FALSE(LifetimeProbe::WasTouchedAfterDeletion());
        LifetimeProbe::Reset();
    }

    static UpdateServer::File Held(const std::string& body)
    {
        UpdateServer::File file;
        file.body = body;
        file.holdAfter = 4;
        return file;
    }
};

TEST_F(HiddenEndingTest, NoUpdate)
{
    key.Set(traits.installedVersionValue, L"2.4");
    server.Put(CheckDocumentName(), Held(IsChannelListUpdater() ? MakeChannelDescriptor("2.3", true, 1)
                                                                : MakeUpdateZip("2.3", PackageName, DisplayName)));
    ExpectPageOutlivesItsHandler(0);
}

TEST_F(HiddenEndingTest, CheckFailed)
{
    // The document breaks off after it was held.
    UpdateServer::File broken = Held("<html>partial</html>");
    broken.announcedLength = broken.body.size() + 1000;
    server.Put(CheckDocumentName(), broken);
    ExpectPageOutlivesItsHandler(0);
}

TEST_F(HiddenEndingTest, DownloadFailed)
{
    if (!IsChannelListUpdater())
        GTEST_SKIP() << "a hidden program updater shows itself before it downloads";
    PutOffer("2011.01.01.1");
    server.Put(DownloadName(), Held("<html>not the archive</html>"));
    ExpectPageOutlivesItsHandler(2);
}

} // namespace
