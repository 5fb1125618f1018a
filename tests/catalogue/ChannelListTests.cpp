// The channel catalogue loaded from fixture files through the real
// settings store, language pack and skin.

#include "foundation/Crc.h"
#include "foundation/DataKey.h"
#include "foundation/Image.h"
#include "foundation/MemoryStream.h"
#include "foundation/Skin.h"
#include "player/app/Settings.h"
#include "foundation/CatalogueScramble.h"
#include "player/catalogue/ChannelList.h"
#include "player/playback/UrlGrabber.h"
#include "tests/catalogue/CatalogueEnvironment.h"
#include "tests/catalogue/MessageBoxRecorder.h"
#include "tests/support/DataTreeBytes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <vector>

using namespace CatalogueEnvironment;

namespace {

class CatalogueTest : public testing::Test {
protected:
    void SetUp() override
    {
        CUrlGrabber::DeleteAll();
        LoadLanguageAndSkin();
        LoadSettings(L"settings.cfg");
    }
    void TearDown() override
    {
        CUrlGrabber::DeleteAll();
        FreeLanguageAndSkin();
    }

    CChannel& Channel(const CChannelList& list, const std::string& id)
    {
        CChannel* channel = list.FindChannel(id);
        EXPECT_NE(channel, nullptr) << id;
        static CChannel* none = nullptr;
        return channel ? *channel : *none;
    }

    static std::vector<std::string> Ids(const CChannelList& list)
    {
        std::vector<std::string> ids;
        for (const auto& country : list.GetCountries())
            for (const auto& channel : country.second->GetChannels())
                ids.push_back(channel.second->GetId());
        return ids;
    }

    MessageBoxRecorder m_boxes;
};

const std::vector<std::string> kEdgeIds = {"a_b_c", "a_b_c", "de_late", "de_news", "de_radio1", "de_tv1", "fr_info"};

TEST_F(CatalogueTest, MissingFileLeavesTheCatalogueEmpty)
{
    {
        CChannelList list(Fixture(L"absent.brsc"));
        EXPECT_EQ(CChannelList::Instance(), &list);
        EXPECT_TRUE(list.GetCategories().empty());
        EXPECT_TRUE(list.GetCountries().empty());
        EXPECT_EQ(list.GetCurrentChannel(), nullptr);
    }
    EXPECT_EQ(CChannelList::Instance(), nullptr);
}

TEST_F(CatalogueTest, RootWideStringMakesATemplateGrabber)
{
    CChannelList list(Fixture(L"template.brsc"));
    EXPECT_EQ(list.GetCategories().size(), 9u);
    EXPECT_TRUE(list.GetCountries().empty());
    EXPECT_EQ(CUrlGrabber::Resolve(L"id7", "x"), L"http://x.example/id7.asx");
    EXPECT_FALSE(CUrlGrabber::Find("n"));
}

TEST_F(CatalogueTest, UnreadableFileStillHasTheCategories)
{
    CChannelList list(WriteFixture(L"garbage.brsc", "this is no data tree, plain or scrambled"));
    EXPECT_EQ(list.GetCategories().size(), 9u);
    EXPECT_TRUE(list.GetCountries().empty());
}

TEST_F(CatalogueTest, CategoriesEnumerateByCodeWithTheirLabels)
{
    CChannelList list(Fixture(L"edge.brsc"));
    std::vector<std::string> codes;
    for (const auto& category : list.GetCategories())
        codes.push_back(category.second->GetCode());
    EXPECT_EQ(codes, (std::vector<std::string>{"ad", "e", "k", "l", "mo", "mu", "n", "r", "sp"}));
    EXPECT_EQ(list.FindCategory("mu")->GetLabel(), L"Music");
    EXPECT_EQ(list.FindCategory("sp")->GetLabel(), L"sp");
    EXPECT_EQ(list.FindCategory("zz"), nullptr);
    EXPECT_EQ(list.FindCategory("MU"), nullptr);
}

TEST_F(CatalogueTest, CountriesHaveLabelsAndFlags)
{
    CChannelList list(Fixture(L"edge.brsc"));
    std::vector<std::string> keys;
    for (const auto& country : list.GetCountries())
        keys.push_back(country.first);
    EXPECT_EQ(keys, (std::vector<std::string>{"a", "a_b", "de", "fr"}));
    const CCountry* de = list.FindCountry("de");
    const CCountry* fr = list.FindCountry("fr");
    ASSERT_TRUE(de && fr);
    EXPECT_EQ(de->GetLabel(), L"Germany");
    EXPECT_NE(de->GetFlag(), nullptr);
    EXPECT_EQ(fr->GetLabel(), L"fr");
    EXPECT_EQ(fr->GetFlag(), nullptr);
}

TEST_F(CatalogueTest, OnlyChannelsWithAKnownCategoryAndAStreamAreLoaded)
{
    CChannelList list(Fixture(L"edge.brsc"));
    // fr: "zz", no "c" and a wide-string "c" are dropped silently; "silent"
    // has no stream "0" and is told to the user.
    EXPECT_EQ(Ids(list), kEdgeIds);
    const auto boxes = m_boxes.Get();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, L"fr : Silent - No url!");
    EXPECT_EQ(boxes[0].owner, nullptr);
    EXPECT_FALSE(boxes[0].hasCaption);
    // Above the splash, which is topmost while the catalogue loads.
    EXPECT_EQ(boxes[0].type, static_cast<UINT>(MB_OK | MB_TOPMOST | MB_SETFOREGROUND));
}

