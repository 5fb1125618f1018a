#include "player/ui/RecordsListBox.h"

#include "foundation/Lang.h"
#include "foundation/Skin.h"
#include "framework/AppModule.h"
#include "player/app/Messages.h"
#include "player/catalogue/Channel.h"
#include "player/catalogue/Country.h"
#include "player/recording/Record.h"
#include "player/recording/RecordManager.h"
#include "player/resources/Resource.h"
#include "player/ui/ListRows.h"
#include "player/ui/RecordsMenu.h"

namespace {

// Second line of an item, below the name.
constexpr int InfoLineOffset = 13;
constexpr int StateIconX = 2;
constexpr int ChannelIconX = 30;
constexpr int IconTop = 2;
constexpr int FlagTop = 16;
constexpr int GridLineX = 4;

HWND Ancestor(HWND window, int generations)
{
    for (int i = 0; i < generations && window != nullptr; ++i)
        window = ::GetParent(window);
    return window;
}

} // namespace

BOOL CRecordListBox::SubclassWindow(HWND list)
{
    if (!CWindowImpl<CRecordListBox, CListBox>::SubclassWindow(list))
        return FALSE;
    SetListBox(m_hWnd);
    SetItemHeight(0, ItemHeight);
    if (m_popup == nullptr && m_menu.Load(IDR_RECORD_MENU))
        m_popup = m_menu.TranslatedPopup(0);
    m_look.Load();
    m_tvIcon = KV::Skin::GetImage("icon_tv_16");
    m_radioIcon = KV::Skin::GetImage("icon_radio_16");
    m_scheduleIcon = KV::Skin::GetImage("icon_schedule");
    m_discIcon = KV::Skin::GetImage("icon_disc");
    m_recordingIcon = KV::Skin::GetImage("icon_recording");
    SetTimer(TickTimer, TickInterval);
    return TRUE;
}

CRecord* CRecordListBox::GetRecord(int index) const
{
    if (index < 0 || index >= GetCount())
        return nullptr;
    return static_cast<CRecord*>(GetItemDataPtr(index));
}

CRecord* CRecordListBox::GetSelectedRecord() const
{
    return GetRecord(GetCurSel());
}

CRecordListBox::ItemLook CRecordListBox::DescribeItem(const CRecord& record) const
{
    ItemLook look;
    look.name = record.GetName();
    look.status = record.GetStatusText();
    if (record.IsRecording())
        look.stateIcon = m_recordingIcon;
    else if (record.HasFile())
        look.stateIcon = m_discIcon;
    else
        look.stateIcon = m_scheduleIcon;
    if (const CChannel* channel = record.GetChannel()) {
        look.channelIcon = channel->IsRadio() ? m_radioIcon : m_tvIcon;
        look.flag = channel->GetCountry().GetFlag();
    }
    return look;
}

void CRecordListBox::DrawItem(const DRAWITEMSTRUCT& item) const
{
    if (!PaintRowBackground(item, m_look.gridLine, GridLineX))
        return;
    const CRecord* record = reinterpret_cast<const CRecord*>(item.itemData);
    if (record == nullptr)
        return;
    HDC dc = item.hDC;
    const RECT& rc = item.rcItem;
    const ItemLook look = DescribeItem(*record);
    // Names are the user's own: an "&" is shown as it is.
    RECT text{rc.left + TextIndent, rc.top, rc.right, rc.bottom};
    DrawRowText(dc, m_look.nameFont, look.name, text, DT_NOPREFIX);
    DrawRowImage(dc, look.stateIcon, StateIconX, rc.top + IconTop);
    DrawRowImage(dc, look.channelIcon, ChannelIconX, rc.top + IconTop);
    DrawRowImage(dc, look.flag, ChannelIconX, rc.top + FlagTop);
    text.top += InfoLineOffset;
    DrawRowText(dc, m_look.infoFont, look.status, text, DT_NOPREFIX);
}

HMENU CRecordListBox::PrepareMenu(const CRecord& record)
{
    if (RecordsMenu::Fill(m_popup, record) == 0)
        return nullptr;
    return m_popup;
}

LRESULT CRecordListBox::OnDrawItem(WindowMessage& msg)
{
    DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(msg.lParam));
    return TRUE;
}

LRESULT CRecordListBox::OnRightButtonDown(WindowMessage& msg)
{
    int index = -1;
    POINT point{};
    if (!SelectClickedItem(m_hWnd, msg.Point(), index, point))
        return 0;
    const CRecord* record = GetRecord(index);
    if (record == nullptr || record->IsClosing())
        return 0;
    if (HMENU popup = PrepareMenu(*record))
        ::TrackPopupMenu(popup, TPM_LEFTBUTTON, point.x, point.y, 0, GetParent(), nullptr);
    return 0;
}

LRESULT CRecordListBox::OnKeyDown(WindowMessage& msg)
{
    if (msg.wParam == VK_RETURN) {
        CRecord* record = GetSelectedRecord();
        if (record != nullptr && RecordsMenu::Offers(*record, ID_RECORD_PLAY)) {
            // The list lies in the records page, in the channel panel, in
            // the main window.
            ::SendMessageW(Ancestor(m_hWnd, 3), WM_PLAY_RECORD, 0, reinterpret_cast<LPARAM>(record));
            return 0;
        }
    }
    msg.handled = false;
    return 0;
}

LRESULT CRecordListBox::OnGetDlgCode(WindowMessage& msg)
{
    // A dialog manager would turn Enter into its default button: the list
    // keeps it while it has a recording to play.
    LRESULT code = DefWindowProc(msg.id, msg.wParam, msg.lParam);
    const MSG* key = reinterpret_cast<const MSG*>(msg.lParam);
    if (key != nullptr && key->message == WM_KEYDOWN && key->wParam == VK_RETURN) {
        const CRecord* record = GetSelectedRecord();
        if (record != nullptr && RecordsMenu::Offers(*record, ID_RECORD_PLAY))
            code |= DLGC_WANTMESSAGE;
    }
    return code;
}

LRESULT CRecordListBox::OnTimer(WindowMessage& msg)
{
    // Other timers are the list box's own (scrolling while dragging).
    if (msg.wParam != TickTimer) {
        msg.handled = false;
        return 0;
    }
    if (CRecordManager* manager = CRecordManager::Instance())
        manager->OnTick();
    return 0;
}

LRESULT CRecordListBox::OnDestroy(WindowMessage& msg)
{
    KillTimer(TickTimer);
    msg.handled = false;
    return 0;
}
