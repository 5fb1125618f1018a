// The parental lock page: which user actions ask for the current or a new
// password, once per opening, and what OK saves.
#include "player/app/Settings.h"
#include "player/ui/SettingsDlg.h"
#include "tests/settingsdlg/SettingsTestSupport.h"

namespace {

using namespace SettingsTest;
using PasswordPageTest = DialogTest;

void SetLock(bool on, const wchar_t* password)
{
    CSettings::SetBool("use_password", on);
    CSettings::SetString("pass", password);
}

bool LockSaved()
{
    return CSettings::GetBool("use_password", false);
}

std::wstring PasswordSaved()
{
    return CSettings::GetString("pass", L"unset");
}

ScriptStep OnPasswordPage(std::function<void(HWND)> action)
{
    return Step(DialogKind::Settings, std::move(action));
}

ScriptStep ShowPasswordPage()
{
    return OnPasswordPage([](HWND dialog) { ClickTab(dialog, CSettingsDlg::PasswordPage); });
}

ScriptStep ClickLock()
{
    return OnPasswordPage([](HWND dialog) { Click(dialog, IDC_USE_PASSWORD); });
}

ScriptStep ClickChangePassword()
{
    return OnPasswordPage([](HWND dialog) { Click(dialog, IDC_CHANGE_PASSWORD); });
}

ScriptStep CloseSettings(int button)
{
    return OnPasswordPage([button](HWND dialog) { Click(dialog, button); });
}

struct LockOnCase {
    const char* what;
    ScriptStep answer;
    bool expectLock;
    const wchar_t* expectPassword;
};

TEST_F(PasswordPageTest, TurningTheLockOnWithoutAPasswordFirstAsksForOne)
{
    const LockOnCase cases[] = {
        {"cancelled", CancelDialog(DialogKind::SetPassword), false, L""},
        {"set", NewPassword(L"abcd", L"abcd"), true, L"abcd"},
    };
    for (const LockOnCase& c : cases) {
        SCOPED_TRACE(c.what);
        SetLock(false, L"");
        CSettingsDlg settings;
        RunScripted(settings, {ShowPasswordPage(), ClickLock(), c.answer, CloseSettings(IDOK)});
        EXPECT_EQ(c.expectLock, LockSaved());
        EXPECT_EQ(c.expectPassword, PasswordSaved());
    }
}

TEST_F(PasswordPageTest, TurningTheLockOffAsksForThePasswordOncePerOpening)
{
    SetLock(true, L"Secret");
    CSettingsDlg settings;
    RunScripted(settings, {
        ShowPasswordPage(),
        ClickLock(),
        // Cancelling keeps the lock.
        CancelDialog(DialogKind::TypePassword),
        OnPasswordPage([&](HWND dialog) {
            EXPECT_FALSE(dynamic_cast<CPasswordDlg*>(CWindowImplRoot::FromHandle(
                             settings.GetPages()[CSettingsDlg::PasswordPage]))->IsProved());
            Click(dialog, IDC_USE_PASSWORD);
        }),
        // The comparison is exact: another case is wrong, and the question
        // stays until the right answer.
        CurrentPassword(L"secret"),
        Message("msg_wrong_password"),
        CurrentPassword(L"Secret"),
        // Proved: on, off and a new password ask nothing more.
        ClickLock(),
        ClickLock(),
        ClickChangePassword(),
        NewPassword(L"n3w pass", L"n3w pass"),
        CloseSettings(IDOK),
    });
    EXPECT_FALSE(LockSaved());
    EXPECT_EQ(L"n3w pass", PasswordSaved());

    // A new opening asks again.
    SetLock(true, L"n3w pass");
    CSettingsDlg again;
    RunScripted(again, {ShowPasswordPage(), ClickLock(), CancelDialog(DialogKind::TypePassword), CloseSettings(IDOK)});
    EXPECT_TRUE(LockSaved());
    EXPECT_EQ(L"n3w pass", PasswordSaved());
}

TEST_F(PasswordPageTest, TurningTheLockOnWithAPasswordAsksNothing)
{
    SetLock(false, L"abcd");
    CSettingsDlg settings;
    RunScripted(settings, {ShowPasswordPage(), ClickLock(), CloseSettings(IDOK)});
    EXPECT_TRUE(LockSaved());
    EXPECT_EQ(L"abcd", PasswordSaved());
}

TEST_F(PasswordPageTest, ChangingAPasswordFirstAsksForTheCurrentOne)
{
    SetLock(false, L"abcd");
    CSettingsDlg settings;
    RunScripted(settings, {
        ShowPasswordPage(),
        ClickChangePassword(),
        CancelDialog(DialogKind::TypePassword),
        ClickChangePassword(),
        CurrentPassword(L"abcd"),
        // Giving up on the new one keeps the old, but the user has proved.
        CancelDialog(DialogKind::SetPassword),
        ClickChangePassword(),
        NewPassword(L"wxyz", L"wxyz"),
        CloseSettings(IDOK),
    });
    EXPECT_FALSE(LockSaved());
    EXPECT_EQ(L"wxyz", PasswordSaved());
}

}  // namespace