TEST_F(CatalogueTest, OnlyTheFirstFewChannelsWithoutAStreamAreToldSoThatTheStartGoesOn)
{
    KV::DataKey root("channels");
    KV::DataKey* country = root.AddKey("de");
    for (int i = 0; i < 40; ++i) {
        KV::DataKey* silent = country->AddKey("silent" + std::to_string(100 + i));
        silent->SetStringA("c", "n");
        silent->SetStringW("n", L"Silent " + std::to_wstring(100 + i));
    }
    KV::DataKey* playable = country->AddKey("zz");
    playable->SetStringA("c", "n");
    playable->AddKey("0")->SetStringW("u", L"http://127.0.0.1:9/");
    const std::wstring name = L"many_silent.brsc";
    ASSERT_TRUE(root.Save(FixturePath(name)));

    CChannelList list(Fixture(name));
    EXPECT_EQ(Ids(list), std::vector<std::string>{"de_zz"});
    const auto boxes = m_boxes.Get();
    ASSERT_EQ(boxes.size(), 5u);
    EXPECT_EQ(boxes.front().text, L"Germany : Silent 100 - No url!");
    EXPECT_EQ(boxes.back().text, L"Germany : Silent 104 - No url!");
}

TEST_F(CatalogueTest, ChannelFieldsComeFromTheFileAndTheLanguage)
{
    CChannelList list(Fixture(L"edge.brsc"));
    const CChannel& tv1 = Channel(list, "de_tv1");
    EXPECT_EQ(tv1.GetId(), "de_tv1");
    EXPECT_EQ(tv1.GetName(), L"Das Erste");
    EXPECT_EQ(&tv1.GetCountry(), list.FindCountry("de"));
    EXPECT_EQ(tv1.GetCategory(), list.FindCategory("n"));
    EXPECT_EQ(tv1.GetPlayerKey(), "m");
    EXPECT_EQ(tv1.GetGrabberKey(), "tvl");
    EXPECT_EQ(tv1.GetRecorderKey(), "mms");
    EXPECT_TRUE(tv1.IsRecordable());
    EXPECT_FALSE(tv1.IsRadio());
    // Streams "0", "1" and "3": reading stops at the missing "2".
    ASSERT_EQ(tv1.GetSources().size(), 2u);
    EXPECT_EQ(tv1.GetSources()[0].GetBitrate(), 300);
    EXPECT_EQ(tv1.GetSources()[1].GetBitrate(), 700);
    EXPECT_EQ(tv1.GetSources()[1].GetUrl(), L"mms://a.example/700");

    struct Case {
        const char* id;
        const wchar_t* name;
        bool radio;
        bool recordable;
    };
    // Values of another type read as missing: "r" as Int, "R" as Int.
    const Case cases[] = {
        {"de_news", L"News 24", false, false},
        {"de_radio1", L"Radio One", true, false},
        {"fr_info", L"Info", false, false},
    };
    for (const Case& c : cases) {
        const CChannel& channel = Channel(list, c.id);
        EXPECT_EQ(channel.GetName(), c.name) << c.id;
        EXPECT_EQ(channel.IsRadio(), c.radio) << c.id;
        EXPECT_EQ(channel.IsRecordable(), c.recordable) << c.id;
        EXPECT_EQ(channel.GetPlayerKey(), "") << c.id;
        EXPECT_EQ(channel.GetGrabberKey(), "") << c.id;
    }
    // A stream whose "b" is no Int and which has no "u".
    const CChannel& late = Channel(list, "de_late");
    ASSERT_EQ(late.GetSources().size(), 1u);
    EXPECT_EQ(late.GetSources()[0].GetBitrate(), 0);
    EXPECT_EQ(late.GetSources()[0].GetUrl(), L"");
}

