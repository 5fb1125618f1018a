// The updaters' start-up data, check and download without windows: the
// workers' functions run on the test thread against the local server, with
// the real registry key and real files.

#include "tests/updater/UpdaterFixture.h"

#include "tests/support/UncFolder.h"
#include "wizards/common/MacroTable.h"
#include "wizards/common/ProductSettings.h"
#include "wizards/common/RegistryValues.h"
#include "wizards/common/WizardLanguages.h"
#include "wizards/updater/CommandLine.h"
#include "wizards/updater/DownloadCallback.h"
#include "wizards/updater/TransferFile.h"
#include "wizards/updater/TransferPolicy.h"
#include "wizards/updater/UpdateCheck.h"
#include "wizards/updater/UpdateDownload.h"
#include "wizards/updater/UpdaterContext.h"
#include "wizards/updater/UpdaterMessages.h"
#include "wizards/updater/UpdaterRegistry.h"
#include "wizards/updater/UrlTransfer.h"
#include "wizards/updater/WorkerThread.h"

#include <atomic>
#include <memory>
#include <new>
#include <thread>

namespace {

struct CommandLineCase {
    const wchar_t* line;
    bool hidden;
};

class CommandLineTest : public ::testing::TestWithParam<CommandLineCase> {};

TEST_P(CommandLineTest, HiddenOnlyForTheExactTokenH)
{
    EXPECT_EQ(ParseUpdaterCommandLine(GetParam().line).hidden, GetParam().hidden) << GetParam().line;
}

INSTANTIATE_TEST_SUITE_P(Tokens, CommandLineTest,
                         ::testing::Values(CommandLineCase{L"", false}, CommandLineCase{L"-h", true},
                                           CommandLineCase{L"/h", true}, CommandLineCase{L"h", true},
                                           CommandLineCase{L"-H", false}, CommandLineCase{L"-p -h", true},
                                           CommandLineCase{L"--h--", true}, CommandLineCase{L"-hp", false},
                                           CommandLineCase{L"-p", false}, CommandLineCase{L"x/p-h", true},
                                           CommandLineCase{L"hh", false}));

TEST(CommandLine, PIsAcceptedAndChangesNothingElse)
{
    const UpdaterCommandLine options = ParseUpdaterCommandLine(L"/p");
    EXPECT_TRUE(options.p);
    EXPECT_FALSE(options.hidden);
}

struct OfferCase {
    const wchar_t* offered;
    const wchar_t* installed;
    const wchar_t* pending;
    bool expected;
};

class OfferRuleTest : public ::testing::TestWithParam<OfferCase> {};

TEST_P(OfferRuleTest, NewerThanBothInstalledAndPending)
{
    const OfferCase& c = GetParam();
    EXPECT_EQ(IsUpdateOffered(c.offered, c.installed, c.pending), c.expected)
        << c.offered << " / " << c.installed << " / " << c.pending;
}

INSTANTIATE_TEST_SUITE_P(
    Versions, OfferRuleTest,
    ::testing::Values(OfferCase{L"2.3.3", L"2.3.2", L"0.0.0.0", true},
                      OfferCase{L"2.3.2", L"2.3.2", L"0.0.0.0", false},
                      OfferCase{L"2.3.1", L"2.3.2", L"0.0.0.0", false},
                      OfferCase{L"2.3.10", L"2.3.9", L"0.0.0.0", true},
                      OfferCase{L"2.4", L"2.3.2", L"2.4.0.0", false},
                      OfferCase{L"2.5", L"2.3.2", L"2.4", true},
                      OfferCase{L"", L"0.0.0.0", L"0.0.0.0", false},
                      OfferCase{L"0.0.0.1", L"0.0.0.0", L"0.0.0.0", true},
                      OfferCase{L"2010.08.10.1", L"2010.08.09.12", L"0.0.0.0", true}));

class UpdaterDataTest : public UpdaterFixture {};

TEST_F(UpdaterDataTest, LoadsTextsSettingsAndDefaultVersionsFromTheAppendedArchive)
{
    WriteProgram();
    ASSERT_TRUE(LoadUpdaterData(ProgramFile()));
    const UpdaterContext& context = GetUpdaterContext();
    EXPECT_EQ(GetLanguageText(traits.captionKey), ExpectedCaption());
    EXPECT_EQ(GetDownloadFolderUrl(), server.FolderUrl());
    EXPECT_EQ(context.installedVersion, L"0.0.0.0");
    EXPECT_EQ(context.pendingVersion, L"0.0.0.0");
    EXPECT_EQ(context.updatesFolder, folder.File(L"Updates"));
    EXPECT_FALSE(context.recorderEdition);
    EXPECT_TRUE(context.descriptor == nullptr);
    EXPECT_TRUE(context.newVersion.empty());
}

TEST_F(UpdaterDataTest, VersionsComeFromTheVariantsRegistryValues)
{
    key.Set(L"Version", L"2.3.2");
    key.Set(L"UpdateVersion", L"2.3.5");
    key.Set(L"CVersion", L"2010.08.11.10");
    key.Set(L"CUpdateVersion", L"2010.09.01.1");
    LoadProgram();
    const UpdaterContext& context = GetUpdaterContext();
    EXPECT_EQ(context.installedVersion, IsChannelListUpdater() ? L"2010.08.11.10" : L"2.3.2");
    EXPECT_EQ(context.pendingVersion, IsChannelListUpdater() ? L"2010.09.01.1" : L"2.3.5");
}

TEST_F(UpdaterDataTest, StoredLanguageIsSelected)
{
    key.Set(L"Language", L"ru");
    LoadProgram();
    EXPECT_EQ(GetCurrentLanguageExt(), L"ru");
    EXPECT_EQ(GetControlText(2), L"Отмена");
}

TEST_F(UpdaterDataTest, RecorderPackBesideTheProgramMakesTheRecorderEdition)
{
    KV::DataKey pack("Root");
    ASSERT_TRUE(pack.Save(folder.File(L"Recres.kvdt")));
    LoadProgram();
    EXPECT_TRUE(GetUpdaterContext().recorderEdition);
    EXPECT_EQ(GetMacro(L"#title#"), L"Brisvane Recorder");
    EXPECT_EQ(GetLanguageText(traits.captionKey),
              IsChannelListUpdater() ? L"Update Brisvane Recorder channel list" : L"Update Brisvane Recorder");

    KV::DataKey descriptor("2.4");
    descriptor.SetStringW("name", L"Brisvane 2.4 (Brisvane)");
    GetUpdaterContext().descriptor = std::make_unique<KV::DataKey>(descriptor);
    EXPECT_EQ(GetUpdateDisplayName(), L"Brisvane Recorder 2.4 (Brisvane Recorder)");
}

TEST_F(UpdaterDataTest, ProgramWithoutArchiveHasNoTextsAndNoSettings)
{
    ASSERT_TRUE(WriteWholeFile(ProgramFile(), "MZ not an archive"));
    EXPECT_FALSE(LoadUpdaterData(ProgramFile()));
    EXPECT_TRUE(GetLanguageText(traits.captionKey).empty());
    EXPECT_EQ(GetUpdaterContext().installedVersion, L"0.0.0.0");
}

TEST_F(UpdaterDataTest, ShippedProgramCarriesItsArchive)
{
    const std::wstring shipped = FinishedProgram(IsChannelListUpdater() ? L"Chanfresh.exe" : L"Updater.exe");
    ASSERT_TRUE(FileExists(shipped));
    EXPECT_TRUE(LoadUpdaterData(shipped));
    // The build's program folder may hold the recorder edition's pack.
    const bool recorder = FileExists(FinishedProgram(L"Recres.kvdt"));
    EXPECT_EQ(GetUpdaterContext().recorderEdition, recorder);
    EXPECT_EQ(GetLanguageText(traits.captionKey),
              recorder ? (IsChannelListUpdater() ? L"Update Brisvane Recorder channel list" : L"Update Brisvane Recorder")
                       : ExpectedCaption());
    const KV::DataKey* update = GetProductSettings().GetKey("update");
    ASSERT_NE(update, nullptr);
    const std::wstring folderUrl = update->GetStringW("folder", std::wstring());
    EXPECT_EQ(folderUrl.compare(0, 8, L"https://"), 0);
    EXPECT_EQ(folderUrl.substr(folderUrl.size() - 11), L"/downloads/");
    EXPECT_EQ(update->GetStringW("file", std::wstring()), L"update.zip");
    EXPECT_FALSE(update->HasValue("durl"));
    // So the update page hides its Details link.
    EXPECT_TRUE(GetDetailsUrl().empty());
    const KV::DataKey* product = GetProductSettings().GetKey("reg")->GetKey("reg");
    EXPECT_EQ(product->GetUInt("root", 9), 1u);
    EXPECT_EQ(product->GetStringW("key", std::wstring()), L"SOFTWARE\\Kestrivo\\Brisvane");
}

TEST_F(UpdaterDataTest, DetailsUrlFormatsTheVersionWithDashes)
{
    TestSettingsOptions options;
    options.detailsFormat = L"http://www.example.com/#lang#/whatsnew-%s.html";
    LoadProgram(options);
    EXPECT_TRUE(GetDetailsUrl().find(L"whatsnew-.html") != std::wstring::npos);
    GetUpdaterContext().newVersion = L"2.3.2";
    EXPECT_EQ(GetDetailsUrl(), L"http://www.example.com/en/whatsnew-2-3-2.html");
}

TEST_F(UpdaterDataTest, RegistryValuesAreReadAndWrittenInTheExistingKeyOnly)
{
    LoadProgram();
    EXPECT_EQ(GetProductRegValue(L"Missing", L"fallback"), L"fallback");
    EXPECT_TRUE(SetProductRegValue(L"Update", L"C:\\x"));
    EXPECT_EQ(key.Get(L"Update"), L"C:\\x");
    EXPECT_EQ(GetProductRegValue(L"Update", L"fallback"), L"C:\\x");

    // Without the key the updater creates nothing.
    ::RegDeleteTreeW(HKEY_CURRENT_USER, TestProductKey);
    EXPECT_FALSE(SetProductRegValue(L"Update", L"C:\\y"));
    HKEY opened = nullptr;
    EXPECT_NE(::RegOpenKeyExW(HKEY_CURRENT_USER, TestProductKey, 0, KEY_READ, &opened), ERROR_SUCCESS);
}

class UpdateCheckTest : public UpdaterFixture {};

struct CheckCase {
    const char* serverVersion;
    const wchar_t* installed;  // null: value absent
    const wchar_t* pending;
    CheckOutcome expected;
};

class UpdateCheckCaseTest : public UpdaterFixture, public ::testing::WithParamInterface<CheckCase> {};

TEST_P(UpdateCheckCaseTest, OffersOnlyAVersionNewerThanInstalledAndPending)
{
    const CheckCase& c = GetParam();
    if (c.installed)
        key.Set(traits.installedVersionValue, c.installed);
    if (c.pending)
        key.Set(traits.pendingVersionValue, c.pending);
    LoadProgram();
    PutOffer(c.serverVersion, 12);
    EXPECT_EQ(RunCheck(), c.expected);
    const UpdaterContext& context = GetUpdaterContext();
    EXPECT_EQ(context.updateError, UpdateErrorNone);
    EXPECT_EQ(context.newVersion, std::wstring(c.serverVersion, c.serverVersion + strlen(c.serverVersion)));
    ASSERT_NE(context.descriptor, nullptr);
    if (IsChannelListUpdater())
        EXPECT_EQ(GetChannelCount(), 12);
    else
        EXPECT_EQ(GetUpdateDisplayName(), DisplayName);
    EXPECT_EQ(server.RequestCount(CheckDocumentName()), 1);
}

INSTANTIATE_TEST_SUITE_P(
    Versions, UpdateCheckCaseTest,
    ::testing::Values(CheckCase{"2.4", nullptr, nullptr, CheckOutcome::Offered},
                      CheckCase{"2.4", L"2.3.2", nullptr, CheckOutcome::Offered},
                      CheckCase{"2.3.2", L"2.3.2", nullptr, CheckOutcome::NoUpdate},
                      CheckCase{"2.3.1", L"2.3.2", nullptr, CheckOutcome::NoUpdate},
                      CheckCase{"2.4", L"2.3.2", L"2.4", CheckOutcome::NoUpdate},
                      CheckCase{"2.5", L"2.3.2", L"2.4", CheckOutcome::Offered},
                      CheckCase{"2010.08.11.10", L"2010.08.11.10", nullptr, CheckOutcome::NoUpdate},
                      CheckCase{"2010.08.12.10", L"2010.08.11.10", nullptr, CheckOutcome::Offered}));

TEST_F(UpdateCheckTest, MissingDocumentOrServerErrorIsAFailedCheck)
{
    LoadProgram();
    EXPECT_EQ(RunCheck(), CheckOutcome::Failed);
    EXPECT_EQ(GetUpdaterContext().updateError, UpdateErrorCheck);

    // An error page the server sends is not the document.
    UpdateServer::File errorPage;
    errorPage.status = 500;
    errorPage.body = "<html>server error</html>";
    server.Put(CheckDocumentName(), errorPage);
    EXPECT_EQ(RunCheck(), CheckOutcome::Failed);

    PutOffer("9.0");
    EXPECT_EQ(RunCheck(), CheckOutcome::Offered);
    EXPECT_EQ(GetUpdaterContext().updateError, UpdateErrorNone);
}

// A folder that is not HTTPS (and not on a loopback host) is never fetched.
TEST_F(UpdateCheckTest, UnreachableServerOrFolderThatIsNotHttpsIsAFailedCheck)
{
    for (const wchar_t* folderUrl : {L"http://127.0.0.1:1/downloads/", L"http://www.kestrivo.example/downloads/"}) {
        TestSettingsOptions options;
        options.folderUrl = folderUrl;
        LoadProgram(options);
        EXPECT_EQ(RunCheck(), CheckOutcome::Failed) << folderUrl;
        EXPECT_EQ(GetUpdaterContext().updateError, UpdateErrorCheck) << folderUrl;
    }
}

TEST_F(UpdateCheckTest, DocumentWithoutDescriptorOffersNothing)
{
    LoadProgram();
    if (IsChannelListUpdater())
        server.Put(CheckDocumentName(), "not a data tree");
    else
        server.Put(CheckDocumentName(), MakeUpdateZip("9.0", PackageName, DisplayName, "readme"));
    EXPECT_EQ(RunCheck(), CheckOutcome::NoUpdate);
    EXPECT_TRUE(GetUpdaterContext().newVersion.empty());
    EXPECT_EQ(GetUpdaterContext().descriptor, nullptr);
}

TEST_F(UpdateCheckTest, ProgramUpdaterFindsTheDescriptorEntryIgnoringCase)
{
    if (IsChannelListUpdater())
        GTEST_SKIP() << "Chanfresh's check document is the descriptor itself";
    LoadProgram();
    server.Put(CheckDocumentName(), MakeUpdateZip("3.0", PackageName, DisplayName, "UPDATE"));
    EXPECT_EQ(RunCheck(), CheckOutcome::Offered);
}

TEST_F(UpdateCheckTest, ProgramUpdaterReadsTheCheckFileNamedInTheSettings)
{
    if (IsChannelListUpdater())
        GTEST_SKIP() << "Chanfresh always reads cupdate.dat";
    TestSettingsOptions options;
    options.checkFile = L"check-2.zip";
    LoadProgram(options);
    server.Put("check-2.zip", MakeUpdateZip("3.0", PackageName, DisplayName));
    EXPECT_EQ(RunCheck(), CheckOutcome::Offered);
}

TEST_F(UpdateCheckTest, ChannelCountIsZeroWithoutCc)
{
    if (!IsChannelListUpdater())
        GTEST_SKIP() << "only Chanfresh's descriptor has a channel count";
    LoadProgram();
    server.Put(CheckDocumentName(), MakeChannelDescriptor("2011.01.01.1", false));
    EXPECT_EQ(RunCheck(), CheckOutcome::Offered);
    EXPECT_EQ(GetChannelCount(), 0);
}

struct ProgressSeen {
    unsigned reports = 0;
    size_t last = 0;
    LPARAM total = 0;
};
ProgressSeen g_progressSeen;

LRESULT CALLBACK ProgressProbeProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_UPDATER_PROGRESS) {
        ++g_progressSeen.reports;
        g_progressSeen.last = wParam;
        g_progressSeen.total = lParam;
        return 0;
    }
    return ::DefWindowProcW(hwnd, msg, wParam, lParam);
}

