#include "player/ui/ChannelListBox.h"

#include "foundation/Lang.h"
#include "foundation/Skin.h"
#include "framework/AppModule.h"
#include "player/app/Messages.h"
#include "player/catalogue/ChannelList.h"
#include "player/resources/Resource.h"
#include "player/ui/ChannelFilter.h"
#include "player/ui/ListRows.h"

#include <cwchar>
#include <string>
#include <utility>

namespace {

void SetMenuText(HMENU menu, UINT position, const std::wstring& text)
{
    MENUITEMINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_STRING;
    info.dwTypeData = const_cast<wchar_t*>(text.c_str());
    ::SetMenuItemInfoW(menu, position, TRUE, &info);
}

} // namespace

BOOL CChannelListBox::SubclassWindow(HWND list)
{
    if (!CWindowImpl<CChannelListBox, CListBox>::SubclassWindow(list))
        return FALSE;
    SetItemHeight(0, RowHeight);
    if (m_popup == nullptr && m_menu.Load(IDR_CHANNEL_MENU))
        m_popup = m_menu.TranslatedPopup(0);
    m_look.Load();
    m_tvIcon = KV::Skin::GetImage("icon_tv_32");
    m_radioIcon = KV::Skin::GetImage("icon_radio_32");
    m_recordableIcon = KV::Skin::GetImage("icon_recordable");
    return TRUE;
}

void CChannelListBox::SetChannels(std::vector<CChannel*> channels)
{
    m_channels = std::move(channels);
    SetRedraw(FALSE);
    ResetContent();
    SendMessage(LB_SETCOUNT, m_channels.size());
    SetRedraw(TRUE);
    Invalidate(TRUE);
}

CChannel* CChannelListBox::GetChannel(int index) const
{
    if (index < 0 || static_cast<size_t>(index) >= m_channels.size())
        return nullptr;
    return m_channels[static_cast<size_t>(index)];
}

CChannel* CChannelListBox::GetSelectedChannel() const
{
    return GetChannel(GetCurSel());
}

int CChannelListBox::FindChannel(const CChannel* channel) const
{
    for (size_t i = 0; i < m_channels.size(); ++i)
        if (m_channels[i] == channel)
            return static_cast<int>(i);
    return -1;
}

HMENU CChannelListBox::PrepareMenu(const CChannel& channel)
{
    if (m_popup == nullptr)
        return nullptr;

    HMENU streams = ::GetSubMenu(m_popup, StreamsPosition);
    if (streams != nullptr)
        while (::GetMenuItemCount(streams) > 0)
            ::DeleteMenu(streams, 0, MF_BYPOSITION);

    const bool hasRecord = ::GetMenuItemID(m_popup, RecordPosition) == ID_CHANNEL_RECORD;
    if (hasRecord && !channel.IsRecordable()) {
        ::DeleteMenu(m_popup, RecordPosition, MF_BYPOSITION);
        ::DeleteMenu(m_popup, RecordSeparatorPosition, MF_BYPOSITION);
    } else if (!hasRecord && channel.IsRecordable()) {
        ::AppendMenuW(m_popup, MF_SEPARATOR, 0, nullptr);
        ::AppendMenuW(m_popup, MF_STRING, ID_CHANNEL_RECORD, KV::Lang::GetText("menu_record").c_str());
    }

    if (streams != nullptr) {
        const std::wstring& unit = KV::Lang::GetText("str_kb");
        const auto& sources = channel.GetSources();
        for (size_t i = 0; i < sources.size(); ++i) {
            wchar_t text[128] = {};
            _snwprintf(text, 127, L"%d %s", static_cast<int>(sources[i].GetBitrate()), unit.c_str());
            ::InsertMenuW(streams, static_cast<UINT>(i), MF_BYPOSITION | MF_STRING,
                          ID_CHANNEL_STREAM_FIRST + i, text);
        }
        ::CheckMenuItem(streams, static_cast<UINT>(channel.GetCurrentSourceIndex()), MF_BYPOSITION | MF_CHECKED);
    }

    SetMenuText(m_popup, FavoritePosition,
                KV::Lang::GetText(channel.IsFavourite() ? "menu_remove_favorites" : "menu_add_favorites"));
    return m_popup;
}