TEST_F(CatalogueTest, IconsFallBackToThePlainChannelKey)
{
    CChannelList list(Fixture(L"edge.brsc"));
    struct Case {
        const char* id;
        int width;  // 0: no icon
    };
    // The skin has c_de_tv1 (1 pixel), c_tv1 (2) and c_de_news (3); de_tv1
    // names the missing "nosuch".
    const Case cases[] = {{"de_tv1", 2}, {"de_news", 3}, {"de_radio1", 0}};
    for (const Case& c : cases) {
        const CImage* icon = Channel(list, c.id).GetIcon();
        EXPECT_EQ(icon ? icon->GetWidth() : 0, c.width) << c.id;
    }
}

// A skin without any "c_" image has no channel icons to look for, but an
// icon a channel names ("iid") is still found under its own name.
TEST_F(CatalogueTest, ANamedIconIsFoundInASkinWithoutChannelIcons)
{
    KV::DataKey skin;
    ASSERT_TRUE(skin.Load(FixturePath(L"Resources.kvdt")));
    KV::DataKey* images = skin.GetKey("images");
    ASSERT_NE(images, nullptr);
    std::vector<std::string> channelIcons;
    for (const auto& image : images->GetValues())
        if (image.first.compare(0, 2, "c_") == 0)
            channelIcons.push_back(image.first);
    ASSERT_FALSE(channelIcons.empty());
    for (const std::string& name : channelIcons)
        images->DeleteValue(name);
    KV::Skin::Free();
    KV::Skin::LoadImages(images);
    ASSERT_FALSE(KV::Skin::HasImagesStartingWith("c_"));

    DataTreeBytes bytes;
    bytes.Key("channels", 0).SubKeys(1);
    bytes.Key("de", 0).SubKeys(2);
    bytes.Key("named", 2).StringA("c", "n").StringA("iid", "f_de").SubKeys(1);
    bytes.Key("0", 1).StringW("u", L"mms://a").SubKeys(0);
    bytes.Key("tv1", 1).StringA("c", "n").SubKeys(1);
    bytes.Key("0", 1).StringW("u", L"mms://b").SubKeys(0);
    WriteFixture(L"named_icon.brsc", bytes.String());
    CChannelList list(Fixture(L"named_icon.brsc"));
    EXPECT_EQ(Channel(list, "de_named").GetIcon(), KV::Skin::GetImage("f_de"));
    EXPECT_NE(Channel(list, "de_named").GetIcon(), nullptr);
    EXPECT_EQ(Channel(list, "de_tv1").GetIcon(), nullptr);
}

TEST_F(CatalogueTest, SavedChoicesJoinTheChannels)
{
    CChannelList list(Fixture(L"edge.brsc"));
    struct Case {
        const char* id;
        int32_t source;
        bool favourite;
    };
    const Case cases[] = {
        {"de_tv1", 0, true},     // "cu" 5 with two streams
        {"de_late", 0, true},    // "cu" -1
        {"de_radio1", 0, false}, // "cu" a UInt, "f" an Int
        {"de_news", 0, false},
        {"fr_info", 0, false},   // nothing saved
        {"a_b_c", 0, true},
    };
    for (const Case& c : cases) {
        const CChannel& channel = Channel(list, c.id);
        EXPECT_EQ(channel.GetCurrentSourceIndex(), c.source) << c.id;
        EXPECT_EQ(channel.IsFavourite(), c.favourite) << c.id;
    }
    EXPECT_TRUE(list.FindCountry("a_b")->FindChannel("a_b_c")->IsFavourite());
}

TEST_F(CatalogueTest, SetCurrentSourceStaysWithinTheStreams)
{
    CChannelList list(Fixture(L"edge.brsc"));
    CChannel& tv1 = Channel(list, "de_tv1");
    EXPECT_EQ(tv1.GetDisplayText(), L"Germany (300 kb)");
    tv1.SetCurrentSource(5);
    EXPECT_EQ(tv1.GetCurrentSourceIndex(), 1);
    EXPECT_EQ(tv1.GetCurrentSource()->GetBitrate(), 700);
    EXPECT_EQ(tv1.GetDisplayText(), L"Germany (300 kb)");
    EXPECT_EQ(tv1.UpdateDisplayText(), L"Germany (700 kb)");
    tv1.SetCurrentSource(-2);
    EXPECT_EQ(tv1.GetCurrentSourceIndex(), 0);
    EXPECT_EQ(Channel(list, "fr_info").GetDisplayText(), L"fr (256 kb)");
}