class UpdateDownloadTest : public UpdaterFixture {
protected:
    // A check that offered version.
    void CheckOffered(const std::string& version)
    {
        PutOffer(version);
        ASSERT_EQ(RunCheck(), CheckOutcome::Offered);
    }
};

TEST_F(UpdateDownloadTest, CompletedDownloadLandsInUpdatesAndIsRecorded)
{
    LoadProgram();
    CheckOffered("2.4");
    PutDownload(std::string(70000, 'S') + "end");
    EXPECT_EQ(RunDownload(nullptr), DownloadOutcome::Completed);
    EXPECT_EQ(ReadWholeFile(ExpectedTarget()), Served(std::string(70000, 'S') + "end"));
    EXPECT_EQ(key.Get(traits.downloadedFileValue), ExpectedTarget());
    EXPECT_EQ(key.Get(traits.pendingVersionValue), L"2.4");
    EXPECT_TRUE(GetUpdaterContext().updated);
    EXPECT_EQ(GetUpdaterContext().updateError, UpdateErrorNone);
    // The other updater's values stay alone.
    EXPECT_FALSE(key.Has(IsChannelListUpdater() ? L"Update" : L"CUpdate"));
}

TEST_F(UpdateDownloadTest, SecondDownloadReplacesTheFirst)
{
    LoadProgram();
    CheckOffered("2.4");
    PutDownload("first");
    ASSERT_EQ(RunDownload(nullptr), DownloadOutcome::Completed);

    // Offered again only when newer than the pending one.
    PutOffer("2.4");
    EXPECT_EQ(RunCheck(), CheckOutcome::NoUpdate);
    CheckOffered("2.5");
    PutDownload("second");
    ASSERT_EQ(RunDownload(nullptr), DownloadOutcome::Completed);
    EXPECT_EQ(ReadWholeFile(ExpectedTarget()), Served("second"));
    EXPECT_EQ(key.Get(traits.pendingVersionValue), L"2.5");
}