LRESULT CChannelListBox::OnDrawItem(WindowMessage& msg)
{
    DrawRow(*reinterpret_cast<const DRAWITEMSTRUCT*>(msg.lParam));
    return TRUE;
}

LRESULT CChannelListBox::OnMeasureItem(WindowMessage& msg)
{
    // Every row has the height the list was given.
    reinterpret_cast<MEASUREITEMSTRUCT*>(msg.lParam)->itemHeight = RowHeight;
    return TRUE;
}

void CChannelListBox::DrawRow(const DRAWITEMSTRUCT& item) const
{
    if (!PaintRowBackground(item, m_look.gridLine, 4))
        return;
    const CChannel* channel = GetChannel(static_cast<int>(item.itemID));
    if (channel == nullptr)
        return;
    HDC dc = item.hDC;
    const RECT& rc = item.rcItem;
    DrawRowImage(dc, channel->GetCountry().GetFlag(), 36, rc.top + 18);
    const CImage* icon = channel->GetIcon();
    if (icon == nullptr)
        icon = channel->IsRadio() ? m_radioIcon : m_tvIcon;
    DrawRowImage(dc, icon, 1, rc.top + 2);

    DrawRowText(dc, m_look.nameFont, channel->GetName(), RECT{rc.left + 36, rc.top, rc.right - 22, rc.bottom},
                DT_END_ELLIPSIS);
    DrawRowText(dc, m_look.infoFont, channel->GetDisplayText(),
                RECT{rc.left + 54, rc.top + 17, rc.right - 22, rc.bottom}, DT_END_ELLIPSIS);
    if (channel->IsRecordable())
        DrawRowImage(dc, m_recordableIcon, rc.right - 20, rc.top + 9);
}

LRESULT CChannelListBox::OnRightButtonUp(WindowMessage& msg)
{
    int index = -1;
    POINT point{};
    if (!SelectClickedItem(m_hWnd, msg.Point(), index, point))
        return 0;
    const CChannel* channel = GetChannel(index);
    if (channel == nullptr)
        return 0;
    HMENU popup = PrepareMenu(*channel);
    if (popup != nullptr)
        ::TrackPopupMenu(popup, TPM_LEFTBUTTON, point.x, point.y, 0, GetParent(), nullptr);
    return 0;
}

LRESULT CChannelListBox::OnKeyDown(WindowMessage& msg)
{
    if (msg.wParam == VK_RETURN) {
        if (CChannel* channel = GetSelectedChannel()) {
            ::SendMessageW(::GetParent(GetParent()), WM_PLAY_CHANNEL, 0, reinterpret_cast<LPARAM>(channel));
            return 0;
        }
    }
    msg.handled = false;
    return 0;
}

LRESULT CChannelListBox::OnChar(WindowMessage& msg)
{
    const wchar_t typed = static_cast<wchar_t>(msg.wParam);
    const size_t count = m_channels.size();
    if (typed < L' ' || count == 0) {
        msg.handled = false;
        return 0;
    }
    // As a sorted list of strings does: the next item after the focused one
    // that starts with the letter, case ignored, wrapping around.
    const int focused = static_cast<int>(SendMessage(LB_GETCARETINDEX));
    const size_t start = focused >= 0 ? static_cast<size_t>(focused) + 1 : 0;
    for (size_t step = 0; step < count; ++step) {
        const size_t index = (start + step) % count;
        const std::wstring text = MakeSortText(*m_channels[index]);
        if (!text.empty() && ::CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, text.c_str(), 1, &typed, 1) ==
                                 CSTR_EQUAL) {
            SetCurSel(static_cast<int>(index));
            ::SendMessageW(GetParent(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(), LBN_SELCHANGE),
                           reinterpret_cast<LPARAM>(m_hWnd));
            break;
        }
    }
    return 0;
}
