#include "player/ui/ChannelsCtrl.h"

#include "foundation/Lang.h"
#include "player/app/Messages.h"
#include "player/app/Settings.h"
#include "player/catalogue/ChannelList.h"

#include <string>

namespace {

constexpr int Margin = 4;

// A stored filter index not below the number of entries selects entry 0.
void SelectStored(CComboBox& combo, const char* setting)
{
    int index = CSettings::GetInt(setting, 0);
    if (index < 0 || index >= combo.GetCount())
        index = 0;
    combo.SetCurSel(index);
}

void DropSortStyle(CWindow& combo)
{
    combo.ModifyStyle(CBS_SORT, 0);
}

} // namespace

CChannelsCtrl::CChannelsCtrl() : m_tab(false)
{
}

BOOL CChannelsCtrl::PreTranslateMessage(MSG* msg)
{
    return ::IsDialogMessageW(m_hWnd, msg);
}

LRESULT CChannelsCtrl::OnInitDialog(WindowMessage&)
{
    m_showCountry = CSettings::GetBool("show_country", false);
    m_showBitrate = CSettings::GetBool("show_bitrate", false);

    m_channels.SubclassWindow(GetDlgItem(IDC_CHANNEL_LIST));
    m_favorites.SubclassWindow(GetDlgItem(IDC_FAVORITE_LIST));
    m_country.SubclassWindow(GetDlgItem(IDC_COUNTRY_FILTER));
    m_category.SubclassWindow(GetDlgItem(IDC_CATEGORY_FILTER));
    m_tvRadio.SubclassWindow(GetDlgItem(IDC_TVRADIO_FILTER));
    m_search = GetDlgItem(IDC_SEARCH);

    KV::Lang::SetItemText(m_hWnd, IDC_LABEL_COUNTRY, "static_country");
    KV::Lang::SetItemText(m_hWnd, IDC_LABEL_GENRE, "static_genre");
    KV::Lang::SetItemText(m_hWnd, IDC_LABEL_SEARCH, "static_search");
    KV::Lang::SetItemText(m_hWnd, IDC_LABEL_TVRADIO, "static_tvradio");

    if (m_catalogue != nullptr)
        m_entries = MakeSortedEntries(*m_catalogue);

    FillCountries();
    FillCategories();
    FillTvRadio();

    RECT pageRect{0, 0, 0, 0};
    m_recordsPage.Create(m_hWnd, &pageRect);
    m_recordsPage.SetCountListener([this](int count) { ShowCount(RecordsTab, count); });
    CreateTabs();

    Refilter();
    FillFavorites();

    ::SetWindowPos(m_channels, m_search, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    ::SetWindowPos(m_favorites, m_tab, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);

    const RECT client = GetClientRect();
    Layout(client.right, client.bottom);
    return TRUE;
}

void CChannelsCtrl::FillCountries()
{
    // Without redrawing, an added entry costs the list no scroll bar update.
    m_country.SetRedraw(FALSE);
    if (m_catalogue != nullptr) {
        const CChannelList::CountryMap& countries = m_catalogue->GetCountries();
        size_t textBytes = 0;
        for (const auto& country : countries)
            textBytes += (country.second->GetLabel().size() + 1) * sizeof(wchar_t);
        m_country.SendMessage(CB_INITSTORAGE, countries.size() + 1, textBytes);
        for (const auto& country : countries) {
            const int index = m_country.AddString(country.second->GetLabel().c_str());
            if (index >= 0)
                m_country.SetItemDataPtr(index, country.second.get());
        }
    }
    DropSortStyle(m_country);
    m_country.InsertString(0, KV::Lang::GetText("str_all_countries").c_str());
    SelectStored(m_country, "cur_country");
    m_country.SetExtendedUI(TRUE);
    m_country.SetRedraw(TRUE);
}

void CChannelsCtrl::FillCategories()
{
    if (m_catalogue != nullptr)
        for (const auto& category : m_catalogue->GetCategories()) {
            const int index = m_category.AddString(category.second->GetLabel().c_str());
            if (index >= 0)
                m_category.SetItemDataPtr(index, category.second.get());
        }
    DropSortStyle(m_category);
    m_category.InsertString(0, KV::Lang::GetText("str_all_channels").c_str());
    SelectStored(m_category, "cur_category");
    m_category.SetExtendedUI(TRUE);
}

void CChannelsCtrl::FillTvRadio()
{
    DropSortStyle(m_tvRadio);
    m_tvRadio.AddString(KV::Lang::GetText("str_tvradio").c_str());
    m_tvRadio.AddString(KV::Lang::GetText("str_tv").c_str());
    m_tvRadio.AddString(KV::Lang::GetText("str_radio").c_str());
    SelectStored(m_tvRadio, "cur_tvr");
    m_tvRadio.SetExtendedUI(TRUE);
}

void CChannelsCtrl::CreateTabs()
{
    RECT rect{10, 10, 20, 20};
    m_tab.Create(m_hWnd, &rect, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_TABSTOP,
                 IDC_CHANNEL_TAB);

    m_tab.AddTab(KV::Lang::GetText("tab_channels"), TabWidth, m_channels);
    const HWND filterPages[] = {m_country, m_category, m_tvRadio, m_search,
                                GetDlgItem(IDC_LABEL_COUNTRY), GetDlgItem(IDC_LABEL_GENRE),
                                GetDlgItem(IDC_LABEL_SEARCH), GetDlgItem(IDC_LABEL_TVRADIO)};
    for (HWND page : filterPages) {
        m_tab.AddPage(ChannelsTab, page);
        // Hidden like the tab's first page until the tab is selected, so a
        // panel that opens on another tab does not show them.
        ::ShowWindow(page, SW_HIDE);
        ::EnableWindow(page, FALSE);
    }
    m_tab.AddTab(KV::Lang::GetText("tab_favorites"), TabWidth, m_favorites);
    m_tab.AddTab(KV::Lang::GetText("tab_records"), TabWidth, m_recordsPage);
    m_tab.SelectTab(CSettings::GetInt("channels_tab", 0));
}

void CChannelsCtrl::Layout(int width, int height)
{
    const UINT flags = SWP_NOZORDER;
    m_tab.SetWindowPos(nullptr, Margin, 6, width - 2 * Margin, 36, flags);
    m_channels.SetWindowPos(nullptr, Margin, 156, width - 2 * Margin, height - 160, flags);
    m_favorites.SetWindowPos(nullptr, Margin, 46, width - 2 * Margin, height - 50, flags);
    if (m_recordsPage.IsWindow())
        m_recordsPage.SetWindowPos(nullptr, Margin, 46, width - 2 * Margin, height - 50, flags);
    Invalidate(FALSE);
}

void CChannelsCtrl::Relayout()
{
    m_channels.Invalidate(TRUE);
    m_favorites.Invalidate(TRUE);
    const RECT client = GetClientRect();
    Layout(client.right, client.bottom);
}

LRESULT CChannelsCtrl::OnSize(WindowMessage& msg)
{
    Layout(msg.Width(), msg.Height());
    return 0;
}

void CChannelsCtrl::Refilter()
{
    ChannelFilter filter;
    filter.country = static_cast<const CCountry*>(m_country.GetSelectedData());
    filter.category = static_cast<const CCategory*>(m_category.GetSelectedData());
    const int tvRadio = m_tvRadio.GetCurSel();
    CSettings::SetInt("cur_country", m_country.GetCurSel());
    CSettings::SetInt("cur_category", m_category.GetCurSel());
    CSettings::SetInt("cur_tvr", tvRadio);
    if (tvRadio == 1)
        filter.tvRadio = TvRadioChoice::TvOnly;
    else if (tvRadio == 2)
        filter.tvRadio = TvRadioChoice::RadioOnly;
    filter.search = UpperCaseLatin(m_search.GetWindowText());

    FillList(m_channels, ApplyFilter(m_entries, filter));
    ShowCount(ChannelsTab, m_channels.GetCount());
}

void CChannelsCtrl::FillList(CChannelListBox& list, const std::vector<const ChannelEntry*>& entries)
{
    std::vector<CChannel*> channels;
    channels.reserve(entries.size());
    for (const ChannelEntry* entry : entries)
        channels.push_back(entry->channel);
    list.SetChannels(std::move(channels));
}

void CChannelsCtrl::FillFavorites()
{
    std::vector<const ChannelEntry*> favorites;
    for (const ChannelEntry& entry : m_entries)
        if (entry.channel->IsFavourite())
            favorites.push_back(&entry);
    FillList(m_favorites, favorites);
    ShowCount(FavoritesTab, m_favorites.GetCount());
}

void CChannelsCtrl::ShowCount(int tab, int count)
{
    m_shownCounts[tab] = count;
    if (m_tab.IsWindow())
        m_tab.SetCount(tab, count);
}

CChannelListBox& CChannelsCtrl::GetVisibleList()
{
    return m_channels.IsWindowVisible() ? m_channels : m_favorites;
}

void CChannelsCtrl::SendToMainWindow(UINT message, CChannel* channel)
{
    ::SendMessageW(GetParent(), message, 0, reinterpret_cast<LPARAM>(channel));
}

LRESULT CChannelsCtrl::OnPlay(WindowMessage&)
{
    if (CChannel* channel = GetVisibleList().GetSelectedChannel())
        SendToMainWindow(WM_PLAY_CHANNEL, channel);
    return 0;
}

LRESULT CChannelsCtrl::OnRecord(WindowMessage&)
{
    if (CChannel* channel = GetVisibleList().GetSelectedChannel())
        SendToMainWindow(WM_RECORD_CHANNEL, channel);
    return 0;
}

LRESULT CChannelsCtrl::OnFilterChange(WindowMessage&)
{
    Refilter();
    return 0;
}

LRESULT CChannelsCtrl::OnToggleFavorite(WindowMessage&)
{
    CChannel* channel = GetVisibleList().GetSelectedChannel();
    if (channel == nullptr)
        return 0;
    channel->SetFavourite(!channel->IsFavourite());
    FillFavorites();
    return 0;
}

LRESULT CChannelsCtrl::OnChooseStream(WindowMessage& msg)
{
    CChannel* channel = GetVisibleList().GetSelectedChannel();
    if (channel == nullptr)
        return 0;
    const int chosen = msg.CommandId() - ID_CHANNEL_STREAM_FIRST;
    if (chosen == channel->GetCurrentSourceIndex())
        return 0;
    channel->SetCurrentSource(chosen);
    channel->UpdateDisplayText();
    if (m_showBitrate) {
        m_channels.Invalidate(FALSE);
        m_favorites.Invalidate(FALSE);
    }
    return 0;
}

void CChannelsCtrl::SelectChannel(CChannel* channel)
{
    if (channel == nullptr)
        return;
    const int index = m_channels.FindChannel(channel);
    if (index >= 0) {
        m_channels.SetCurSel(index);
        m_channels.SetTopIndex(index);
    }
    if (channel->IsFavourite()) {
        const int favorite = m_favorites.FindChannel(channel);
        if (favorite >= 0) {
            m_favorites.SetCurSel(favorite);
            m_favorites.SetTopIndex(favorite);
        }
    }
}

CChannel* CChannelsCtrl::GetNextFavorite(bool forward) const
{
    std::vector<CChannel*> favorites;
    const int count = m_favorites.GetCount();
    for (int i = 0; i < count; ++i)
        if (CChannel* channel = m_favorites.GetChannel(i))
            favorites.push_back(channel);
    CChannel* current = m_catalogue != nullptr ? m_catalogue->GetCurrentChannel() : nullptr;
    return FindNextFavorite(favorites, current, forward);
}
