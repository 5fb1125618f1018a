// The general page's language list: filled from the loaded language pack,
// a change told at once and saved on OK, the interface left in its language.
#include "foundation/Lang.h"
#include "player/app/Settings.h"
#include "player/ui/SettingsDlg.h"
#include "tests/settingsdlg/SettingsTestSupport.h"

namespace {

using namespace SettingsTest;
using GeneralPageTest = DialogTest;

CComboBox LanguageList(HWND dialog)
{
    return CComboBox(FindControl(dialog, IDC_LANGUAGE));
}

TEST_F(GeneralPageTest, ListsTheLoadedLanguagesAndSelectsTheSavedOne)
{
    ASSERT_GE(KV::Lang::GetCount(), 2);
    CSettings::SetString("Language", KV::Lang::GetExt(1));
    CSettingsDlg settings;
    RunScripted(settings, {Step(DialogKind::Settings, [](HWND dialog) {
        CComboBox list = LanguageList(dialog);
        ASSERT_EQ(KV::Lang::GetCount(), list.GetCount());
        for (int i = 0; i < list.GetCount(); ++i)
            EXPECT_EQ(KV::Lang::GetLanguageName(i), list.GetLBText(i)) << i;
        EXPECT_EQ(1, list.GetCurSel());
        Click(dialog, IDOK);
    })});
    EXPECT_EQ(KV::Lang::GetExt(1), CSettings::GetString("Language", L""));
}

TEST_F(GeneralPageTest, AnotherLanguageIsToldAtOnceAndTakesEffectOnlyAtTheNextStart)
{
    const std::wstring current = KV::Lang::GetCurrentExt();
    ASSERT_EQ(0, KV::Lang::FindIndex(current));
    CSettings::SetString("Language", current);
    CSettingsDlg settings;
    const INT_PTR result = RunScripted(settings, {
        Step(DialogKind::Settings, [](HWND dialog) {
            EXPECT_EQ(0, LanguageList(dialog).GetCurSel());
            // The arrow key moves a closed drop-down list to the next entry.
            UiTest::PostKey(LanguageList(dialog), VK_DOWN);
        }),
        Message("msg_lang_restart"),
        Step(DialogKind::Settings, [](HWND dialog) {
            EXPECT_EQ(1, LanguageList(dialog).GetCurSel());
            // The open dialog keeps the texts of the running language.
            EXPECT_EQ(KV::Lang::GetText("dlg_settings"), CWindow(dialog).GetWindowText());
            Click(dialog, IDOK);
        }),
    });
    EXPECT_EQ(IDOK, result);
    EXPECT_EQ(KV::Lang::GetExt(1), CSettings::GetString("Language", L""));
    EXPECT_EQ(current, KV::Lang::GetCurrentExt());
}

TEST_F(GeneralPageTest, ASavedLanguageThatIsNotLoadedSelectsNothingAndIsKept)
{
    CSettings::SetString("Language", L"xx");
    CSettingsDlg settings;
    RunScripted(settings, {Step(DialogKind::Settings, [](HWND dialog) {
        EXPECT_EQ(CB_ERR, LanguageList(dialog).GetCurSel());
        Click(dialog, IDOK);
    })});
    EXPECT_EQ(L"xx", CSettings::GetString("Language", L""));
}

}  // namespace