TEST_F(UpdateDownloadTest, FailedDownloadRecordsNothing)
{
    LoadProgram();
    CheckOffered("2.4");
    EXPECT_EQ(RunDownload(nullptr), DownloadOutcome::Failed);
    EXPECT_EQ(GetUpdaterContext().updateError, UpdateErrorDownload);
    EXPECT_FALSE(GetUpdaterContext().updated);
    EXPECT_FALSE(FileExists(ExpectedTarget()));
    EXPECT_FALSE(key.Has(traits.downloadedFileValue));
    EXPECT_FALSE(key.Has(traits.pendingVersionValue));
    EXPECT_EQ(server.RequestCount(DownloadName()), 1);
}

// A server that keeps sending fails the download at the limit: nothing
// recorded, no file placed, and no more read than the limit and what the
// sockets hold.
TEST_F(UpdateDownloadTest, AServerThatSendsWithoutEndFailsTheDownloadAtTheLimit)
{
    LoadProgram();
    const uint64_t limit = 1024 * 1024;
    const ScopedTransferSetting<uint64_t> smallLimit(&SetTransferByteLimit, limit);
    CheckOffered("2.4");
    UpdateServer::File endless;
    endless.sendLength = false;
    endless.endless = true;
    PutDownload("endless", endless);
    EXPECT_EQ(RunDownload(nullptr), DownloadOutcome::Failed);
    EXPECT_LT(server.FillerSent(), 16 * limit);
    EXPECT_EQ(GetUpdaterContext().updateError, UpdateErrorDownload);
    EXPECT_FALSE(FileExists(ExpectedTarget()));
    EXPECT_FALSE(key.Has(traits.pendingVersionValue));
    EXPECT_FALSE(key.Has(traits.downloadedFileValue));
    // Within the limit the same download goes through.
    PutDownload("bounded");
    EXPECT_EQ(RunDownload(nullptr), DownloadOutcome::Completed);
}