TEST_F(CatalogueTest, TheDisplayTextKeepsTheStreamOfTheLoadUntilItIsMadeAgain)
{
    CChannelList list(Fixture(L"edge.brsc"));
    CChannel& tv1 = Channel(list, "de_tv1");
    // Another stream before the text was ever asked for.
    tv1.SetCurrentSource(1);
    EXPECT_EQ(tv1.GetDisplayText(), L"Germany (300 kb)");
    EXPECT_EQ(tv1.UpdateDisplayText(), L"Germany (700 kb)");
    EXPECT_EQ(tv1.GetDisplayText(), L"Germany (700 kb)");
}

TEST_F(CatalogueTest, CurrentChannelIsRestoredAndStored)
{
    CChannelList list(Fixture(L"edge.brsc"));
    EXPECT_EQ(list.GetCurrentChannel(), list.FindChannel("de_news"));
    list.SetCurrentChannel(list.FindChannel("de_tv1"));
    EXPECT_EQ(list.GetCurrentChannel(), list.FindChannel("de_tv1"));
    EXPECT_EQ(CSettings::GetString("cur_channel", L"?"), L"de_tv1");
    list.SetCurrentChannel(nullptr);
    EXPECT_EQ(list.GetCurrentChannel(), nullptr);
    EXPECT_EQ(CSettings::GetString("cur_channel", L"?"), L"");
}

TEST_F(CatalogueTest, StaleCurrentChannelLeavesNoneAndKeepsTheOption)
{
    LoadSettings(L"stale.cfg");
    CChannelList list(Fixture(L"edge.brsc"));
    EXPECT_EQ(list.GetCurrentChannel(), nullptr);
    EXPECT_EQ(CSettings::GetString("cur_channel", L"?"), L"xx_gone");
    // Without saved choices every channel starts at its first stream.
    EXPECT_EQ(CSettings::GetChannelsNode(), nullptr);
    EXPECT_FALSE(Channel(list, "de_tv1").IsFavourite());
}

TEST_F(CatalogueTest, FindChannelIsExact)
{
    CChannelList list(Fixture(L"edge.brsc"));
    for (const char* missing : {"DE_tv1", "de_TV1", "de_", "_tv1", "tv1", "de", "fr_bad", "fr_silent", ""})
        EXPECT_EQ(list.FindChannel(missing), nullptr) << missing;
    EXPECT_EQ(list.FindCountry("de")->FindChannel("de_tv1"), list.FindChannel("de_tv1"));
    EXPECT_EQ(list.FindCountry("de")->FindChannel("fr_info"), nullptr);
    // Country a with channel b_c and country a_b with channel c share the
    // id; the first in key order is found.
    const CChannel* found = list.FindChannel("a_b_c");
    ASSERT_NE(found, nullptr);
    EXPECT_EQ(found->GetName(), L"First");
}

TEST_F(CatalogueTest, SaveStateWritesEveryChannelOnce)
{
    CChannelList list(Fixture(L"edge.brsc"));
    list.FindCountry("a")->FindChannelByKey("b_c")->SetFavourite(false);
    list.FindCountry("a_b")->FindChannelByKey("c")->SetFavourite(true);
    Channel(list, "de_tv1").SetCurrentSource(1);

    KV::DataKey channels("channels");
    list.SaveState(channels);
    EXPECT_EQ(channels.GetKeyCount(), kEdgeIds.size() - 1);
    EXPECT_FALSE(channels.HasKey("xx_gone"));
    EXPECT_FALSE(channels.GetKey("a_b_c")->GetBool("f", true));
    EXPECT_EQ(channels.GetKey("de_tv1")->GetInt("cu", -1), 1);
    EXPECT_TRUE(channels.GetKey("de_tv1")->GetBool("f", false));
    EXPECT_FALSE(channels.GetKey("fr_info")->GetBool("f", true));
}

