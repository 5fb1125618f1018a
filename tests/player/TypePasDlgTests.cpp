// The password question on its own: only the exact password ends it with OK.

#include "foundation/Lang.h"
#include "player/resources/Resource.h"
#include "player/ui/TypePasDlg.h"
#include "tests/player/PlayerTestSupport.h"

#include <gtest/gtest.h>

namespace PlayerTest {
namespace {

TEST(TypePasDlg, TellsAWrongPasswordAndEndsWithOkForTheRightOne)
{
    ModalDriver driver({TypeAndOk(IDC_TYPED_PASSWORD, L"SECRET"), Press(IDOK), TypeAndOk(IDC_TYPED_PASSWORD, L"")
                        , Press(IDOK), TypeAndOk(IDC_TYPED_PASSWORD, L"Secret")});
    CTypePasDlg question(L"Secret");
    EXPECT_EQ(question.DoModal(nullptr), IDOK);
    ASSERT_EQ(driver.Dialogs().size(), 5u);
    EXPECT_EQ(driver.Dialogs()[0].caption, KV::Lang::GetText("dlg_type_pas"));
    EXPECT_NE(driver.Dialogs()[1].caption, driver.Dialogs()[0].caption);
}

TEST(TypePasDlg, CancelGivesUp)
{
    ModalDriver driver({Press(IDCANCEL)});
    CTypePasDlg question(L"Secret");
    EXPECT_EQ(question.DoModal(nullptr), IDCANCEL);
}

TEST(TypePasDlg, TranslatesItsTextsAndHidesTheTypedCharacters)
{
    HWND seen = nullptr;
    std::wstring okText;
    std::wstring cancelText;
    LONG_PTR editStyle = 0;
    ModalDriver driver({[&](HWND dialog) {
        seen = dialog;
        wchar_t text[128] = {};
        ::GetDlgItemTextW(dialog, IDCANCEL, text, 127);
        cancelText = text;
        ::GetDlgItemTextW(dialog, IDOK, text, 127);
        okText = text;
        editStyle = ::GetWindowLongPtrW(::GetDlgItem(dialog, IDC_TYPED_PASSWORD), GWL_STYLE);
        ::PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    }});
    CTypePasDlg question(L"x");
    question.DoModal(nullptr);
    ASSERT_NE(seen, nullptr);
    EXPECT_EQ(cancelText, KV::Lang::GetText("button_cancel"));
    EXPECT_EQ(okText, L"OK");
    EXPECT_NE(editStyle & ES_PASSWORD, 0);
    EXPECT_NE(driver.Dialogs()[0].text.find(KV::Lang::GetText("static_type_pas")), std::wstring::npos);
}

}  // namespace
}  // namespace PlayerTest