// A server that sends the body a byte now and then ends the download as
// failed when the transfer's time is up, instead of keeping the run for
// ever. (One that goes silent is ended by the page's watch: the system's
// wait for a piece is not kept by every system.)
TEST_F(UpdateDownloadTest, AServerThatDripsFailsTheDownloadWhenItsTimeIsUp)
{
    LoadProgram();
    // Bytes that no compression shortens, so that the drip takes long.
    std::string payload(600, '\0');
    uint32_t seed = 12345;
    for (char& byte : payload) {
        seed = seed * 1103515245u + 12345u;
        byte = static_cast<char>('a' + (seed >> 16) % 26);
    }
    const ScopedTransferSetting<TransferTimes> shortTimes(&SetTransferTimes, TransferTimes{1000, 2000});
    CheckOffered("2.4");
    UpdateServer::File drip;
    drip.dripEveryMs = 25;
    PutDownload(payload, drip);
    const ULONGLONG start = ::GetTickCount64();
    const DownloadOutcome outcome = RunDownload(nullptr);
    const ULONGLONG elapsed = ::GetTickCount64() - start;
    EXPECT_EQ(outcome, DownloadOutcome::Failed);
    // The whole drip would take fifteen seconds.
    EXPECT_LT(elapsed, 8000u);
    EXPECT_FALSE(FileExists(ExpectedTarget()));
    EXPECT_FALSE(key.Has(traits.pendingVersionValue));
}