TEST_F(CatalogueTest, SettingsSaveCarriesTheChoicesToTheNextStart)
{
    {
        CChannelList list(Fixture(L"edge.brsc"));
        Channel(list, "de_tv1").SetCurrentSource(1);
        Channel(list, "de_tv1").SetFavourite(false);
        Channel(list, "fr_info").SetFavourite(true);
        list.SetCurrentChannel(list.FindChannel("fr_info"));
        ASSERT_TRUE(CSettings::Save());
    }
    KV::DataKey saved;
    ASSERT_TRUE(saved.Load(SettingsFile()));
    const KV::DataKey* channels = saved.GetKey("channels");
    ASSERT_NE(channels, nullptr);
    EXPECT_EQ(channels->GetKeyCount(), kEdgeIds.size() - 1);
    EXPECT_FALSE(channels->HasKey("xx_gone"));

    CSettings::Load(L"catalogue_tests.cfg");
    CChannelList list(Fixture(L"edge.brsc"));
    EXPECT_EQ(list.GetCurrentChannel(), list.FindChannel("fr_info"));
    EXPECT_EQ(Channel(list, "de_tv1").GetCurrentSourceIndex(), 1);
    EXPECT_FALSE(Channel(list, "de_tv1").IsFavourite());
    EXPECT_TRUE(Channel(list, "fr_info").IsFavourite());
}

TEST_F(CatalogueTest, ACatalogueThatCouldNotBeReadLeavesTheSavedChoicesAlone)
{
    const std::wstring unreadable = WriteFixture(L"unreadable.brsc", "no data tree, plain or scrambled");
    for (const std::wstring& file : {Fixture(L"absent.brsc"), unreadable}) {
        SCOPED_TRACE(std::string(file.begin(), file.end()));
        LoadSettings(L"settings.cfg");
        {
            CChannelList list(file);
            EXPECT_TRUE(list.GetCountries().empty());
            ASSERT_TRUE(CSettings::Save());
        }
        // Also a save after the catalogue has gone.
        ASSERT_TRUE(CSettings::Save());
        KV::DataKey saved;
        ASSERT_TRUE(saved.Load(SettingsFile()));
        const KV::DataKey* channels = saved.GetKey("channels");
        ASSERT_NE(channels, nullptr);
        EXPECT_EQ(channels->GetKeyCount(), 6u);
        ASSERT_TRUE(channels->HasKey("de_tv1"));
        EXPECT_TRUE(channels->GetKey("de_tv1")->GetBool("f", false));
        EXPECT_EQ(channels->GetKey("de_tv1")->GetInt("cu", 0), 5);
        EXPECT_EQ(CSettings::GetString("cur_channel", L""), L"de_news");
    }
}

TEST_F(CatalogueTest, AllChannelsListsTheLoadedOnesInOrderOfConstruction)
{
    const size_t before = GetAllChannels().size();
    {
        CChannelList list(Fixture(L"edge.brsc"));
        const auto& all = GetAllChannels();
        ASSERT_EQ(all.size(), before + kEdgeIds.size());
        std::vector<std::string> ids;
        for (size_t i = before; i < all.size(); ++i)
            ids.push_back(all[i]->GetId());
        EXPECT_EQ(ids, kEdgeIds);
    }
    EXPECT_EQ(GetAllChannels().size(), before);
}

TEST_F(CatalogueTest, ChannelsWhoseKeysShareLongBeginningsAreBuiltInKeyOrder)
{
    // Keys alike in their first eight bytes and more, one the beginning of
    // another, and bytes above 0x7F, which order after the letters.
    const std::vector<std::string> keys = {"channel_long_b", "channel_long", "channel_long_a", "channel_lonG",
                                           "channel_long_a2", "channel_lo", "channel", "channel\xe4", "channel_long_\xe4"};
    KV::DataKey root("channels");
    for (const char* countryKey : {"country_with_a_long_key", "country_with_a_long_key_too"}) {
        KV::DataKey* country = root.AddKey(countryKey);
        for (const std::string& key : keys) {
            KV::DataKey* channel = country->AddKey(key);
            channel->SetStringA("c", "n");
            channel->AddKey("0")->SetStringW("u", L"http://127.0.0.1:9/");
        }
    }
    const std::wstring name = L"long_keys.brsc";
    ASSERT_TRUE(root.Save(FixturePath(name)));

    const size_t before = GetAllChannels().size();
    CChannelList list(Fixture(name));
    std::vector<std::string> expected;
    for (const char* countryKey : {"country_with_a_long_key", "country_with_a_long_key_too"})
        for (const std::string& key : keys)
            expected.push_back(std::string(countryKey) + "_" + key);
    std::sort(expected.begin(), expected.end());
    std::vector<std::string> built;
    for (size_t i = before; i < GetAllChannels().size(); ++i)
        built.push_back(GetAllChannels()[i]->GetId());
    EXPECT_EQ(built, expected);
    EXPECT_EQ(Ids(list), expected);
    for (const std::string& id : expected) {
        const CChannel* found = list.FindChannel(id);
        ASSERT_NE(found, nullptr) << id;
        EXPECT_EQ(found->GetId(), id);
    }
    EXPECT_EQ(list.FindCountry("country_with_a_long_key")->FindChannelByKey("channel_long_"), nullptr);
    EXPECT_EQ(list.FindCountry("country_with_a_long_key")->FindChannelByKey("channel\xe5"), nullptr);
}

