// Macros, settings texts and the wizards' language module.

#include "WizardTestSupport.h"

#include "foundation/DataKey.h"
#include "wizards/common/LanguageChoice.h"
#include "wizards/common/MacroTable.h"
#include "wizards/common/ProductRegistry.h"
#include "wizards/common/ProductSettings.h"
#include "wizards/common/WizardDataFiles.h"
#include "wizards/common/WizardLanguages.h"

#include <gtest/gtest.h>

namespace {

// A pack with one item "greet" per language and a macro item "#who#".
std::unique_ptr<KV::DataKey> MakePack(const std::vector<std::pair<std::wstring, std::wstring>>& languages,
                                      const std::string& rootName = "lang_doc_1.0")
{
    auto pack = std::make_unique<KV::DataKey>(rootName);
    int index = 0;
    for (const auto& language : languages) {
        KV::DataKey* node = pack->AddKey("lang_" + std::to_string(index++));
        node->SetStringW("language", language.first);
        node->SetStringW("ext", language.second);
        node->AddKey("greet")->SetStringW("text", L"Hello #who# (" + language.second + L")");
        node->AddKey("#who#")->SetStringW("text", L"#title# fans");
        node->AddKey("101")->SetStringW("text", L"Next " + language.second);
    }
    return pack;
}

class LanguageTest : public testing::Test {
protected:
    void SetUp() override
    {
        ResetWizardState();
        DeleteTestKeys();
        m_hadSystemLanguage = ReadRegString(InternationalKey, L"sLanguage", m_systemLanguage);
    }
    void TearDown() override
    {
        if (m_hadSystemLanguage)
            WriteRegString(InternationalKey, L"sLanguage", m_systemLanguage);
        DeleteTestKeys();
        ResetWizardState();
    }
    // Settings with the test product key and a langs map.
    void UseSettings()
    {
        auto settings = std::make_unique<KV::DataKey>();
        KV::DataKey* product = settings->AddKey("reg")->AddKey("reg");
        product->SetUInt("root", 1);
        product->SetStringW("key", TestProductKey);
        settings->AddKey("langs")->SetStringW("RUS", L"ru");
        settings->AddKey("zones")->SetStringW("ru", L"ru");
        settings->AddKey("macros")->SetStringW("#title#", L"Brisvane");
        SetProductSettings(std::move(settings));
        LoadCommonSettingsLists();
    }

    static constexpr const wchar_t* InternationalKey = L"Control Panel\\International";
    bool m_hadSystemLanguage = false;
    std::wstring m_systemLanguage;
};

} // namespace

