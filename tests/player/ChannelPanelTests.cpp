// The channel panel: filters, search, the lists and their counts, the
// channel menu with its streams, favourites and tabs.

#include "foundation/Lang.h"
#include "player/app/Settings.h"
#include "player/resources/Resource.h"
#include "tests/player/MainWindowFixture.h"

namespace PlayerTest {
namespace {

class ChannelPanel : public MainWindowTest {
protected:
    std::vector<std::string> ListedIds(const CChannelListBox& list) const
    {
        std::vector<std::string> ids;
        for (int i = 0; i < list.GetCount(); ++i)
            ids.push_back(list.GetChannel(i)->GetId());
        return ids;
    }
    // Chooses the combo entry whose item data is data (null: entry 0), as
    // the user's choice in the drop-down does.
    void Choose(int comboId, const void* data)
    {
        CComboBox combo(Panel().GetDlgItem(comboId));
        int index = 0;
        for (int i = 0; i < combo.GetCount(); ++i)
            if (data != nullptr && combo.GetItemDataPtr(i) == data)
                index = i;
        ChooseIndex(comboId, index);
    }
    void ChooseIndex(int comboId, int index)
    {
        CComboBox combo(Panel().GetDlgItem(comboId));
        combo.SetCurSel(index);
        Panel().SendMessage(WM_COMMAND, MAKEWPARAM(comboId, CBN_SELCHANGE), reinterpret_cast<LPARAM>(HWND(combo)));
    }
    void Type(const std::wstring& text)
    {
        HWND search = Panel().GetDlgItem(IDC_SEARCH);
        ::SetWindowTextW(search, L"");
        ::SetFocus(search);
        PostChars(search, text);
        Pump();
    }
    void RightClick(CChannelListBox& list, const CChannel* channel)
    {
        const int index = list.FindChannel(channel);
        ASSERT_GE(index, 0);
        RECT row{};
        list.GetItemRect(index, &row);
        const LPARAM at = MAKELPARAM(row.left + 20, (row.top + row.bottom) / 2);
        ::PostMessageW(list, WM_RBUTTONDOWN, MK_RBUTTON, at);
        ::PostMessageW(list, WM_RBUTTONUP, 0, at);
    }
};

TEST_F(ChannelPanel, ListsEveryChannelGroupedByCountryLabelThenName)
{
    Open();
    const std::vector<std::string> expected = {
        Ids::Cine, Ids::Info, Ids::NoBackEnd,                               // France
        Ids::Radio, Ids::One, Ids::Grabbed, Ids::Night, Ids::Web, Ids::Late,  // Germany
        Ids::Kids, Ids::Cyrillic};                                          // Russia
    EXPECT_EQ(ListedIds(Panel().GetChannelList()), expected);
    EXPECT_EQ(Panel().GetShownCount(CChannelsCtrl::ChannelsTab), StandardChannelCount);
    EXPECT_EQ(Panel().GetChannelList().GetItemHeight(0), 37);
    EXPECT_EQ(CComboBox(Panel().GetDlgItem(IDC_COUNTRY_FILTER)).GetItemHeight(0), 18);

    // Country entries: "all", then the labels in order; TV/radio: three.
    CComboBox country(Panel().GetDlgItem(IDC_COUNTRY_FILTER));
    ASSERT_EQ(country.GetCount(), 4);
    EXPECT_EQ(country.GetLBText(0), KV::Lang::GetText("str_all_countries"));
    EXPECT_EQ(country.GetLBText(1), L"France");
    EXPECT_EQ(country.GetItemDataPtr(0), nullptr);
    CComboBox category(Panel().GetDlgItem(IDC_CATEGORY_FILTER));
    EXPECT_EQ(category.GetCount(), 10);
    CComboBox tvRadio(Panel().GetDlgItem(IDC_TVRADIO_FILTER));
    ASSERT_EQ(tvRadio.GetCount(), 3);
    EXPECT_EQ(tvRadio.GetLBText(1), KV::Lang::GetText("str_tv"));
}

TEST_F(ChannelPanel, FiltersAndSearchNarrowTheListAndTheTabShowsTheCount)
{
    Open();
    struct Case {
        const char* country;
        const char* category;
        int tvRadio;
        std::wstring search;
        std::vector<std::string> expected;
    };
    const Case cases[] = {
        {"fr", nullptr, 0, L"", {Ids::Cine, Ids::Info, Ids::NoBackEnd}},
        {nullptr, "ad", 0, L"", {Ids::Night, Ids::Late}},
        {nullptr, nullptr, 2, L"", {Ids::Info, Ids::Radio, Ids::Cyrillic}},
        {nullptr, nullptr, 1, L"", {Ids::Cine, Ids::NoBackEnd, Ids::One, Ids::Grabbed, Ids::Night, Ids::Web,
                                    Ids::Late, Ids::Kids}},
        {"fr", nullptr, 2, L"", {Ids::Info}},
        // Latin letters ignore case; other letters match only in their case.
        {nullptr, nullptr, 0, L"kino", {Ids::Night, Ids::Late}},
        {nullptr, nullptr, 0, L"ERSTES", {Ids::One}},
        {nullptr, nullptr, 0, L"\u0440\u0430\u0434\u0438\u043e", {}},
        {nullptr, nullptr, 0, L"\u0420\u0430\u0434\u0438\u043e", {Ids::Cyrillic}},
        {"de", "e", 1, L"tv", {Ids::Grabbed}},
        {nullptr, nullptr, 0, L"nothing like it", {}},
    };
    for (const Case& c : cases) {
        Choose(IDC_COUNTRY_FILTER, c.country ? Main().GetCatalogue()->FindCountry(c.country) : nullptr);
        Choose(IDC_CATEGORY_FILTER, c.category ? Main().GetCatalogue()->FindCategory(c.category) : nullptr);
        ChooseIndex(IDC_TVRADIO_FILTER, c.tvRadio);
        Type(c.search);
        EXPECT_EQ(ListedIds(Panel().GetChannelList()), c.expected) << (c.country ? c.country : "-") << " "
                                                                   << (c.category ? c.category : "-") << " "
                                                                   << c.tvRadio;
        EXPECT_EQ(Panel().GetShownCount(CChannelsCtrl::ChannelsTab), static_cast<int>(c.expected.size()));
    }
    // The choices are kept as entry indices.
    ChooseIndex(IDC_COUNTRY_FILTER, 2);
    ChooseIndex(IDC_CATEGORY_FILTER, 3);
    ChooseIndex(IDC_TVRADIO_FILTER, 1);
    EXPECT_EQ(CSettings::GetInt("cur_country", -1), 2);
    EXPECT_EQ(CSettings::GetInt("cur_category", -1), 3);
    EXPECT_EQ(CSettings::GetInt("cur_tvr", -1), 1);
}

TEST_F(ChannelPanel, StoredFilterIndicesOutOfRangeSelectTheFirstEntry)
{
    CSettings::SetInt("cur_country", 99);
    CSettings::SetInt("cur_tvr", 2);
    Open();
    EXPECT_EQ(CComboBox(Panel().GetDlgItem(IDC_COUNTRY_FILTER)).GetCurSel(), 0);
    EXPECT_EQ(CComboBox(Panel().GetDlgItem(IDC_TVRADIO_FILTER)).GetCurSel(), 2);
    EXPECT_EQ(Panel().GetShownCount(CChannelsCtrl::ChannelsTab), 3);
}

TEST_F(ChannelPanel, TabsShowTheirPagesAndRememberTheChoice)
{
    Open();
    EXPECT_TRUE(Panel().GetChannelList().IsWindowVisible());
    ClickTab(CChannelsCtrl::FavoritesTab);
    EXPECT_TRUE(Panel().GetFavoriteList().IsWindowVisible());
    EXPECT_FALSE(Panel().GetChannelList().IsWindowVisible());
    EXPECT_FALSE(::IsWindowVisible(Panel().GetDlgItem(IDC_COUNTRY_FILTER)));
    EXPECT_EQ(CSettings::GetInt("channels_tab", -1), 1);
    ClickTab(CChannelsCtrl::RecordsTab);
    EXPECT_FALSE(Panel().GetFavoriteList().IsWindowVisible());
    EXPECT_EQ(CSettings::GetInt("channels_tab", -1), 2);
    ClickTab(CChannelsCtrl::ChannelsTab);
    EXPECT_TRUE(::IsWindowVisible(Panel().GetDlgItem(IDC_SEARCH)));
    EXPECT_TRUE(::IsWindowVisible(Panel().GetDlgItem(IDC_LABEL_GENRE)));
}

TEST_F(ChannelPanel, LaysOutTheStripAndListsInsideItsColumn)
{
    Open();
    auto rectOf = [&](HWND window) {
        RECT rect = CWindow(window).GetWindowRect();
        ::MapWindowPoints(nullptr, Panel(), reinterpret_cast<POINT*>(&rect), 2);
        return rect;
    };
    const RECT tab = rectOf(Panel().GetTab());
    EXPECT_EQ(tab.left, 4);
    EXPECT_EQ(tab.top, 6);
    EXPECT_EQ(tab.right, 254);
    EXPECT_EQ(tab.bottom, 42);
    const RECT channels = rectOf(Panel().GetChannelList());
    EXPECT_EQ(channels.top, 156);
    EXPECT_EQ(channels.bottom, 424 - 4);
    const RECT favorites = rectOf(Panel().GetFavoriteList());
    EXPECT_EQ(favorites.top, 46);
    EXPECT_EQ(favorites.right, 254);
}

TEST_F(ChannelPanel, ChannelMenuOffersStreamsFavouriteAndRecordAsTheChannelHasThem)
{
    Open();
    CChannelListBox& list = Panel().GetChannelList();
    {
        MenuWatcher watcher;
        RightClick(list, Channel(Ids::One));
        ASSERT_TRUE(PumpUntil([&] { return !watcher.Menus().empty(); }));
        const MenuWatcher::Menu& menu = watcher.Menus()[0];
        ASSERT_EQ(menu.size(), 6u);
        EXPECT_EQ(menu[0].text, KV::Lang::GetText("menu_play"));
        EXPECT_TRUE(menu[1].separator);
        EXPECT_EQ(menu[2].text, KV::Lang::GetText("menu_add_favorites"));
        EXPECT_EQ(menu[3].text, KV::Lang::GetText("menu_set_bitrate"));
        EXPECT_TRUE(menu[4].separator);
        EXPECT_EQ(menu[5].id, static_cast<UINT>(ID_CHANNEL_RECORD));
        EXPECT_EQ(menu[5].text, KV::Lang::GetText("menu_record"));
        const MenuWatcher::Menu streams = ReadMenu(menu[3].subMenu);
        ASSERT_EQ(streams.size(), 2u);
        EXPECT_EQ(streams[0].text, L"512 " + KV::Lang::GetText("str_kb"));
        EXPECT_EQ(streams[1].id, 801u);
        EXPECT_TRUE(streams[0].checked);
        EXPECT_FALSE(streams[1].checked);
        EXPECT_EQ(list.GetSelectedChannel(), Channel(Ids::One));
    }
    // A channel that cannot be recorded after one that can: no record entry.
    Channel(Ids::Info)->SetFavourite(true);
    {
        MenuWatcher watcher;
        RightClick(list, Channel(Ids::Info));
        ASSERT_TRUE(PumpUntil([&] { return !watcher.Menus().empty(); }));
        const MenuWatcher::Menu& menu = watcher.Menus()[0];
        ASSERT_EQ(menu.size(), 4u);
        EXPECT_EQ(menu[2].text, KV::Lang::GetText("menu_remove_favorites"));
        EXPECT_EQ(ReadMenu(menu[3].subMenu).size(), 1u);
    }
}

TEST_F(ChannelPanel, ChoosingAStreamInTheMenuMakesItTheChannelsStream)
{
    Open();
    CChannel* one = Channel(Ids::One);
    {
        MenuWatcher watcher(ID_CHANNEL_STREAM_FIRST + 1, Panel());
        RightClick(Panel().GetChannelList(), one);
        ASSERT_TRUE(PumpUntil([&] { return one->GetCurrentSourceIndex() == 1; }));
    }
    EXPECT_NE(one->GetDisplayText().find(L"256"), std::wstring::npos);
    // The same stream again, or one past the eleventh id, changes nothing.
    Panel().SendMessage(WM_COMMAND, ID_CHANNEL_STREAM_FIRST + 1);
    Panel().SendMessage(WM_COMMAND, ID_CHANNEL_STREAM_LAST + 1);
    EXPECT_EQ(one->GetCurrentSourceIndex(), 1);
    Play(one);
    EXPECT_EQ(Media().plays.back().url.substr(Media().plays.back().url.size() - 11), L"one-256.asf");
}

TEST_F(ChannelPanel, MenuPlaysAndTogglesFavouritesOfTheSelectedChannel)
{
    Open();
    {
        MenuWatcher watcher(ID_CHANNEL_FAVORITE, Panel());
        RightClick(Panel().GetChannelList(), Channel(Ids::Radio));
        ASSERT_TRUE(PumpUntil([&] { return Panel().GetFavoriteList().GetCount() == 1; }));
    }
    EXPECT_TRUE(Channel(Ids::Radio)->IsFavourite());
    EXPECT_EQ(Panel().GetShownCount(CChannelsCtrl::FavoritesTab), 1);
    {
        MenuWatcher watcher(ID_CHANNEL_PLAY, Panel());
        RightClick(Panel().GetChannelList(), Channel(Ids::Cine));
        ASSERT_TRUE(PumpUntil([&] { return !Media().plays.empty(); }));
    }
    EXPECT_EQ(Media().plays.back().title, L"Cine Soir");

    // The favourites list plays on a double-click too, and is not filtered.
    ClickTab(CChannelsCtrl::FavoritesTab);
    Choose(IDC_COUNTRY_FILTER, Main().GetCatalogue()->FindCountry("fr"));
    EXPECT_EQ(Panel().GetFavoriteList().GetCount(), 1);
    DoubleClick(Panel().GetFavoriteList(), Channel(Ids::Radio));
    EXPECT_EQ(Media().plays.back().title, L"Bayern Welle");

    // Toggling again from the favourites list removes it.
    Panel().GetFavoriteList().SetCurSel(0);
    Panel().SendMessage(WM_COMMAND, ID_CHANNEL_FAVORITE);
    EXPECT_EQ(Panel().GetFavoriteList().GetCount(), 0);
    EXPECT_FALSE(Channel(Ids::Radio)->IsFavourite());
}

TEST_F(ChannelPanel, ALetterSelectsTheNextChannelWhoseCountryStartsWithIt)
{
    Open();
    CChannelListBox& list = Panel().GetChannelList();
    list.SetFocus();
    PostChars(list, L"g");
    Pump();
    EXPECT_EQ(list.GetSelectedChannel(), Channel(Ids::Radio));  // "GermanyBayern Welle"
    PostChars(list, L"G");
    Pump();
    EXPECT_EQ(list.GetSelectedChannel(), Channel(Ids::One));
    PostChars(list, L"f");
    Pump();
    EXPECT_EQ(list.GetSelectedChannel(), Channel(Ids::Cine));
    PostChars(list, L"x");
    Pump();
    EXPECT_EQ(list.GetSelectedChannel(), Channel(Ids::Cine));
}

TEST_F(ChannelPanel, SelectChannelSelectsInTheListsThatHoldIt)
{
    Open();
    Channel(Ids::Info)->SetFavourite(true);
    Panel().GetFavoriteList().SetCurSel(-1);
    Panel().SendMessage(WM_COMMAND, ID_CHANNEL_FAVORITE);  // nothing selected: nothing happens
    ClickTab(CChannelsCtrl::ChannelsTab);
    CChannelListBox& channels = Panel().GetChannelList();
    channels.SetCurSel(channels.FindChannel(Channel(Ids::Info)));
    Panel().SendMessage(WM_COMMAND, ID_CHANNEL_FAVORITE);
    Panel().SendMessage(WM_COMMAND, ID_CHANNEL_FAVORITE);
    ASSERT_EQ(Panel().GetFavoriteList().GetCount(), 1);

    Panel().SelectChannel(Channel(Ids::Info));
    EXPECT_EQ(channels.GetSelectedChannel(), Channel(Ids::Info));
    EXPECT_EQ(Panel().GetFavoriteList().GetSelectedChannel(), Channel(Ids::Info));
    Panel().SelectChannel(Channel(Ids::Kids));
    EXPECT_EQ(channels.GetSelectedChannel(), Channel(Ids::Kids));
    EXPECT_EQ(Panel().GetFavoriteList().GetSelectedChannel(), Channel(Ids::Info));
}

}  // namespace
}  // namespace PlayerTest