TEST_F(CatalogueTest, ChannelsSharingAKeyNameKeepTheirOwnWhenOneChanges)
{
    KV::DataKey root("channels");
    KV::DataKey* country = root.AddKey("de");
    for (const char* key : {"one", "two", "three"}) {
        KV::DataKey* channel = country->AddKey(key);
        channel->SetStringA("c", "n");
        channel->SetStringA("p", "m");
        channel->SetStringA("g", "site");
        channel->SetStringA("R", "mms");
        channel->AddKey("0")->SetStringW("u", L"http://127.0.0.1:9/");
    }
    const std::wstring name = L"shared_keys.brsc";
    ASSERT_TRUE(root.Save(FixturePath(name)));
    CChannelList list(Fixture(name));
    CChannel& two = Channel(list, "de_two");
    two.SetRecorderKey("D");
    two.SetRecorderKey("wmp");
    for (const char* id : {"de_one", "de_three"}) {
        const CChannel& other = Channel(list, id);
        EXPECT_EQ(other.GetRecorderKey(), "mms") << id;
        EXPECT_EQ(other.GetPlayerKey(), "m") << id;
        EXPECT_EQ(other.GetGrabberKey(), "site") << id;
    }
    EXPECT_EQ(two.GetRecorderKey(), "wmp");
    EXPECT_EQ(two.GetPlayerKey(), "m");
    EXPECT_EQ(two.GetKey(), "two");
}

TEST_F(CatalogueTest, ManyStreamsAreReadInNumberOrderUpToTheFirstGap)
{
    // Twelve streams "0" to "11", then "13" after the gap; "012" and "x" are
    // no stream numbers.
    KV::DataKey root("channels");
    KV::DataKey* channel = root.AddKey("de")->AddKey("many");
    channel->SetStringA("c", "n");
    for (int i : {11, 3, 0, 13, 7, 1, 10, 2, 9, 4, 8, 6, 5}) {
        KV::DataKey* stream = channel->AddKey(std::to_string(i));
        stream->SetInt("b", 100 + i);
        stream->SetStringW("u", L"http://127.0.0.1:9/" + std::to_wstring(i));
    }
    channel->AddKey("012")->SetInt("b", 1);
    channel->AddKey("x")->SetInt("b", 2);
    const std::wstring name = L"many_streams.brsc";
    ASSERT_TRUE(root.Save(FixturePath(name)));

    CChannelList list(Fixture(name));
    const CChannel& many = Channel(list, "de_many");
    ASSERT_EQ(many.GetSources().size(), 12u);
    for (size_t i = 0; i < many.GetSources().size(); ++i) {
        EXPECT_EQ(many.GetSources()[i].GetBitrate(), static_cast<int32_t>(100 + i)) << i;
        EXPECT_EQ(many.GetSources()[i].GetUrl(), L"http://127.0.0.1:9/" + std::to_wstring(i)) << i;
    }
}

TEST_F(CatalogueTest, ScrambledFileReadsLikeThePlainOne)
{
    // Written by kvdt build --scramble from the text of edge.brsc.
    const std::string bytes = ReadFile(FixturePath(L"edge_scrambled.brsc"));
    ASSERT_GT(bytes.size(), 4u);
    EXPECT_NE(bytes.compare(0, 4, "KVDT"), 0);
    CChannelList list(Fixture(L"edge_scrambled.brsc"));
    EXPECT_EQ(Ids(list), kEdgeIds);
    EXPECT_EQ(Channel(list, "de_tv1").GetName(), L"Das Erste");
    EXPECT_EQ(Channel(list, "de_tv1").GetSources().size(), 2u);
    EXPECT_EQ(CUrlGrabber::Resolve(L"c", "web"), L"http://tv.example/live/c");
}