TEST(Macros, ExpandInNameOrderInOnePass)
{
    ClearMacros();
    SetMacro(L"#a#", L"[#b#]");
    SetMacro(L"#b#", L"B");
    SetMacro(L"#z#", L"#a#");
    SetMacro(L"#r#", L"#r##r#");
    struct Case {
        const wchar_t* text;
        const wchar_t* expected;
    };
    const Case cases[] = {
        {L"x #a# y", L"x [B] y"},  // a later name inside a text is expanded too
        {L"#z#", L"#a#"},          // an earlier one stays literal
        {L"#b##b#", L"BB"},
        {L"#B# #a", L"#B# #a"},    // case-sensitive, whole names only
        {L"#r#", L"#r##r#"},       // inserted text is not rescanned for the same name
        {L"", L""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.expected, ExpandMacros(c.text)) << c.text;
    SetMacro(L"#b#", L"second");
    EXPECT_EQ(L"[second]", ExpandMacros(L"#a#"));
    ClearMacros();
}

TEST(Macros, SettingTextIsNothingWhenEmptyMissingOrOfAnotherType)
{
    ClearMacros();
    SetMacro(L"#title#", L"Brisvane");
    KV::DataKey node;
    node.SetStringW("n", L"#title#.lnk");
    node.SetStringW("empty", L"");
    node.SetStringA("narrow", "text");
    EXPECT_EQ(L"Brisvane.lnk", GetSettingText(&node, "n").value_or(L"<none>"));
    EXPECT_FALSE(GetSettingText(&node, "empty"));
    EXPECT_FALSE(GetSettingText(&node, "narrow"));
    EXPECT_FALSE(GetSettingText(&node, "missing"));
    EXPECT_FALSE(GetSettingText(nullptr, "n"));
    ClearMacros();
}

TEST_F(LanguageTest, PacksLoadUntilTheFirstGapOrEmptyLanguage)
{
    auto gap = MakePack({{L"English", L"en"}});
    KV::DataKey* third = gap->AddKey("lang_2");
    third->SetStringW("language", L"Deutsch");
    third->SetStringW("ext", L"de");
    EXPECT_EQ(1, LoadLanguages(gap.get()));

    EXPECT_EQ(2, LoadLanguages(MakePack({{L"English", L"en"}, {L"Русский", L"ru"}, {L"", L"xx"}}).get()));
    EXPECT_EQ(L"Русский", GetLanguageName(1));
    EXPECT_EQ(0, LoadLanguages(MakePack({{L"English", L"en"}}, "lang_doc_2.0").get()));
    EXPECT_EQ(0, LoadLanguages(nullptr));
    // Nothing current: every look-up is empty.
    EXPECT_EQ(L"", GetLanguageText("greet"));
}

TEST_F(LanguageTest, SelectionSetsLanguageMacrosAndLookUpsExpand)
{
    UseSettings();
    LoadLanguages(MakePack({{L"English", L"en"}, {L"Русский", L"ru"}, {L"English again", L"en"}}).get());
    EXPECT_EQ(-1, GetCurrentLanguageIndex());
    EXPECT_EQ(1, SelectLanguage(L"ru"));
    EXPECT_EQ(L"ru", GetMacro(L"#lang#"));
    EXPECT_EQ(L"ru", GetMacro(L"#zone#"));
    EXPECT_EQ(-1, SelectLanguage(L"de"));
    EXPECT_EQ(1, GetCurrentLanguageIndex());
    EXPECT_EQ(0, SelectLanguage(L"en"));  // the first of two with that ext
    EXPECT_EQ(L"com", GetMacro(L"#zone#"));

    // Item macros come in once, unexpanded; look-ups expand them.
    EXPECT_EQ(L"Hello #who# (en)", GetLanguageText("greet"));
    AddLanguageMacros();
    EXPECT_EQ(L"#title# fans", GetMacro(L"#who#"));
    // "#title#" comes before "#who#" in name order: what #who# inserts keeps it.
    EXPECT_EQ(L"Hello #title# fans (en)", GetLanguageText("greet"));
    EXPECT_EQ(L"Next en", GetControlText(101));
    EXPECT_EQ(L"", GetLanguageText("missing"));
    EXPECT_EQ(L"", GetLanguageDesc("greet"));

    SelectLanguageByIndex(1);
    EXPECT_EQ(L"ru", GetCurrentLanguageExt());
    SelectLanguageByIndex(7);
    EXPECT_EQ(L"ru", GetCurrentLanguageExt());
}

TEST_F(LanguageTest, StartUpLanguageFromRegistryElseSystemElseEnglish)
{
    UseSettings();
    LoadLanguages(MakePack({{L"English", L"en"}, {L"Русский", L"ru"}}).get());
    struct Case {
        const wchar_t* system;
        const wchar_t* stored;
        const wchar_t* expected;
    };
    const Case cases[] = {
        {L"RUS", nullptr, L"ru"},
        {L"ENU", nullptr, L"en"},   // not in langs
        {L"RUS", L"de", L"ru"},     // a stored ext that is not loaded keeps the system's
        {L"ENU", L"de", L"en"},
        {L"ENU", L"ru", L"ru"},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(WriteRegString(InternationalKey, L"sLanguage", c.system));
        DeleteTestKeys();
        if (c.stored) {
            ASSERT_TRUE(WriteRegString(TestProductKey, L"Language", c.stored));
        }
        SelectLanguage(c.stored && std::wstring(c.stored) == L"ru" ? L"en" : L"ru");  // something else first
        InitLanguage(ProductKeyAccess);
        EXPECT_EQ(c.expected, GetCurrentLanguageExt()) << c.system << " " << (c.stored ? c.stored : L"-");
    }
    ASSERT_TRUE(WriteRegString(InternationalKey, L"sLanguage", L"RUS"));
    EXPECT_EQ(L"ru", LookupLanguageCode(L"RUS").value_or(L""));
    EXPECT_FALSE(LookupLanguageCode(L"rus"));
}

TEST_F(LanguageTest, ShippedPackHasBothLanguagesWithTheSameItems)
{
    std::unique_ptr<KV::DataKey> pack = LoadDataTreeFile(FixturePath(L"..\\..\\wizards\\data\\lng.lngp"));
    ASSERT_TRUE(pack);
    ASSERT_EQ(2, LoadLanguages(pack.get()));
    EXPECT_EQ(L"en", GetLanguageExt(0));
    EXPECT_EQ(L"ru", GetLanguageExt(1));
    const KV::DataKey* english = pack->GetKey("lang_0");
    const KV::DataKey* russian = pack->GetKey("lang_1");
    for (const auto& item : english->GetKeys()) {
        const KV::DataKey* other = russian->GetKey(item.first);
        ASSERT_TRUE(other) << item.first;
        for (const auto& field : item.second->GetValues())
            EXPECT_FALSE(other->GetStringW(field.first, L"").empty()) << item.first << "." << field.first;
    }
    SetMacro(L"#title#", L"Brisvane");
    SelectLanguage(L"en");
    EXPECT_EQ(L"#title# is running. \r\nPlease close it to continue.", pack->GetKey("lang_0")->GetKey("msgRunning")->GetStringW("text", L""));
    EXPECT_EQ(L"Brisvane is running. \r\nPlease close it to continue.", GetLanguageText("msgRunning"));
}
