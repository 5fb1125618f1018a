// The shipped language pack, read through the player's language module:
// every text id that the player's code and resources use, that the expected
// list names, and that the catalogue's countries and categories need has a
// text in every language of the pack.
#include "foundation/DataKey.h"
#include "foundation/Lang.h"
#include "player/catalogue/ChannelList.h"
#include "tests/data/DataPaths.h"
#include "tests/data/ShippedData.h"
#include "tests/data/TextIdScanner.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

// Each id with where it is asked for (the first place).
using IdUses = std::map<std::string, std::string>;

std::string Narrow(const std::wstring& text)
{
    std::string narrow;
    for (wchar_t c : text)
        narrow += c < 0x80 ? static_cast<char>(c) : '?';
    return narrow;
}

void AddExpectedIds(IdUses& ids)
{
    const std::wstring path = DataPaths::Source("data/lang/expected-ids.txt");
    std::string text;
    ASSERT_TRUE(DataPaths::ReadFile(path, text)) << Narrow(path);
    std::istringstream lines(text);
    std::string line;
    size_t count = 0;
    while (std::getline(lines, line)) {
        const size_t hash = line.find('#');
        if (hash != std::string::npos)
            line.erase(hash);
        while (!line.empty() && (line.back() == ' ' || line.back() == '\r' || line.back() == '\t'))
            line.pop_back();
        if (line.empty())
            continue;
        ids.emplace(line, "data/lang/expected-ids.txt");
        ++count;
    }
    EXPECT_GT(count, 50u);
}

// Names of the skin's images, fonts and colours: some share the ids'
// prefixes ("menu_down", "check_box_0", "tab_0").
std::set<std::string> SkinNames()
{
    std::set<std::string> names;
    for (const wchar_t* file : {L"Resources.kvdt", L"Recres.kvdt"}) {
        KV::DataKey root;
        if (!ShippedData::LoadTree(file, root))
            continue;
        for (const char* part : {"images", "colors"}) {
            if (const KV::DataKey* key = root.GetKey(part)) {
                for (const auto& value : key->GetValues())
                    names.insert(value.first);
            }
        }
        if (const KV::DataKey* fonts = root.GetKey("fonts")) {
            for (const auto& font : fonts->GetKeys())
                names.insert(font.first);
        }
    }
    return names;
}

void AddIdsOfThePlayersSources(IdUses& ids)
{
    const std::set<std::string> skinNames = SkinNames();
    ASSERT_FALSE(skinNames.empty());
    const std::wstring root = DataPaths::Source("player");
    const auto files = DataPaths::ListFiles(root, {L".cpp", L".h", L".rc"});
    ASSERT_FALSE(files.empty()) << "no sources in " << Narrow(root);
    std::set<std::string> found;
    for (const auto& file : files) {
        std::string text;
        ASSERT_TRUE(DataPaths::ReadFile(file, text)) << Narrow(file);
        const bool resource = file.size() > 3 && _wcsicmp(file.c_str() + file.size() - 3, L".rc") == 0;
        for (const auto& id : FindTextIds(text, resource ? SourceKind::Resource : SourceKind::Code)) {
            if (!skinNames.count(id)) {
                ids.emplace(id, Narrow(file.substr(root.size() - 6)));
                found.insert(id);
            }
        }
    }
    // The catalogue's display text asks for "str_kb": a scan that misses it
    // is broken, not clean.
    EXPECT_TRUE(found.count("str_kb")) << "the scan of " << Narrow(root) << " found " << found.size() << " ids";
}

void AddIdsOfTheCatalogue(IdUses& ids)
{
    ShippedData::Catalogue catalogue;
    for (const auto& country : catalogue.List().GetCountries())
        ids.emplace("c_" + country.first, "country of Channels.brsc");
    for (size_t i = 0; i < CChannelList::CategoryCount; ++i)
        ids.emplace(std::string("cat_") + CChannelList::CategoryCodes[i], "category");
}

IdUses AllUsedIds()
{
    IdUses ids;
    AddExpectedIds(ids);
    AddIdsOfThePlayersSources(ids);
    AddIdsOfTheCatalogue(ids);
    return ids;
}