// Everything a load gives of the catalogue, to compare two loads.
std::wstring Describe(const CChannelList& list)
{
    std::wostringstream out;
    for (const auto& country : list.GetCountries())
        for (const auto& entry : country.second->GetChannels()) {
            const CChannel& channel = *entry.second;
            const std::string& id = channel.GetId();
            out << std::wstring(id.begin(), id.end()) << L" '" << channel.GetName() << L"' "
                << channel.GetCategory()->GetCode().c_str() << L" radio " << channel.IsRadio() << L" "
                << channel.GetPlayerKey().c_str() << L"/" << channel.GetGrabberKey().c_str() << L"/"
                << channel.GetRecorderKey().c_str();
            for (const CChannelSource& source : channel.GetSources())
                out << L" [" << source.GetBitrate() << L" " << source.GetUrl() << L"]";
            out << L"\n";
        }
    out << L"web: " << CUrlGrabber::Resolve(L"id", "web") << L", txt: " << CUrlGrabber::Resolve(L"id", "txt");
    return out.str();
}

// Files can hold two entries of one name anywhere: of each the first counts,
// as a data-tree load keeps it. Neither countries nor channels are in key
// order in the file, so that both are sorted.
TEST_F(CatalogueTest, OfEntriesOfOneNameTheFirstCountsAsInALoadedTree)
{
    const std::string bytes =
        DataTreeBytes()
            .Key("channels", 4)
            .StringW("web", L"http://first.example/%s")
            .StringW("web", L"http://second.example/%s")
            .StringA("txt", "http://narrow.example/%s")
            .StringW("txt", L"http://wide.example/%s")
            .SubKeys(3)
                .Key("dup", 0).SubKeys(3)
                    .Key("tv", 4).StringA("n", "Narrow").StringW("n", L"Wide").StringA("c", "n").StringA("c", "mu")
                    .SubKeys(3)
                        .Key("0", 2).Int("b", 100).StringW("u", L"http://127.0.0.1:9/first").SubKeys(0)
                        .Key("0", 2).Int("b", 200).StringW("u", L"http://127.0.0.1:9/second").SubKeys(0)
                        .Key("1", 3).Int("b", 300).Int("b", 301).StringW("u", L"http://127.0.0.1:9/one").SubKeys(0)
                    .Key("tv", 2).StringW("n", L"Second tv").StringA("c", "mu").SubKeys(1)
                        .Key("0", 1).Int("b", 900).SubKeys(0)
                    .Key("radio", 4).StringW("n", L"Radio").StringA("c", "mu").Bool("r", true).Bool("r", false)
                    .SubKeys(1)
                        .Key("0", 1).StringW("u", L"http://127.0.0.1:9/radio").SubKeys(0)
                .Key("dup", 0).SubKeys(1)
                    .Key("other", 2).StringW("n", L"Other").StringA("c", "n").SubKeys(1)
                        .Key("0", 1).Int("b", 1).SubKeys(0)
                .Key("ab", 0).SubKeys(1)
                    .Key("x", 2).StringW("n", L"X").StringA("c", "sp").SubKeys(1)
                        .Key("0", 1).Int("b", 2).SubKeys(0)
            .String();

    std::wstring fromBytes;
    {
        CChannelList list(WriteFixture(L"duplicates.brsc", bytes));
        EXPECT_EQ(Ids(list), (std::vector<std::string>{"ab_x", "dup_radio", "dup_tv"}));
        const CChannel& tv = Channel(list, "dup_tv");
        EXPECT_EQ(tv.GetName(), L""); // the first "n" is no StringW
        EXPECT_EQ(tv.GetCategory(), list.FindCategory("n"));
        ASSERT_EQ(tv.GetSources().size(), 2u);
        EXPECT_EQ(tv.GetSources()[0].GetBitrate(), 100);
        EXPECT_EQ(tv.GetSources()[0].GetUrl(), L"http://127.0.0.1:9/first");
        EXPECT_EQ(tv.GetSources()[1].GetBitrate(), 300);
        EXPECT_TRUE(Channel(list, "dup_radio").IsRadio());
        EXPECT_EQ(list.FindChannel("dup_other"), nullptr);
        EXPECT_EQ(CUrlGrabber::Resolve(L"id", "web"), L"http://first.example/id");
        EXPECT_FALSE(CUrlGrabber::Find("txt")); // the first "txt" is no StringW
        fromBytes = Describe(list);
    }
    CUrlGrabber::DeleteAll();

    KV::DataKey loaded;
    KV::MemoryStream stream;
    stream.Write(bytes.data(), static_cast<uint32_t>(bytes.size()));
    stream.Seek(0, KV::SeekBegin);
    ASSERT_TRUE(loaded.Deserialize(stream));
    ASSERT_TRUE(loaded.Save(FixturePath(L"duplicates_loaded.brsc")));
    CChannelList list(Fixture(L"duplicates_loaded.brsc"));
    EXPECT_EQ(Describe(list), fromBytes);
    EXPECT_TRUE(m_boxes.Get().empty());
}

