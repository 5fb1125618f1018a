// The main window's play and record roads and the back-ends' reports.
#include "player/app/MainDlg.h"

#include "foundation/Lang.h"
#include "player/app/Settings.h"
#include "player/catalogue/ChannelList.h"
#include "player/playback/PlayerCtrl.h"
#include "player/playback/UrlGrabber.h"
#include "player/recording/RecordManager.h"
#include "player/ui/MsgBox.h"
#include "player/ui/RecordDlg.h"
#include "player/ui/TypePasDlg.h"

#include <algorithm>

namespace {

// The category under the parental lock.
const char LockedCategory[] = "ad";
// Plays a recording whose type no back-end claims.
const char FallbackBackEnd[] = "m";

} // namespace

CChannel* CMainDlg::ChannelOf(LPARAM lParam) const
{
    if (!m_catalogue)
        return nullptr;
    if (lParam == 0)
        return m_catalogue->GetCurrentChannel();
    // The message may come from anywhere: only a channel of the catalogue
    // is taken.
    CChannel* channel = reinterpret_cast<CChannel*>(lParam);
    const auto& all = GetAllChannels();
    return std::find(all.begin(), all.end(), channel) != all.end() ? channel : nullptr;
}

CRecord* CMainDlg::RecordOf(LPARAM lParam) const
{
    if (!m_records)
        return nullptr;
    if (lParam == 0)
        return m_records->GetCurrentRecord();
    CRecord* record = reinterpret_cast<CRecord*>(lParam);
    return m_records->Holds(record) ? record : nullptr;
}

bool CMainDlg::PassParentalLock(const CChannel& channel)
{
    if (channel.GetCategory() == nullptr || channel.GetCategory()->GetCode() != LockedCategory)
        return true;
    if (!CSettings::GetBool("use_password", false) || m_passwordProved)
        return true;
    CTypePasDlg question(CSettings::GetString("pass", std::wstring()));
    if (question.DoModal(::GetActiveWindow()) != IDOK)
        return false;
    m_passwordProved = 1;
    return true;
}

void CMainDlg::SwapPlayer(CPlayerCtrl* next)
{
    if (m_currentPlayer != nullptr)
        m_currentPlayer->Stop();
    if (next == m_currentPlayer)
        return;
    if (m_currentPlayer != nullptr)
        ::ShowWindow(m_currentPlayer->GetWindow(), SW_HIDE);
    m_currentPlayer = next;
    if (next != nullptr) {
        m_players.EnableControls(next->HasControls());
        ::ShowWindow(next->GetWindow(), SW_SHOW);
        ::UpdateWindow(next->GetWindow());
    }
}

LRESULT CMainDlg::OnPlayChannel(WindowMessage& msg)
{
    CompleteStartUp();
    CChannel* channel = ChannelOf(msg.lParam);
    if (channel == nullptr) {
        // Play with no channel current plays the current record.
        if (msg.lParam == 0 && m_records && m_records->GetCurrentRecord() != nullptr)
            SendMessage(WM_PLAY_RECORD, 0, 0);
        return 0;
    }
    // The password question and the grabber's failure boxes let the user
    // start something else meanwhile: what this request learns after them
    // counts only while it is still the latest one.
    const unsigned request = ++m_playRequest;
    if (!PassParentalLock(*channel)) {
        if (request == m_playRequest)
            m_players.GetControls().SetPlaying(false);
        return 0;
    }
    if (request != m_playRequest)
        return 0;

    SwapPlayer(CPlayerCtrl::FindByName(channel->GetPlayerKey()));
    m_catalogue->SetCurrentChannel(channel);

    const CChannelSource* source = channel->GetCurrentSource();
    std::wstring address = source != nullptr ? source->GetUrl() : std::wstring();
    if (!channel->GetGrabberKey().empty()) {
        m_addressPending = request;
        address = CUrlGrabber::Resolve(address, channel->GetGrabberKey());
        if (m_addressPending == request)
            m_addressPending = 0;
        if (request != m_playRequest)
            return 0;
        if (address.empty()) {
            OnPlayerStatus(m_currentPlayer, nullptr, PlayerStatus::Error);
            return 0;
        }
    }

    if (m_records)
        m_records->SetCurrentRecord(nullptr);

    if (m_currentPlayer != nullptr) {
        CControlsDlg& controls = m_players.GetControls();
        controls.EnableRecord(channel->IsRecordable());
        controls.SetPlaying(true);
        UpdateTitle();
        m_currentPlayer->Play(address, channel->GetName());
    } else {
        // No back-end has the channel's name: nothing plays, and the bar must
        // not go on showing the playback that was just stopped.
        m_players.GetControls().SetPlaying(false);
    }
    return 0;
}