// A download whose page stopped waiting for it (the step's time was up, and
// the user was told it failed) places and records nothing, however well the
// transfer ends afterwards.
TEST_F(UpdateDownloadTest, AnAbandonedDownloadPlacesAndRecordsNothing)
{
    LoadProgram();
    CheckOffered("2.4");
    PutDownload("abandoned");
    DownloadRequest request = MakeDownloadRequest();
    request.abandoned = std::make_shared<std::atomic<bool>>(true);
    const std::atomic<bool> notCancelled{false};
    EXPECT_EQ(PerformDownload(request, notCancelled, nullptr), DownloadOutcome::Failed);
    EXPECT_FALSE(FileExists(ExpectedTarget()));
    EXPECT_FALSE(key.Has(traits.pendingVersionValue));
    EXPECT_FALSE(key.Has(traits.downloadedFileValue));
    // The same request, still awaited, goes through.
    request.abandoned->store(false);
    EXPECT_EQ(PerformDownload(request, notCancelled, nullptr), DownloadOutcome::Completed);
}

// A server that answers and then goes silent fails the download when the
// wait for a piece is up, long before the transfer's whole time.
TEST_F(UpdateDownloadTest, AServerThatGoesSilentFailsTheDownloadWhenItsWaitIsUp)
{
    LoadProgram();
    const ScopedTransferSetting<TransferTimes> shortWait(&SetTransferTimes, TransferTimes{1000, 60000});
    CheckOffered("2.4");
    UpdateServer::File silent;
    silent.holdAfter = 10;
    PutDownload("silent", silent);
    // A guard against a test that would hang: the held body goes on after
    // fifteen seconds.
    std::atomic<bool> finished{false};
    std::thread guard([&] {
        for (int i = 0; i < 150 && !finished; ++i)
            ::Sleep(100);
        server.Release();
    });
    const ULONGLONG start = ::GetTickCount64();
    const DownloadOutcome outcome = RunDownload(nullptr);
    const ULONGLONG elapsed = ::GetTickCount64() - start;
    finished = true;
    guard.join();
    EXPECT_EQ(outcome, DownloadOutcome::Failed);
    EXPECT_LT(elapsed, 10000u);
    EXPECT_FALSE(FileExists(ExpectedTarget()));
    EXPECT_FALSE(key.Has(traits.pendingVersionValue));
}

// Registry writes of the download's record, the one numbered failingWrite
// (counted from 1) failing: saying so, or throwing as one out of memory.
std::atomic<int> g_recordWrites{0};
std::atomic<int> g_failingRecordWrite{0};
std::atomic<bool> g_failingWriteThrows{false};

bool RecordWriteThatMayFail(HKEY key, const wchar_t* name, const std::wstring& text)
{
    if (++g_recordWrites == g_failingRecordWrite) {
        if (g_failingWriteThrows)
            throw std::bad_alloc();
        return false;
    }
    return SetRegString(key, name, text);
}

// A download whose record cannot be written whole is a failed one, and the
// product key is left as it was: never a version without its file.
TEST_F(UpdateDownloadTest, RecordIsWrittenWholeOrNotAtAll)
{
    const struct {
        const char* name;
        int failingWrite;
        bool earlierDownload;
        bool throws;
    } cases[] = {
        // Without a value before, so these come first.
        {"the version's write fails, nothing pending", 1, false, false},
        {"the file's write fails, nothing pending", 2, false, false},
        {"the version's write throws, nothing pending", 1, false, true},
        {"the file's write throws, nothing pending", 2, false, true},
        {"the version's write fails, an earlier download pending", 1, true, false},
        {"the file's write fails, an earlier download pending", 2, true, false},
        {"the file's write throws, an earlier download pending", 2, true, true},
    };
    LoadProgram();
    const std::wstring earlierFile = folder.File(L"Updates\\earlier");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.earlierDownload) {
            ASSERT_TRUE(key.Set(traits.pendingVersionValue, L"2.3"));
            ASSERT_TRUE(key.Set(traits.downloadedFileValue, earlierFile));
        }
        CheckOffered("2.4");
        PutDownload("recorded or not");
        g_recordWrites = 0;
        g_failingRecordWrite = c.failingWrite;
        g_failingWriteThrows = c.throws;
        const RegistryStringWriter previous = SetDownloadRecordWriter(&RecordWriteThatMayFail);
        DownloadOutcome outcome = DownloadOutcome::Completed;
        EXPECT_NO_THROW(outcome = RunDownload(nullptr));
        EXPECT_EQ(outcome, DownloadOutcome::Failed);
        SetDownloadRecordWriter(previous);
        g_failingWriteThrows = false;
        EXPECT_EQ(GetUpdaterContext().updateError, UpdateErrorDownload);
        EXPECT_FALSE(GetUpdaterContext().updated);
        if (c.earlierDownload) {
            EXPECT_EQ(key.Get(traits.pendingVersionValue), L"2.3");
            EXPECT_EQ(key.Get(traits.downloadedFileValue), earlierFile);
        } else {
            EXPECT_FALSE(key.Has(traits.pendingVersionValue));
            EXPECT_FALSE(key.Has(traits.downloadedFileValue));
        }
    }
    // With every write going through, the same download is recorded.
    CheckOffered("2.4");
    EXPECT_EQ(RunDownload(nullptr), DownloadOutcome::Completed);
    EXPECT_EQ(key.Get(traits.pendingVersionValue), L"2.4");
    EXPECT_EQ(key.Get(traits.downloadedFileValue), ExpectedTarget());
}

