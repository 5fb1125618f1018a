// The player's language module against packs built from text, with real
// windows and menus for the translations.

#include "foundation/Lang.h"

#include <gtest/gtest.h>

#include <string>

namespace {

class LangTest : public testing::Test {
protected:
    void SetUp() override { KV::Lang::Free(); }
    void TearDown() override
    {
        KV::Lang::Free();
        KV::Lang::SetWantedLanguageSource(nullptr);
    }

    static void LoadWanting(const wchar_t* pack, const std::wstring& wanted)
    {
        KV::Lang::SetWantedLanguageSource([wanted] { return wanted; });
        KV::Lang::Load(std::wstring(L"fixtures\\") + pack);
    }
};

std::wstring WindowText(HWND window)
{
    wchar_t text[256] = L"";
    GetWindowTextW(window, text, 256);
    return text;
}

std::wstring MenuText(HMENU menu, int position)
{
    wchar_t text[256] = L"";
    GetMenuStringW(menu, static_cast<UINT>(position), text, 256, MF_BYPOSITION);
    return text;
}

// A top-level window holding a static "str_error", a button "OK" and a
// group box "menu_sub" that itself holds a static "menu_play".
struct TestDialog {
    HWND window = nullptr;
    HWND staticText = nullptr;
    HWND button = nullptr;
    HWND group = nullptr;
    HWND nested = nullptr;

    TestDialog()
    {
        window = CreateWindowExW(0, L"STATIC", L"str_error", WS_POPUP, 0, 0, 300, 200, nullptr, nullptr,
                                 GetModuleHandleW(nullptr), nullptr);
        staticText = CreateWindowExW(0, L"STATIC", L"str_error", WS_CHILD, 0, 0, 100, 20, window,
                                     reinterpret_cast<HMENU>(1001), nullptr, nullptr);
        button = CreateWindowExW(0, L"BUTTON", L"OK", WS_CHILD, 0, 30, 100, 20, window,
                                 reinterpret_cast<HMENU>(1002), nullptr, nullptr);
        group = CreateWindowExW(0, L"STATIC", L"menu_sub", WS_CHILD, 0, 60, 200, 100, window,
                                reinterpret_cast<HMENU>(1003), nullptr, nullptr);
        nested = CreateWindowExW(0, L"STATIC", L"menu_play", WS_CHILD, 0, 0, 100, 20, group,
                                 reinterpret_cast<HMENU>(1004), nullptr, nullptr);
    }
    TestDialog(const TestDialog&) = delete;
    TestDialog& operator=(const TestDialog&) = delete;
    ~TestDialog()
    {
        if (window)
            DestroyWindow(window);
    }
};

// A popup menu: "menu_play", "no_such_id", a separator and a submenu
// "menu_sub" holding "menu_play".
struct TestMenu {
    HMENU menu = CreatePopupMenu();
    HMENU submenu = CreatePopupMenu();

    TestMenu()
    {
        AppendMenuW(submenu, MF_STRING, 2001, L"menu_play");
        AppendMenuW(menu, MF_STRING, 1001, L"menu_play");
        AppendMenuW(menu, MF_STRING, 1002, L"no_such_id");
        AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
        AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(submenu), L"menu_sub");
    }
    TestMenu(const TestMenu&) = delete;
    TestMenu& operator=(const TestMenu&) = delete;
    ~TestMenu() { DestroyMenu(menu); }

    bool IsSeparator(int position) const
    {
        MENUITEMINFOW info = {};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_FTYPE;
        return GetMenuItemInfoW(menu, static_cast<UINT>(position), TRUE, &info) && (info.fType & MFT_SEPARATOR);
    }
};

} // namespace

TEST_F(LangTest, LoadsEveryLanguageInFileOrderAndTheFirstMatchIsCurrent)
{
    LoadWanting(L"lang_main.kvdt", L"en");
    ASSERT_EQ(3, KV::Lang::GetCount());
    EXPECT_EQ(L"English", KV::Lang::GetLanguageName(0));
    EXPECT_EQ(L"\u0420\u0443\u0441\u0441\u043a\u0438\u0439", KV::Lang::GetLanguageName(1));
    EXPECT_EQ(L"ru", KV::Lang::GetExt(1));
    EXPECT_EQ(L"", KV::Lang::GetExt(3));
    EXPECT_EQ(L"", KV::Lang::GetLanguageName(-1));
    EXPECT_EQ(1, KV::Lang::FindIndex(L"ru"));
    EXPECT_EQ(0, KV::Lang::FindIndex(L"en"));
    EXPECT_EQ(-1, KV::Lang::FindIndex(L"EN"));

    // Two languages share "en": the first in the file is current.
    EXPECT_EQ(0, KV::Lang::GetCurrentIndex());
    EXPECT_EQ(L"en", KV::Lang::GetCurrentExt());
    EXPECT_EQ(L"Error", KV::Lang::GetText("str_error"));
    EXPECT_EQ(L"Something went wrong", KV::Lang::GetDesc("str_error"));
    EXPECT_EQ(L"Shown", KV::Lang::GetText("typed"));
    EXPECT_EQ(L"", KV::Lang::GetText("Str_Error"));
    EXPECT_EQ(L"", KV::Lang::GetText("missing"));
    EXPECT_EQ(L"", KV::Lang::GetDesc("menu_play"));
    // A "text" stored as a narrow string is not a field.
    EXPECT_EQ(L"", KV::Lang::GetText("narrow_only"));
}