class ShippedLanguages : public testing::TestWithParam<const wchar_t*> {};

TEST_P(ShippedLanguages, HaveATextForEveryIdThePlayerUses)
{
    const IdUses ids = AllUsedIds();
    ShippedData::LoadLanguage(GetParam());
    ASSERT_EQ(KV::Lang::GetCurrentExt(), GetParam());
    std::string missing;
    for (const auto& id : ids) {
        if (KV::Lang::GetText(id.first).empty())
            missing += "\n  " + id.first + " (used in " + id.second + ")";
    }
    EXPECT_TRUE(missing.empty()) << "no text in language " << Narrow(GetParam()) << " for:" << missing;
    KV::Lang::Free();
}

INSTANTIATE_TEST_SUITE_P(, ShippedLanguages, testing::Values(L"en", L"ru"));

TEST(ShippedLanguagePack, HoldsEnglishThenRussian)
{
    ShippedData::LoadLanguage(L"en");
    ASSERT_EQ(KV::Lang::GetCount(), 2);
    EXPECT_EQ(KV::Lang::GetLanguageName(0), L"English");
    EXPECT_EQ(KV::Lang::GetExt(0), L"en");
    EXPECT_EQ(KV::Lang::GetLanguageName(1), L"\x0420\x0443\x0441\x0441\x043A\x0438\x0439");
    EXPECT_EQ(KV::Lang::GetExt(1), L"ru");
    KV::Lang::Free();
}

// The texts themselves: formats, counts, and no id in one language only.
TEST(ShippedLanguagePack, TextsAreSafeAndEveryLanguageHasTheSameIds)
{
    KV::DataKey root;
    ASSERT_TRUE(ShippedData::LoadTree(L"Languages.lngp", root));
    EXPECT_EQ(root.GetName(), KV::Lang::PackRootName);
    std::vector<std::set<std::string>> idsByLanguage;
    for (int n = 0;; ++n) {
        const KV::DataKey* language = root.GetKey("lang_" + std::to_string(n));
        if (!language)
            break;
        SCOPED_TRACE("lang_" + std::to_string(n));
        // Not read by the player, but kept true for who reads the file.
        EXPECT_EQ(language->GetUInt("item_count", 0), language->GetKeyCount());
        std::set<std::string> ids;
        for (const auto& item : language->GetKeys()) {
            ids.insert(item.first);
            const std::wstring* text = item.second->GetStringW("text");
            ASSERT_NE(text, nullptr) << item.first;
            EXPECT_FALSE(text->empty()) << item.first;
            // "str_version" is a format with the version as its one %s; any
            // other "%" would be shown as it is or break a format.
            const size_t percent = text->find(L'%');
            if (item.first == "str_version") {
                ASSERT_NE(percent, std::wstring::npos);
                EXPECT_EQ(text->compare(percent, 2, L"%s"), 0);
                EXPECT_EQ(text->find(L'%', percent + 1), std::wstring::npos);
            } else {
                EXPECT_EQ(percent, std::wstring::npos) << item.first;
            }
        }
        idsByLanguage.push_back(ids);
    }
    ASSERT_EQ(idsByLanguage.size(), 2u);
    EXPECT_EQ(root.GetUInt("lang_count", 0), idsByLanguage.size());
    // A language may rename channels ("c_" + a channel's id) beyond the
    // first; any other id must be in all of them.
    ShippedData::Catalogue catalogue;
    for (size_t i = 1; i < idsByLanguage.size(); ++i) {
        for (const auto& id : idsByLanguage[0])
            EXPECT_TRUE(idsByLanguage[i].count(id)) << id << " is missing in language " << i;
        for (const auto& id : idsByLanguage[i]) {
            if (idsByLanguage[0].count(id))
                continue;
            const bool renamesAChannel = id.compare(0, 2, "c_") == 0 && catalogue.List().FindChannel(id.substr(2));
            EXPECT_TRUE(renamesAChannel) << id << " is only in language " << i;
        }
    }
}

} // namespace