// A program installed on a network share downloads into its own Updates
// folder there.
TEST_F(UpdateDownloadTest, ProgramOnANetworkShareDownloadsIntoItsUpdatesFolder)
{
    UncFolder share;
    if (share.Path().empty())
        GTEST_SKIP() << "this system offers no network share to write through";
    TestSettingsOptions options;
    options.folderUrl = server.FolderUrl();
    const std::wstring program = share.File(IsChannelListUpdater() ? L"Chanfresh.exe" : L"Updater.exe");
    ASSERT_TRUE(WriteProgramFile(program, MakeTestSettings(options)));
    ASSERT_TRUE(LoadUpdaterData(program));
    CheckOffered("2.4");
    PutDownload("on the share");
    EXPECT_EQ(RunDownload(nullptr), DownloadOutcome::Completed);
    const std::wstring target = share.File(L"Updates\\") + (IsChannelListUpdater() ? L"Channels.brsc" : PackageName);
    EXPECT_EQ(ReadWholeFile(target), Served("on the share"));
    EXPECT_EQ(key.Get(traits.downloadedFileValue), target);
    EXPECT_EQ(key.Get(traits.pendingVersionValue), L"2.4");
    EXPECT_FALSE(FileExists(target + L".part"));
}

TEST_F(UpdateDownloadTest, ProgressReachesTheWindowOnTheDownloadThread)
{
    LoadProgram();
    CheckOffered("2.4");
    PutDownload(std::string(200000, 'x'));

    // A message-only window of this thread collects the reports.
    g_progressSeen = ProgressSeen();
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = &ProgressProbeProc;
    windowClass.lpszClassName = L"UpdaterProgressProbe";
    ::RegisterClassW(&windowClass);
    HWND probe = ::CreateWindowW(L"UpdaterProgressProbe", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    ASSERT_NE(probe, nullptr);
    EXPECT_EQ(RunDownload(probe), DownloadOutcome::Completed);
    ::DestroyWindow(probe);
    EXPECT_GT(g_progressSeen.reports, 0u);
    const size_t served = IsChannelListUpdater() ? MakeChannelsZip(Served(std::string(200000, 'x'))).size()
                                                 : Served(std::string(200000, 'x')).size();
    EXPECT_EQ(g_progressSeen.total, static_cast<LPARAM>(served));
    EXPECT_EQ(g_progressSeen.last, served);
}

TEST_F(UpdateDownloadTest, PackageNamesThatLeaveTheUpdatesFolderAreRefused)
{
    if (IsChannelListUpdater())
        GTEST_SKIP() << "Chanfresh's target name is fixed";
    LoadProgram();
    for (const wchar_t* name : {L"..\\Brisvane.exe", L"sub/setup.exe", L"C:setup.exe", L"\\setup.exe", L"", L".."}) {
        server.Put(CheckDocumentName(), MakeUpdateZip("2.4", name, DisplayName));
        ASSERT_EQ(RunCheck(), CheckOutcome::Offered);
        EXPECT_EQ(RunDownload(nullptr), DownloadOutcome::Failed) << name;
        EXPECT_EQ(GetUpdaterContext().updateError, UpdateErrorDownload);
    }
    EXPECT_EQ(server.RequestCount(DownloadName()), 0);
    EXPECT_FALSE(key.Has(L"Update"));
}

TEST_F(UpdateDownloadTest, ChannelArchiveWithoutTheCatalogueKeepsTheEarlierDownload)
{
    if (!IsChannelListUpdater())
        GTEST_SKIP() << "only Chanfresh extracts from an archive";
    LoadProgram();
    CheckOffered("2011.01.01.1");
    PutDownload("catalogue one");
    ASSERT_EQ(RunDownload(nullptr), DownloadOutcome::Completed);

    CheckOffered("2011.02.01.1");
    server.Put(DownloadName(), MakeChannelsZip(MakeCatalogueBytes("wrong"), "Other.brsc"));
    EXPECT_EQ(RunDownload(nullptr), DownloadOutcome::Failed);
    EXPECT_EQ(ReadWholeFile(ExpectedTarget()), Served("catalogue one"));
    EXPECT_EQ(key.Get(L"CUpdateVersion"), L"2011.01.01.1");
    EXPECT_FALSE(FileExists(ExpectedTarget() + L".part"));
}

TEST_F(UpdateDownloadTest, ChannelCatalogueEntryIsFoundIgnoringCase)
{
    if (!IsChannelListUpdater())
        GTEST_SKIP() << "only Chanfresh extracts from an archive";
    LoadProgram();
    CheckOffered("2011.01.01.1");
    server.Put(DownloadName(), MakeChannelsZip(MakeCatalogueBytes("catalogue"), "channels.BRSC"));
    EXPECT_EQ(RunDownload(nullptr), DownloadOutcome::Completed);
    EXPECT_EQ(ReadWholeFile(ExpectedTarget()), MakeCatalogueBytes("catalogue"));
}


struct TransferUrlCase {
    const wchar_t* url;
    bool allowed;
};

class TransferPolicyTest : public ::testing::TestWithParam<TransferUrlCase> {};

TEST_P(TransferPolicyTest, HttpsOrPlainHttpFromALoopbackHostOnly)
{
    EXPECT_EQ(IsAllowedTransferUrl(GetParam().url), GetParam().allowed) << GetParam().url;
}

INSTANTIATE_TEST_SUITE_P(
    Addresses, TransferPolicyTest,
    ::testing::Values(TransferUrlCase{L"https://www.kestrivo.example/downloads/update.zip", true},
                      TransferUrlCase{L"HTTPS://www.kestrivo.example:8443/x", true},
                      TransferUrlCase{L"http://127.0.0.1:8080/downloads/", true},
                      TransferUrlCase{L"http://127.45.6.7/downloads/", true},
                      TransferUrlCase{L"http://localhost/downloads/", true},
                      TransferUrlCase{L"http://[::1]:8080/downloads/", true},
                      TransferUrlCase{L"http://www.kestrivo.example/downloads/", false},
                      TransferUrlCase{L"http://127.0.0.1.kestrivo.example/downloads/", false},
                      TransferUrlCase{L"http://128.0.0.1/downloads/", false},
                      TransferUrlCase{L"http://10.0.0.1/downloads/", false},
                      TransferUrlCase{L"ftp://127.0.0.1/downloads/", false},
                      TransferUrlCase{L"file:///C:/windows/notepad.exe", false},
                      TransferUrlCase{L"update.zip", false}, TransferUrlCase{L"", false}));

TEST(DownloadCallback, RedirectThatLeavesHttpsAbortsTheTransfer)
{
    std::atomic<bool> cancel{false};
    CCallback callback(cancel, nullptr);
    EXPECT_EQ(callback.OnProgress(0, 0, BINDSTATUS_REDIRECTING, L"https://mirror.kestrivo.example/downloads/x"), S_OK);
    EXPECT_FALSE(callback.WasRedirectRefused());
    EXPECT_EQ(callback.OnProgress(0, 0, BINDSTATUS_REDIRECTING, L"http://mirror.kestrivo.example/downloads/x"),
              E_ABORT);
    EXPECT_TRUE(callback.WasRedirectRefused());
    // The transfer stays aborted.
    EXPECT_EQ(callback.OnProgress(10, 100, BINDSTATUS_DOWNLOADINGDATA, nullptr), E_ABORT);
}

// Records the redirects the transfer reports.
class RedirectRecorder : public CCallback {
public:
    explicit RedirectRecorder(const std::atomic<bool>& cancel) : CCallback(cancel, nullptr) {}
    STDMETHODIMP OnProgress(ULONG progress, ULONG progressMax, ULONG statusCode, LPCWSTR statusText) override
    {
        if (statusCode == BINDSTATUS_REDIRECTING && statusText)
            redirects.push_back(statusText);
        return CCallback::OnProgress(progress, progressMax, statusCode, statusText);
    }
    std::vector<std::wstring> redirects;
};

TEST_F(UpdateCheckTest, RedirectThatLeavesHttpsIsRefused)
{
    LoadProgram();
    server.Put("moved", IsChannelListUpdater() ? MakeChannelDescriptor("9.0", true, 1)
                                               : MakeUpdateZip("9.0", PackageName, DisplayName));
    // Plain HTTP to an address that is no loopback one; 0.0.0.0 reaches this
    // machine, so a redirect that was followed would show at the server.
    UpdateServer::File away;
    away.status = 302;
    away.location = "http://0.0.0.0:" + std::to_string(server.Port()) + "/downloads/moved";
    server.Put(CheckDocumentName(), away);
    EXPECT_EQ(RunCheck(), CheckOutcome::Failed);
    EXPECT_EQ(GetUpdaterContext().updateError, UpdateErrorCheck);
    EXPECT_EQ(server.RequestCount("moved"), 0);

    // A redirect within what is allowed is followed.
    UpdateServer::File nearby;
    nearby.status = 302;
    nearby.location = "http://127.0.0.1:" + std::to_string(server.Port()) + "/downloads/moved";
    server.Put(CheckDocumentName(), nearby);
    EXPECT_EQ(RunCheck(), CheckOutcome::Offered);
    EXPECT_EQ(server.RequestCount("moved"), 1);

    // The transfer tells the callback where it is redirected, which is where
    // a redirect that leaves HTTPS is refused.
    std::atomic<bool> cancel{false};
    RedirectRecorder recorder(cancel);
    CTransferFile file;
    const std::string name = CheckDocumentName();
    EXPECT_TRUE(DownloadUrlToFile(server.FolderUrl() + std::wstring(name.begin(), name.end()), file.Path(), recorder));
    ASSERT_EQ(recorder.redirects.size(), 1u);
    EXPECT_EQ(recorder.redirects[0], L"http://127.0.0.1:" + std::to_wstring(server.Port()) + L"/downloads/moved");
}

// What a hostile or broken server may send for an offered update; none of
// it is kept or recorded. body gets the genuine file of the offer.
struct HostileDownload {
    const char* what;
    std::function<std::string(const std::string& genuine)> body;
};

std::string Truncated(const std::string& bytes)
{
    return bytes.substr(0, bytes.size() - 100);
}

std::vector<HostileDownload> HostileDownloads()
{
    const std::string page = "<!DOCTYPE html><html><head><title>Brisvane</title></head><body>Download</body></html>";
    if (IsChannelListUpdater()) {
        return {
            {"a saved HTML page", [page](const std::string&) { return MakeChannelsZip(page); }},
            {"a truncated catalogue",
             [](const std::string&) { return MakeChannelsZip(Truncated(MakeCatalogueBytes(std::string(500, 'c')))); }},
            {"a data tree without channels",
             [](const std::string&) { return MakeChannelsZip(TreeBytes(KV::DataKey("channels"))); }},
            {"an HTML page instead of the archive", [page](const std::string&) { return page; }},
        };
    }
    return {
        {"a plain executable", [](const std::string&) { return ReadWholeFile(ProgramImage(L"Updater.exe")); }},
        {"a saved HTML page", [page](const std::string&) { return page; }},
        {"a truncated package", [](const std::string& genuine) { return Truncated(genuine); }},
        {"a package of another version",
         [](const std::string&) { return MakeSetupPackageBytes("MZ" + std::string(5000, 'p'), L"2.3.9"); }},
        {"the uninstaller", [](const std::string&) { return MakeSetupPackageBytes("MZ", L"2.4", 1); }},
        {"a package without the executable header",
         [](const std::string&) { return MakeSetupPackageBytes("<html>", L"2.4"); }},
    };
}

TEST_F(UpdateDownloadTest, HostileDownloadsAreDeletedAndCountAsDownloadErrors)
{
    LoadProgram();
    for (const HostileDownload& hostile : HostileDownloads()) {
        CheckOffered("2.4");
        server.Put(DownloadName(), hostile.body(Served(std::string(5000, 'p'))));
        EXPECT_EQ(RunDownload(nullptr), DownloadOutcome::Failed) << hostile.what;
        EXPECT_EQ(GetUpdaterContext().updateError, UpdateErrorDownload) << hostile.what;
        EXPECT_FALSE(GetUpdaterContext().updated) << hostile.what;
        EXPECT_FALSE(key.Has(traits.downloadedFileValue)) << hostile.what;
        EXPECT_FALSE(key.Has(traits.pendingVersionValue)) << hostile.what;
        EXPECT_FALSE(FileExists(ExpectedTarget())) << hostile.what;
        EXPECT_FALSE(FileExists(ExpectedTarget() + L".part")) << hostile.what;
    }
    EXPECT_EQ(server.RequestCount(DownloadName()), static_cast<int>(HostileDownloads().size()));

    // The genuine one is kept and recorded.
    PutDownload("genuine");
    EXPECT_EQ(RunDownload(nullptr), DownloadOutcome::Completed);
    EXPECT_EQ(ReadWholeFile(ExpectedTarget()), Served("genuine"));
    EXPECT_EQ(key.Get(traits.downloadedFileValue), ExpectedTarget());
    EXPECT_EQ(key.Get(traits.pendingVersionValue), L"2.4");
}

TEST_F(UpdateDownloadTest, PackageThatIsNoExecutableIsNeverFetched)
{
    if (IsChannelListUpdater())
        GTEST_SKIP() << "Chanfresh's target name is fixed";
    LoadProgram();
    for (const wchar_t* name : {L"setup.bat", L"setup.exe.html", L"setup"}) {
        server.Put(CheckDocumentName(), MakeUpdateZip("2.4", name, DisplayName));
        ASSERT_EQ(RunCheck(), CheckOutcome::Offered);
        EXPECT_EQ(RunDownload(nullptr), DownloadOutcome::Failed) << name;
    }
    EXPECT_EQ(server.RequestCount(DownloadName()), 0);
    EXPECT_FALSE(key.Has(L"Update"));
}

// A worker that started reads only its own copy: the run's data may go
// (the frame closed, the run ended) while the transfer is under way, and
// the download is still recorded whole, its file with its version.
TEST_F(UpdateDownloadTest, WorkerKeepsWhatItReadsWhenTheRunEndsDuringTheTransfer)
{
    LoadProgram();
    CheckOffered("2.4");
    UpdateServer::File held;
    held.holdAfter = 1000;
    PutDownload(std::string(50000, 'h'), held);

    ASSERT_TRUE(StartDownload(nullptr));
    ASSERT_TRUE(WaitFor([this] { return server.IsHolding(); }));
    FreeUpdaterData();
    server.Release();
    WaitForWorkers();

    EXPECT_EQ(ReadWholeFile(ExpectedTarget()), Served(std::string(50000, 'h')));
    EXPECT_EQ(key.Get(traits.downloadedFileValue), ExpectedTarget());
    EXPECT_EQ(key.Get(traits.pendingVersionValue), L"2.4");
}

// The end of a run cannot delete a transfer file that a worker still reads
// (readers share no delete): it stays listed, goes when the worker lets it
// go, and no transfer file is written after the end.
TEST(TransferFiles, OneStillReadAtTheEndGoesWhenItsWorkerLetsItGo)
{
    BeginTransferFiles();
    std::wstring path;
    {
        CTransferFile file;
        path = file.Path();
        ASSERT_FALSE(path.empty());
        HANDLE writer = CreateTransferFileForWriting(path);
        ASSERT_NE(writer, INVALID_HANDLE_VALUE);
        ::CloseHandle(writer);
        HANDLE reader = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(reader, INVALID_HANDLE_VALUE);
        EndTransferFiles();
        EXPECT_NE(::GetFileAttributesW(path.c_str()), INVALID_FILE_ATTRIBUTES);
        EXPECT_EQ(CreateTransferFileForWriting(path), INVALID_HANDLE_VALUE);
        ::CloseHandle(reader);
    }
    EXPECT_EQ(::GetFileAttributesW(path.c_str()), INVALID_FILE_ATTRIBUTES);
    BeginTransferFiles();
}

} // namespace