TEST_F(LangTest, WantedCodeChoosesTheLanguage)
{
    LoadWanting(L"lang_main.kvdt", L"ru");
    EXPECT_EQ(1, KV::Lang::GetCurrentIndex());
    EXPECT_EQ(L"\u041e\u0448\u0438\u0431\u043a\u0430", KV::Lang::GetText("str_error"));
    EXPECT_EQ(L"ru", KV::Lang::GetCurrentExt());
}

TEST_F(LangTest, WithoutSourceTheWantedCodeIsEnglish)
{
    KV::Lang::SetWantedLanguageSource(nullptr);
    KV::Lang::Load(L"fixtures\\lang_main.kvdt");
    EXPECT_EQ(L"en", KV::Lang::GetCurrentExt());
}

TEST_F(LangTest, CodeNotInThePackLoadsWithoutCurrentLanguage)
{
    LoadWanting(L"lang_main.kvdt", L"de");
    EXPECT_EQ(3, KV::Lang::GetCount());
    EXPECT_EQ(-1, KV::Lang::GetCurrentIndex());
    EXPECT_EQ(L"", KV::Lang::GetCurrentExt());
    EXPECT_EQ(L"", KV::Lang::GetText("str_error"));
}

TEST_F(LangTest, ReadingStopsAtTheFirstMissingOrIncompleteLanguage)
{
    LoadWanting(L"lang_gap.kvdt", L"ru");
    EXPECT_EQ(1, KV::Lang::GetCount());
    EXPECT_EQ(-1, KV::Lang::FindIndex(L"ru"));

    // lang_1 has an empty "language": English before it stays and is current.
    LoadWanting(L"lang_empty_entry.kvdt", L"en");
    EXPECT_EQ(1, KV::Lang::GetCount());
    EXPECT_EQ(L"Error", KV::Lang::GetText("str_error"));
}

TEST_F(LangTest, MissingFileOrForeignRootLoadsNothing)
{
    LoadWanting(L"missing.lngp", L"en");
    EXPECT_EQ(0, KV::Lang::GetCount());
    EXPECT_EQ(L"", KV::Lang::GetText("str_error"));

    LoadWanting(L"lang_wrong_root.kvdt", L"en");
    EXPECT_EQ(0, KV::Lang::GetCount());
    EXPECT_EQ(L"", KV::Lang::GetCurrentExt());
}

TEST_F(LangTest, FreeForgetsEverythingAndIsHarmlessWithoutLoad)
{
    KV::Lang::Free();
    LoadWanting(L"lang_main.kvdt", L"en");
    KV::Lang::Free();
    EXPECT_EQ(0, KV::Lang::GetCount());
    EXPECT_EQ(L"", KV::Lang::GetText("str_error"));
    EXPECT_EQ(L"", KV::Lang::GetCurrentExt());
    KV::Lang::Free();
}

TEST_F(LangTest, TranslateWindowReplacesIdsAndKeepsOtherTexts)
{
    LoadWanting(L"lang_main.kvdt", L"en");
    TestDialog dialog;
    ASSERT_NE(nullptr, dialog.nested);
    KV::Lang::TranslateWindow(dialog.window);
    EXPECT_EQ(L"Error", WindowText(dialog.window));
    EXPECT_EQ(L"Error", WindowText(dialog.staticText));
    EXPECT_EQ(L"OK", WindowText(dialog.button));
    EXPECT_EQ(L"More", WindowText(dialog.group));
    EXPECT_EQ(L"Play", WindowText(dialog.nested));

    KV::Lang::SetItemText(dialog.window, 1002, "menu_play");
    EXPECT_EQ(L"Play", WindowText(dialog.button));
}

TEST_F(LangTest, TranslateWindowWithoutCurrentLanguageChangesNothing)
{
    LoadWanting(L"lang_main.kvdt", L"de");
    TestDialog dialog;
    KV::Lang::TranslateWindow(dialog.window);
    EXPECT_EQ(L"str_error", WindowText(dialog.staticText));
    EXPECT_EQ(L"menu_play", WindowText(dialog.nested));
}

TEST_F(LangTest, TranslateMenuRewritesEveryItemButNotSubmenuItems)
{
    LoadWanting(L"lang_main.kvdt", L"en");
    TestMenu menu;
    KV::Lang::TranslateMenu(menu.menu);
    ASSERT_EQ(4, GetMenuItemCount(menu.menu));
    EXPECT_EQ(L"Play", MenuText(menu.menu, 0));
    EXPECT_EQ(L"", MenuText(menu.menu, 1));
    EXPECT_TRUE(menu.IsSeparator(2));
    EXPECT_EQ(L"More", MenuText(menu.menu, 3));
    EXPECT_EQ(menu.submenu, GetSubMenu(menu.menu, 3));
    EXPECT_EQ(L"menu_play", MenuText(menu.submenu, 0));
    EXPECT_EQ(1001u, GetMenuItemID(menu.menu, 0));
}

TEST_F(LangTest, TranslateMenuWithoutCurrentLanguageEmptiesTheTexts)
{
    LoadWanting(L"lang_main.kvdt", L"de");
    TestMenu menu;
    KV::Lang::TranslateMenu(menu.menu);
    EXPECT_EQ(L"", MenuText(menu.menu, 0));
    EXPECT_EQ(L"", MenuText(menu.menu, 3));
    EXPECT_TRUE(menu.IsSeparator(2));
}
