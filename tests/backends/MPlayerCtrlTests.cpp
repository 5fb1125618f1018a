// The Media Player back-end against the stand-in control.

#include "framework/AxHost.h"
#include "player/playback/BufferingPoll.h"
#include "player/playback/MPlayerCtrl.h"
#include "tests/backends/FakeControlFixture.h"
#include "tests/backends/FakeMediaPlayer.h"
#include "tests/backends/TestSupport.h"

#include <gtest/gtest.h>
#include <wmpids.h>

#include <memory>
#include <optional>

namespace {

CLSID MediaPlayerClassId()
{
    CLSID clsid{};
    ::CLSIDFromString(const_cast<LPOLESTR>(MediaPlayerClsid), &clsid);
    return clsid;
}

const wchar_t VideoSettingsPath[] = L"Software\\Microsoft\\MediaPlayer\\Preferences\\VideoSettings";

void DeleteVideoSettingsKey()
{
    ::RegDeleteKeyW(HKEY_CURRENT_USER, VideoSettingsPath);
}

class MediaPlayerBackend : public FakeControlFixture<FakeMediaPlayer, CMPlayerCtrl> {
protected:
    void SetUp() override { DeleteVideoSettingsKey(); }
    void TearDown() override
    {
        FakeControlFixture::TearDown();
        CBufferingPoll::End();
        CBufferingPoll::SetInterval(CBufferingPoll::DefaultInterval);
    }

    void Create(const MediaPlayerSetup& setup = MediaPlayerSetup())
    {
        fake = new FakeMediaPlayer(setup);
        registration.emplace(MediaPlayerClassId(), static_cast<IWMPPlayer2*>(fake));
        ASSERT_TRUE(registration->IsRegistered());
        player = std::make_unique<CMPlayerCtrl>(parent.Get(), TestParentWindow::PlayerRect());
        constructionCalls = fake->calls.size();
    }
    std::vector<std::wstring> CallsSinceConstruction() const
    {
        return std::vector<std::wstring>(fake->calls.begin() + static_cast<std::ptrdiff_t>(constructionCalls),
                                         fake->calls.end());
    }

    TestParentWindow parent;
    RecordingListener listener;
    size_t constructionCalls = 0;
};

}  // namespace

TEST_F(MediaPlayerBackend, CreatesAHiddenHostAndSetsTheControlUp)
{
    Create();
    ASSERT_TRUE(player->IsCreated());
    EXPECT_EQ(CPlayerCtrl::FindByName("m"), player.get());
    EXPECT_EQ(CPlayerCtrl::FindByType(L"asf"), player.get());
    EXPECT_EQ(player->GetRecorderKey(), "mms");
    EXPECT_TRUE(player->HasControls());
    EXPECT_EQ(player->FindScheme(L"mms"), 0);

    HWND host = player->GetWindow();
    EXPECT_EQ(::GetParent(host), parent.Get());
    EXPECT_EQ(::GetDlgCtrlID(host), 501);
    const DWORD style = static_cast<DWORD>(::GetWindowLongW(host, GWL_STYLE));
    EXPECT_EQ(style & (WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_POPUP), 0x46000000u);

    EXPECT_EQ(fake->calls, (std::vector<std::wstring>{L"put_enableErrorDialogs false", L"put_uiMode none",
                                                      L"put_enableContextMenu false", L"put_stretchToFit true",
                                                      L"put_windowlessVideo false"}));
    ASSERT_NE(fake->AdvisedInterface(), nullptr);
    EXPECT_EQ(*fake->AdvisedInterface(), __uuidof(IWMPEvents));
}

