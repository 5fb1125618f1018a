#include "player/playback/MPlayerCtrl.h"
#include "player/playback/WineMediaLimits.h"

#include "framework/ComBstr.h"
#include "player/playback/StatusTitle.h"

namespace {

CMPlayerCtrl* g_instance = nullptr;
bool g_errorLatched = false;

}  // namespace

CMPlayerCtrl::CMPlayerCtrl(HWND parent, const RECT& rect) : CPlayerCtrl("m")
{
    m_schemes[L"mms"] = 0;
    m_fileTypes = {L"asf", L"mp3"};
    m_recorderKey = "mms";
    m_hasControls = true;

    SetVMROverlay(false);
    if (!CreateControl(parent, rect))
        return;

    m_settings->put_enableErrorDialogs(VARIANT_FALSE);
    m_player.SetUiMode(L"none");
    m_player.SetEnableContextMenu(false);
    m_player.SetStretchToFit(true);
    m_player.SetWindowlessVideo(false);

    if (!m_bufferingPoll.Create())
        return;
    m_sink = new CWMPEventDispatch();
    g_instance = this;
    g_errorLatched = false;
    if (!ConnectEvents())
        return;

    m_created = true;
    m_player.Core()->get_network(m_network.Receive());
    m_player.Core()->get_Error(m_error.Receive());
}

CMPlayerCtrl::~CMPlayerCtrl()
{
    if (g_instance == this)
        g_instance = nullptr;
    if (m_connectionPoint)
        m_connectionPoint->Unadvise(m_cookie);
    m_connectionPoint.Release();
    m_sink.Release();
    m_network.Release();
    m_error.Release();
    m_settings.Release();
    m_controls.Release();
    m_player.Release();
    if (m_window.IsWindow())
        m_window.DestroyWindow();
}

bool CMPlayerCtrl::CreateControl(HWND parent, const RECT& rect)
{
    if (m_window.Create(parent, &rect, L"", WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, 0, WindowId) == nullptr)
        return false;
    // The host's own activation result does not matter: what counts is
    // whether the control and its interfaces are there.
    m_window.CreateControl(MediaPlayerClsid);
    if (!m_player.Query(m_window))
        return false;
    if (FAILED(m_window.QueryControl(m_controls.Receive())) || !m_controls)
        m_player.Core()->get_controls(m_controls.Receive());
    if (FAILED(m_window.QueryControl(m_settings.Receive())) || !m_settings)
        m_player.Core()->get_settings(m_settings.Receive());
    m_isWineControl = IsWineMediaPlayer(m_player.Core());
    return m_controls && m_settings;
}

bool CMPlayerCtrl::ConnectEvents()
{
    CInterfacePtr<IConnectionPointContainer> container;
    if (FAILED(m_player.Core()->QueryInterface(__uuidof(IConnectionPointContainer), container.ReceiveVoid())) ||
        !container)
        return false;
    if (FAILED(container->FindConnectionPoint(__uuidof(IWMPEvents), m_connectionPoint.Receive())) ||
        !m_connectionPoint) {
        if (FAILED(container->FindConnectionPoint(__uuidof(_WMPOCXEvents), m_connectionPoint.Receive())) ||
            !m_connectionPoint)
            return false;
    }
    if (FAILED(m_connectionPoint->Advise(static_cast<IWMPEvents*>(m_sink.Get()), &m_cookie))) {
        m_connectionPoint.Release();
        return false;
    }
    return true;
}

void CMPlayerCtrl::Play(const std::wstring& url, const std::wstring& title)
{
    if (!m_created)
        return;
    m_currentTitle = title;
    g_errorLatched = false;
    if (m_isWineControl && !WineMediaPlayerCanOpen(url)) {
        // Reported as the control's own open failure would be, once.
        g_errorLatched = true;
        NotifyStatus(L"", PlayerStatus::Error);
        return;
    }
    m_player.Core()->put_URL(CBstr(url));
    m_controls->play();
}

void CMPlayerCtrl::Stop()
{
    if (m_created)
        m_controls->stop();
}

bool CMPlayerCtrl::IsStopped()
{
    if (!m_created)
        return true;
    WMPPlayState state = wmppsUndefined;
    if (FAILED(m_player.Core()->get_playState(&state)))
        state = wmppsUndefined;
    return state == WmpPlayState::Undefined || state == WmpPlayState::Stopped || state == WmpPlayState::Ready;
}

void CMPlayerCtrl::SetVolume(int volume)
{
    if (m_created)
        m_settings->put_volume(volume);
}

void CMPlayerCtrl::ToggleFullScreen()
{
    if (!m_created)
        return;
    // A control that cannot tell counts as windowed.
    VARIANT_BOOL fullScreen = VARIANT_FALSE;
    if (FAILED(m_player.GetFullScreen(&fullScreen)))
        fullScreen = VARIANT_FALSE;
    m_player.SetFullScreen(fullScreen != VARIANT_FALSE ? VARIANT_FALSE : VARIANT_TRUE);
}

void CMPlayerCtrl::OnAppExit()
{
    SetVMROverlay(true);
}

void CMPlayerCtrl::OnStatusChange(int code)
{
    IWMPCore* core = m_player.Core();
    if (core == nullptr)
        return;
    if (code == PlayerStatus::Error) {
        CInterfacePtr<IWMPMedia> media;
        CInterfacePtr<IWMPMedia2> media2;
        CInterfacePtr<IWMPErrorItem> item;
        long errorCode = 0;
        if (SUCCEEDED(core->get_currentMedia(media.Receive())) && media &&
            SUCCEEDED(media.QueryInterface(media2.Receive())) && media2 &&
            SUCCEEDED(media2->get_error(item.Receive())) && item && SUCCEEDED(item->get_errorCode(&errorCode)) &&
            errorCode == WmpServerBusyError)
            code = PlayerStatus::ServerBusy;
    }
    CBstr status;
    core->get_status(status.Receive());
    std::wstring text = status.ToString();
    text = ReplaceQuotedTitle(text, m_currentTitle);
    NotifyStatus(text.c_str(), code);
}

CMPlayerCtrl* CMPlayerCtrl::Instance()
{
    return g_instance;
}

bool CMPlayerCtrl::IsErrorLatched()
{
    return g_errorLatched;
}

void CMPlayerCtrl::SetErrorLatch(bool latched)
{
    g_errorLatched = latched;
}