TEST(CatalogueFile, OnlyTheFirstCountryOfANameMustHoldAChannel)
{
    const auto country = [](DataTreeBytes& bytes, bool withChannel) -> DataTreeBytes& {
        bytes.Key("de", 0).SubKeys(withChannel ? 1 : 0);
        if (withChannel)
            bytes.Key("tv", 1).StringA("c", "n").SubKeys(0);
        return bytes;
    };
    struct Case {
        bool firstHasChannel;
        bool secondHasChannel;
    };
    for (const Case c : {Case{false, true}, Case{true, false}, Case{true, true}, Case{false, false}}) {
        SCOPED_TRACE(testing::Message() << c.firstHasChannel << " " << c.secondHasChannel);
        DataTreeBytes bytes;
        bytes.Key("channels", 0).SubKeys(2);
        country(bytes, c.firstHasChannel);
        country(bytes, c.secondHasChannel);
        const std::wstring path = FixturePath(L"countries_of_one_name.brsc");
        WriteFixture(L"countries_of_one_name.brsc", bytes.String());
        EXPECT_EQ(IsCatalogueFile(path), c.firstHasChannel);

        KV::DataKey loaded;
        ASSERT_TRUE(loaded.Load(path));
        EXPECT_EQ(loaded.GetKey("de")->GetKeyCount() > 0, c.firstHasChannel);
    }
}

// A file larger than any catalogue and than the memory a 32-bit program can
// take in one block (a broken download, say) is no catalogue: refused before
// it is read, not the end of the program.
TEST_F(CatalogueTest, AFileTooLargeForMemoryIsUnreadable)
{
    const std::wstring path = FixturePath(L"too_large.brsc");
    {
        HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        ASSERT_NE(file, INVALID_HANDLE_VALUE);
        LARGE_INTEGER size;
        size.QuadPart = 2600LL * 1024 * 1024; // sparse: takes no disk space
        const bool sized = SetFilePointerEx(file, size, nullptr, FILE_BEGIN) && SetEndOfFile(file);
        CloseHandle(file);
        ASSERT_TRUE(sized);
    }
    EXPECT_FALSE(IsCatalogueFile(path));
    {
        CChannelList list(Fixture(L"too_large.brsc"));
        EXPECT_TRUE(list.GetCountries().empty());
        EXPECT_EQ(list.GetCategories().size(), CChannelList::CategoryCount);
    }
    DeleteFileW(path.c_str());
}

TEST(CatalogueScramble, IsItsOwnInverse)
{
    std::string bytes = "KVDT and some more bytes, 29";
    const std::string plain = bytes;
    ScrambleCatalogue(reinterpret_cast<uint8_t*>(&bytes[0]), static_cast<uint32_t>(bytes.size()));
    EXPECT_NE(bytes, plain);
    ScrambleCatalogue(reinterpret_cast<uint8_t*>(&bytes[0]), static_cast<uint32_t>(bytes.size()));
    EXPECT_EQ(bytes, plain);
    ScrambleCatalogue(nullptr, 10);
}

// Files scrambled by earlier versions and by the catalogue server must read:
// the keystream is checked against its definition, word by word, through
// every byte of the word number and into a partial last word.
TEST(CatalogueScramble, KeystreamWordsAreTheCrcOfTheSeedAndTheirNumber)
{
    const char seedText[] = "Brisvane channel catalogue";
    const uint32_t seed = KV::Crc32(seedText, sizeof(seedText) - 1);
    const uint32_t words = (1u << 24) + 2;
    std::vector<uint8_t> bytes(words * 4 - 1, 0);
    ScrambleCatalogue(bytes.data(), static_cast<uint32_t>(bytes.size()));
    const auto expected = [seed](uint32_t n) {
        const uint32_t input[2] = {seed, n};
        return KV::Crc32(input, sizeof(input));
    };
    for (uint32_t n = 0; n < words; n = n < 1000 ? n + 1 : n * 3 + 7) {
        const uint32_t word = expected(n);
        for (uint32_t i = 0; i < 4 && n * 4 + i < bytes.size(); ++i)
            ASSERT_EQ(bytes[n * 4 + i], static_cast<uint8_t>(word >> (8 * i))) << "word " << n << " byte " << i;
    }
    for (uint32_t n = words - 3; n < words; ++n)
        for (uint32_t i = 0; i < 4 && n * 4 + i < bytes.size(); ++i)
            ASSERT_EQ(bytes[n * 4 + i], static_cast<uint8_t>(expected(n) >> (8 * i))) << "word " << n;
}

} // namespace
