// The new-password dialog on its own: too short, mistyped and accepted
// passwords, tried one after another as a user would.
#include "player/ui/SetPasDlg.h"
#include "tests/settingsdlg/SettingsTestSupport.h"

namespace {

using namespace SettingsTest;
using SetPasDlgTest = DialogTest;

struct Try {
    const wchar_t* first;
    const wchar_t* second;
    const char* refusal;  // the message id, null when accepted
};

struct NewPasswordCase {
    const char* what;
    std::vector<Try> tries;  // the last one accepted, unless cancelled after it
    INT_PTR expectResult;
    const wchar_t* expectPassword;
};

TEST_F(SetPasDlgTest, RefusesShortAndMistypedPasswordsAndStaysOpen)
{
    const NewPasswordCase cases[] = {
        {"four characters", {{L"abcd", L"abcd", nullptr}}, IDOK, L"abcd"},
        {"three characters", {{L"abc", L"abc", "msg_password_length"}}, IDCANCEL, L""},
        {"empty", {{L"", L"", "msg_password_length"}}, IDCANCEL, L""},
        {"length before the retype", {{L"ab", L"xyz", "msg_password_length"}}, IDCANCEL, L""},
        {"retyped differently", {{L"abcd", L"abce", "msg_wrong_retype"}}, IDCANCEL, L""},
        {"retyped in another case", {{L"abcd", L"ABCD", "msg_wrong_retype"}}, IDCANCEL, L""},
        {"retype empty", {{L"abcd", L"", "msg_wrong_retype"}}, IDCANCEL, L""},
        {"spaces and non-Latin letters count",
         {{L"\u043f\u0430\u0440", L"\u043f\u0430\u0440", "msg_password_length"},
          {L" \u043f\u0430\u0440", L" \u043f\u0430\u0440", nullptr}},
         IDOK, L" \u043f\u0430\u0440"},
        {"refused, then accepted",
         {{L"abc", L"abc", "msg_password_length"}, {L"abcd", L"abdc", "msg_wrong_retype"},
          {L"abcd", L"abcd", nullptr}},
         IDOK, L"abcd"},
    };
    for (const NewPasswordCase& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<ScriptStep> steps;
        for (const Try& t : c.tries) {
            steps.push_back(NewPassword(t.first, t.second));
            if (t.refusal != nullptr)
                steps.push_back(Message(t.refusal));
        }
        if (c.expectResult == IDCANCEL)
            steps.push_back(CancelDialog(DialogKind::SetPassword));
        CSetPasDlg dialog;
        EXPECT_EQ(c.expectResult, RunScripted(dialog, std::move(steps)));
        EXPECT_EQ(c.expectPassword, dialog.GetPassword());
    }
}

}  // namespace
