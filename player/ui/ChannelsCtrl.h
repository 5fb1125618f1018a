#pragma once
// CChannelsCtrl: the channel panel on the right of the main window. A tab
// strip switches between the channels page (country, category and TV/radio
// filters, a search field and the filtered channel list), the favourites
// list and the records page. The panel changes only two things in the
// catalogue, a channel's favourite flag and its chosen stream; playing and
// recording are asked of the main window (WM_PLAY_CHANNEL,
// WM_RECORD_CHANNEL). The filters and the tab are kept in the settings.

#include "framework/MessageLoop.h"
#include "player/resources/Resource.h"
#include "player/ui/ChannelFilter.h"
#include "player/ui/ChannelListBox.h"
#include "player/ui/FilterComboBoxes.h"
#include "player/ui/RecordsCtrl.h"
#include "player/ui/SkinnedPanelImpl.h"
#include "player/ui/Tab.h"

#include <vector>

class CChannel;
class CChannelList;

class CChannelsCtrl : public CSkinnedPanelImpl<CChannelsCtrl>, public CMessageFilter {
public:
    enum { IDD = IDD_CHANNELS };
    enum TabIndex { ChannelsTab = 0, FavoritesTab = 1, RecordsTab = 2, TabCount = 3 };
    static constexpr int TabWidth = 83;

    CChannelsCtrl();

    // The catalogue the panel lists; set before the panel is created.
    void SetChannelList(CChannelList* catalogue) { m_catalogue = catalogue; }

    // Selects the channel in the channel list, and in the favourites list
    // when it is a favourite, scrolled to the top.
    void SelectChannel(CChannel* channel);
    // The favourite after (forward) or before the catalogue's current
    // channel in the favourites list, wrapping around; null when none.
    CChannel* GetNextFavorite(bool forward) const;
    // The records page's list, which the records manager fills.
    CRecordListBox& GetRecordListBox() { return m_recordsPage.GetListBox(); }
    CRecordsCtrl& GetRecordsPage() { return m_recordsPage; }
    // Repaints both lists and lays the panel out again.
    void Relayout();

    CTab& GetTab() { return m_tab; }
    // The count last shown under a tab's caption.
    int GetShownCount(int tab) const { return tab >= 0 && tab < TabCount ? m_shownCounts[tab] : 0; }
    CChannelListBox& GetChannelList() { return m_channels; }
    CChannelListBox& GetFavoriteList() { return m_favorites; }
    // The list whose channel the panel's commands act on: the channel list
    // when it is visible, else the favourites list.
    CChannelListBox& GetVisibleList();

    BOOL PreTranslateMessage(MSG* msg) override;

    MESSAGE_MAP_BEGIN(CChannelsCtrl)
        ON_MESSAGE(WM_INITDIALOG, OnInitDialog)
        ON_MESSAGE(WM_SIZE, OnSize)
        CHAIN_MESSAGE_MAP(CSkinnedPanelImpl<CChannelsCtrl>)
        ON_COMMAND_CODE(IDC_CHANNEL_LIST, LBN_DBLCLK, OnPlay)
        ON_COMMAND_CODE(IDC_FAVORITE_LIST, LBN_DBLCLK, OnPlay)
        ON_COMMAND_CODE(IDC_COUNTRY_FILTER, CBN_SELCHANGE, OnFilterChange)
        ON_COMMAND_CODE(IDC_CATEGORY_FILTER, CBN_SELCHANGE, OnFilterChange)
        ON_COMMAND_CODE(IDC_TVRADIO_FILTER, CBN_SELCHANGE, OnFilterChange)
        ON_COMMAND_CODE(IDC_SEARCH, EN_CHANGE, OnFilterChange)
        ON_COMMAND(ID_CHANNEL_FAVORITE, OnToggleFavorite)
        REFLECT_NOTIFICATIONS()
        ON_COMMAND(ID_CHANNEL_PLAY, OnPlay)
        ON_COMMAND_RANGE(ID_CHANNEL_STREAM_FIRST, ID_CHANNEL_STREAM_LAST, OnChooseStream)
        ON_COMMAND(ID_CHANNEL_RECORD, OnRecord)
    MESSAGE_MAP_END()

private:
    LRESULT OnInitDialog(WindowMessage& msg);
    LRESULT OnSize(WindowMessage& msg);
    LRESULT OnPlay(WindowMessage& msg);
    LRESULT OnFilterChange(WindowMessage& msg);
    LRESULT OnToggleFavorite(WindowMessage& msg);
    LRESULT OnChooseStream(WindowMessage& msg);
    LRESULT OnRecord(WindowMessage& msg);

    void FillCountries();
    void FillCategories();
    void FillTvRadio();
    void CreateTabs();
    void Layout(int width, int height);
    void Refilter();
    // Shows the entries' channels in the given order.
    static void FillList(CChannelListBox& list, const std::vector<const ChannelEntry*>& entries);
    void FillFavorites();
    void ShowCount(int tab, int count);
    void SendToMainWindow(UINT message, CChannel* channel);

    CChannelListBox m_channels;
    CChannelListBox m_favorites;
    CCountryComboBox m_country;
    CCategoryComboBox m_category;
    CTVRadioComboBox m_tvRadio;
    CWindow m_search;
    CRecordsCtrl m_recordsPage;
    CChannelList* m_catalogue = nullptr;
    CTab m_tab;
    bool m_showCountry = false;
    bool m_showBitrate = false;
    // Every channel with its search and sort texts, in list order.
    std::vector<ChannelEntry> m_entries;
    int m_shownCounts[TabCount] = {};
};