TEST_F(MediaPlayerBackend, ConnectsToWhicheverEventInterfaceTheControlHas)
{
    struct Case {
        const char* name;
        MediaPlayerSetup setup;
        bool created;
        const IID* advised;
    };
    MediaPlayerSetup ocxOnly;
    ocxOnly.eventsPoint = false;
    MediaPlayerSetup noEvents = ocxOnly;
    noEvents.ocxEventsPoint = false;
    MediaPlayerSetup controlsByProperty;  // no IWMPControls on the control itself
    controlsByProperty.answersControls = false;
    controlsByProperty.answersSettings = false;
    const Case cases[] = {
        {"both", MediaPlayerSetup(), true, &__uuidof(IWMPEvents)},
        {"ocx only", ocxOnly, true, &__uuidof(_WMPOCXEvents)},
        {"none", noEvents, false, nullptr},
        {"controls by property", controlsByProperty, true, &__uuidof(IWMPEvents)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Create(c.setup);
        EXPECT_EQ(player->IsCreated(), c.created);
        if (c.advised != nullptr) {
            ASSERT_NE(fake->AdvisedInterface(), nullptr);
            EXPECT_EQ(*fake->AdvisedInterface(), *c.advised);
        }
        TearDown();
    }
}

TEST_F(MediaPlayerBackend, ABackendWithoutItsControlStaysRegisteredAndDoesNothing)
{
    registration.emplace(MediaPlayerClassId(), nullptr);  // the class cannot be created
    player = std::make_unique<CMPlayerCtrl>(parent.Get(), TestParentWindow::PlayerRect());
    EXPECT_FALSE(player->IsCreated());
    EXPECT_EQ(CPlayerCtrl::FindByName("m"), player.get());
    player->Play(L"mms://host/live", L"TV");
    player->Stop();
    player->SetVolume(40);
    player->ToggleFullScreen();
    EXPECT_TRUE(player->IsStopped());
    EXPECT_TRUE(listener.reports.empty());
}

TEST_F(MediaPlayerBackend, ABackendWithoutEventsIgnoresEveryCall)
{
    MediaPlayerSetup noEvents;
    noEvents.eventsPoint = false;
    noEvents.ocxEventsPoint = false;
    Create(noEvents);
    ASSERT_FALSE(player->IsCreated());
    fake->playState = wmppsPlaying;
    player->Play(L"mms://host/live", L"TV");
    player->Stop();
    player->SetVolume(40);
    player->ToggleFullScreen();
    EXPECT_TRUE(player->IsStopped());
    EXPECT_TRUE(CallsSinceConstruction().empty());
}

TEST_F(MediaPlayerBackend, PlayStopVolumeAndFullScreenReachTheControl)
{
    Create();
    player->Play(L"C:\\Records\\show.asf", L"Show");
    player->Stop();
    player->SetVolume(70);
    player->ToggleFullScreen();
    player->ToggleFullScreen();
    EXPECT_EQ(CallsSinceConstruction(),
              (std::vector<std::wstring>{L"put_URL C:\\Records\\show.asf", L"play", L"stop", L"put_volume 70",
                                         L"put_fullScreen true", L"put_fullScreen false"}));
    EXPECT_TRUE(listener.reports.empty());  // Play reports nothing by itself
}

TEST_F(MediaPlayerBackend, SetVolumeAllReachesTheControl)
{
    Create();
    CPlayerCtrl::SetVolumeAll(70);
    EXPECT_EQ(fake->volume, 70);
}

TEST_F(MediaPlayerBackend, StoppedMeansUndefinedStoppedOrReady)
{
    Create();
    struct Case {
        HRESULT result;
        WMPPlayState state;
        bool stopped;
    };
    const Case cases[] = {
        {S_OK, wmppsUndefined, true},  {S_OK, wmppsStopped, true},      {S_OK, wmppsReady, true},
        {S_OK, wmppsPlaying, false},   {S_OK, wmppsBuffering, false},   {S_OK, wmppsTransitioning, false},
        {E_NOTIMPL, wmppsPlaying, true},  // an unreadable state counts as undefined
    };
    for (const Case& c : cases) {
        fake->playStateResult = c.result;
        fake->playState = c.state;
        EXPECT_EQ(player->IsStopped(), c.stopped) << c.state;
    }
}

TEST_F(MediaPlayerBackend, StatusChangeReportsTheTextWithTheTitleInPlace)
{
    Create();
    player->Play(L"mms://host/live", L"Radio One");
    fake->status = L"Connecting to \"mms://host/live\"...";
    fake->FireStatusChange();
    ASSERT_EQ(listener.reports.size(), 1u);
    EXPECT_EQ(listener.reports[0].player, player.get());
    EXPECT_EQ(listener.reports[0].text, L"Connecting to \"Radio One\"...");
    EXPECT_EQ(listener.reports[0].code, PlayerStatus::Text);
}

TEST_F(MediaPlayerBackend, OnlyTheStoppedStateIsReported)
{
    Create();
    fake->status = L"Stopped";
    for (long state : {wmppsPlaying, wmppsBuffering, wmppsMediaEnded, wmppsTransitioning, wmppsReady})
        fake->FirePlayStateChange(state);
    EXPECT_TRUE(listener.reports.empty());
    fake->FirePlayStateChange(wmppsStopped);
    ASSERT_EQ(listener.reports.size(), 1u);
    EXPECT_EQ(listener.reports[0].code, PlayerStatus::Stopped);
    EXPECT_EQ(listener.reports[0].text, L"Stopped");
}

TEST_F(MediaPlayerBackend, AnErrorIsReportedOnceUntilTheNextPlay)
{
    Create();
    player->Play(L"mms://host/live", L"");
    fake->status = L"Cannot connect";
    fake->FireError();
    fake->FireStatusChange();
    fake->FirePlayStateChange(wmppsStopped);
    fake->FireError();
    ASSERT_EQ(listener.reports.size(), 1u);
    EXPECT_EQ(listener.reports[0].code, PlayerStatus::Error);
    EXPECT_EQ(listener.reports[0].text, L"Cannot connect");

    player->Play(L"mms://host/other", L"");
    fake->status = L"Connecting";
    fake->FireStatusChange();
    ASSERT_EQ(listener.reports.size(), 2u);
    EXPECT_EQ(listener.reports[1].code, PlayerStatus::Text);
}

TEST_F(MediaPlayerBackend, TheServerBusyErrorBecomesMinusTwo)
{
    struct Case {
        MediaErrorState state;
        long code;
        int expected;
    };
    const Case cases[] = {
        {MediaErrorState::ErrorCode, static_cast<long>(0xC00D11B0), PlayerStatus::ServerBusy},
        {MediaErrorState::ErrorCode, static_cast<long>(0xC00D1197), PlayerStatus::Error},
        {MediaErrorState::NoErrorItem, 0, PlayerStatus::Error},
        {MediaErrorState::NoMedia, 0, PlayerStatus::Error},
    };
    for (const Case& c : cases) {
        Create();
        listener.reports.clear();
        player->Play(L"mms://host/live", L"");
        fake->mediaError = c.state;
        fake->errorCode = c.code;
        fake->FireError();
        fake->FireError();
        ASSERT_EQ(listener.reports.size(), 1u);
        EXPECT_EQ(listener.reports[0].code, c.expected) << std::hex << c.code;
        TearDown();
    }
}

TEST_F(MediaPlayerBackend, DispatchEventsArriveThroughInvokeWithAnyIntegerType)
{
    MediaPlayerSetup wine;  // only the dispinterface, arguments as VT_UI4
    wine.eventsPoint = false;
    wine.ocxArgumentType = VT_UI4;
    Create(wine);
    IDispatch* sink = fake->OcxSink();
    ASSERT_NE(sink, nullptr);

    EXPECT_EQ(sink->Invoke(DISPID_WMPCOREEVENT_STATUSCHANGE, IID_NULL, 0, DISPATCH_METHOD, nullptr, nullptr,
                           nullptr, nullptr),
              E_POINTER);
    VARIANT argument;
    argument.vt = VT_UI4;
    argument.ulVal = wmppsStopped;
    DISPID named = 0;
    DISPPARAMS withName{&argument, &named, 1, 1};
    EXPECT_EQ(sink->Invoke(DISPID_WMPCOREEVENT_PLAYSTATECHANGE, IID_NULL, 0, DISPATCH_METHOD, &withName, nullptr,
                           nullptr, nullptr),
              DISP_E_NONAMEDARGS);
    DISPPARAMS none{nullptr, nullptr, 0, 0};
    EXPECT_EQ(sink->Invoke(DISPID_WMPCOREEVENT_PLAYSTATECHANGE, IID_NULL, 0, DISPATCH_METHOD, &none, nullptr,
                           nullptr, nullptr),
              DISP_E_BADPARAMCOUNT);
    EXPECT_EQ(sink->Invoke(DISPID_WMPCOREEVENT_POSITIONCHANGE, IID_NULL, 0, DISPATCH_METHOD, &none, nullptr,
                           nullptr, nullptr),
              S_OK);
    EXPECT_TRUE(listener.reports.empty());

    fake->FirePlayStateChange(wmppsPlaying);
    fake->FirePlayStateChange(wmppsStopped);
    fake->FireStatusChange();
    ASSERT_EQ(listener.reports.size(), 2u);
    EXPECT_EQ(listener.reports[0].code, PlayerStatus::Stopped);
    EXPECT_EQ(listener.reports[1].code, PlayerStatus::Text);

    UINT count = 0;
    EXPECT_EQ(sink->GetTypeInfoCount(&count), E_NOTIMPL);
    CInterfacePtr<IUnknown> asked;
    for (const IID* iid : {&IID_IUnknown, &IID_IDispatch, &__uuidof(IWMPEvents), &__uuidof(_WMPOCXEvents)})
        EXPECT_EQ(sink->QueryInterface(*iid, asked.ReceiveVoid()), S_OK);
    EXPECT_EQ(sink->QueryInterface(IID_IOleObject, asked.ReceiveVoid()), E_NOINTERFACE);
}

TEST_F(MediaPlayerBackend, BufferingRefreshesTheStatusFromTheInterfaceThreadUntilItEnds)
{
    MediaPlayerSetup wine;
    wine.eventsPoint = false;
    wine.ocxArgumentType = VT_UI4;
    Create(wine);
    CBufferingPoll::SetInterval(5);
    player->Play(L"mms://host/live", L"TV");
    fake->status = L"Buffering \"mms://host/live\" 10%";
    fake->FireError();  // a buffering start clears the latch
    listener.reports.clear();

    fake->FireBuffering(true);
    ASSERT_TRUE(PumpUntil([&] { return listener.reports.size() >= 3; }));
    for (const StatusReport& report : listener.reports) {
        EXPECT_EQ(report.code, PlayerStatus::Text);
        EXPECT_EQ(report.text, L"Buffering \"TV\" 10%");
        EXPECT_EQ(report.thread, ::GetCurrentThreadId());
    }

    fake->FireBuffering(false);
    EXPECT_EQ(listener.bufferingEnds, 1);
    const size_t atEnd = listener.reports.size();
    EXPECT_EQ(listener.reports.back().code, PlayerStatus::Text);
    PumpMessages(100);  // twenty poll intervals
    EXPECT_EQ(listener.reports.size(), atEnd);
}

TEST_F(MediaPlayerBackend, TheBufferingPollEndsAfterFiveHundredPasses)
{
    Create();
    CBufferingPoll::SetInterval(1);
    fake->FireBuffering(true);
    ASSERT_TRUE(PumpUntil([&] { return listener.reports.size() >= 500; }));
    PumpMessages(200);  // far more than one pass
    EXPECT_EQ(listener.reports.size(), 500u);
    EXPECT_TRUE(CBufferingPoll::IsBuffering());

    fake->FireBuffering(false);
    EXPECT_EQ(listener.bufferingEnds, 1);
    EXPECT_EQ(listener.reports.size(), 501u);
}

namespace {

struct OverlayCase {
    const char* name;
    bool keyExists;
    std::optional<DWORD> value;
    std::optional<DWORD> afterStart;
    std::optional<DWORD> afterExit;
};

std::optional<DWORD> ReadOverlay(bool& keyExists)
{
    HKEY key = nullptr;
    keyExists = ::RegOpenKeyExW(HKEY_CURRENT_USER, VideoSettingsPath, 0, KEY_READ, &key) == ERROR_SUCCESS;
    if (!keyExists)
        return std::nullopt;
    DWORD value = 0;
    DWORD size = sizeof(value);
    DWORD type = 0;
    const LONG result =
        ::RegQueryValueExW(key, L"UseVMROverlay", nullptr, &type, reinterpret_cast<BYTE*>(&value), &size);
    ::RegCloseKey(key);
    if (result != ERROR_SUCCESS || type != REG_DWORD)
        return std::nullopt;
    return value;
}

}  // namespace

TEST_F(MediaPlayerBackend, TheOverlayPreferenceIsSwitchedOffAndGivenBackOnlyWhenTheKeyExists)
{
    const OverlayCase cases[] = {
        {"key missing", false, std::nullopt, std::nullopt, std::nullopt},
        {"value missing", true, std::nullopt, 0u, 1u},
        {"value set", true, 7u, 0u, 7u},
    };
    for (const OverlayCase& c : cases) {
        SCOPED_TRACE(c.name);
        DeleteVideoSettingsKey();
        if (c.keyExists) {
            HKEY key = nullptr;
            ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, VideoSettingsPath, 0, nullptr, 0, KEY_WRITE, nullptr,
                                        &key, nullptr),
                      ERROR_SUCCESS);
            if (c.value)
                ::RegSetValueExW(key, L"UseVMROverlay", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&*c.value),
                                 sizeof(DWORD));
            ::RegCloseKey(key);
        }
        Create();
        bool exists = false;
        EXPECT_EQ(ReadOverlay(exists), c.afterStart);
        EXPECT_EQ(exists, c.keyExists);
        CPlayerCtrl::ExitAll();
        EXPECT_EQ(ReadOverlay(exists), c.afterExit);
        EXPECT_EQ(exists, c.keyExists);
        TearDown();
    }
    DeleteVideoSettingsKey();
}