LRESULT CMainDlg::OnStopChannel(WindowMessage&)
{
    CompleteStartUp();
    // A play request still waiting for its address is called off too.
    ++m_playRequest;
    if (m_currentPlayer != nullptr)
        m_currentPlayer->Stop();
    return 0;
}

LRESULT CMainDlg::OnFullScreen(WindowMessage&)
{
    CompleteStartUp();
    if (m_currentPlayer != nullptr)
        m_currentPlayer->ToggleFullScreen();
    return 0;
}

LRESULT CMainDlg::OnNextChannel(WindowMessage& msg)
{
    if (CChannel* channel = m_channels.GetNextFavorite(msg.wParam == NextChannelForward))
        SendMessage(WM_PLAY_CHANNEL, 0, reinterpret_cast<LPARAM>(channel));
    return 0;
}

LRESULT CMainDlg::OnRecordChannel(WindowMessage& msg)
{
    CompleteStartUp();
    CChannel* channel = ChannelOf(msg.lParam);
    if (channel == nullptr || !PassParentalLock(*channel))
        return 0;
    CRecordDlg dialog(channel, nullptr);
    if (dialog.DoModal(::GetActiveWindow()) != IDOK || !m_records)
        return 0;
    m_records->AddRecord(channel, dialog.GetName(), dialog.GetType(), &dialog.GetStart(), &dialog.GetEnd(),
                         dialog.GetWeekdays());
    return 0;
}

LRESULT CMainDlg::OnPlayRecord(WindowMessage& msg)
{
    CompleteStartUp();
    CRecord* record = RecordOf(msg.lParam);
    if (record == nullptr)
        return 0;
    ++m_playRequest;
    CPlayerCtrl* backEnd = CPlayerCtrl::FindByType(record->GetExtension());
    if (backEnd == nullptr)
        backEnd = CPlayerCtrl::FindByName(FallbackBackEnd);
    SwapPlayer(backEnd);
    m_catalogue->SetCurrentChannel(nullptr);
    m_records->SetCurrentRecord(record);

    if (m_currentPlayer != nullptr) {
        CControlsDlg& controls = m_players.GetControls();
        controls.SetPlaying(true);
        controls.EnableRecord(false);
        UpdateTitle();
        m_currentPlayer->Play(record->GetPath(), record->GetName());
    }
    return 0;
}

void CMainDlg::OnPlayerStatus(CPlayerCtrl* player, const wchar_t* text, int code)
{
    if (player != m_currentPlayer || !m_players.IsWindow())
        return;
    // While the latest request waits for its address the back-end has
    // nothing of it playing: a report now answers what was stopped.
    if (m_addressPending != 0 && m_addressPending == m_playRequest)
        return;
    CControlsDlg& controls = m_players.GetControls();
    switch (code) {
    case PlayerStatus::Text:
    case PlayerStatus::Stopped:
        controls.SetStatus(text != nullptr ? text : L"", code);
        break;
    case PlayerStatus::Error:
        controls.SetStatus(KV::Lang::GetText("str_error"), code);
        break;
    case PlayerStatus::ServerBusy:
        controls.SetStatus(KV::Lang::GetText("str_error"), code);
        ShowMsgBoxText(KV::Lang::GetText("msg_server_busy"), MsgBoxOk);
        break;
    default:
        break;
    }
}
