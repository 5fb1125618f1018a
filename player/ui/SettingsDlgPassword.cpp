#include "player/ui/SettingsDlgPassword.h"

#include "foundation/Skin.h"
#include "player/app/Settings.h"
#include "player/ui/SetPasDlg.h"
#include "player/ui/TypePasDlg.h"

namespace {

const char LockSetting[] = "use_password";
const char PasswordSetting[] = "pass";

}  // namespace

LRESULT CPasswordDlg::OnInitDialog(WindowMessage&)
{
    m_proved = false;
    m_password = CSettings::GetString(PasswordSetting, std::wstring());
    m_lock.SubclassWindow(GetDlgItem(IDC_USE_PASSWORD));
    m_lock.SetCheck(CSettings::GetBool(LockSetting, false));
    m_change.SubclassWindow(GetDlgItem(IDC_CHANGE_PASSWORD));
    return TRUE;
}

LRESULT CPasswordDlg::OnColorDialog(WindowMessage& msg)
{
    // The settings dialog's background shows through.
    ::SetBkMode(reinterpret_cast<HDC>(msg.wParam), TRANSPARENT);
    return reinterpret_cast<LRESULT>(::GetStockObject(NULL_BRUSH));
}

LRESULT CPasswordDlg::OnColorStatic(WindowMessage&)
{
    return reinterpret_cast<LRESULT>(KV::Skin::GetBkBrush());
}

LRESULT CPasswordDlg::OnColorButton(WindowMessage& msg)
{
    // No brush of its own: the button draws itself.
    ::SetBkMode(reinterpret_cast<HDC>(msg.wParam), TRANSPARENT);
    return 0;
}

bool CPasswordDlg::AskCurrentPassword()
{
    CTypePasDlg question(m_password);
    // Only a correct answer proves: a dialog that could not run proves
    // nothing either.
    if (question.DoModal(::GetActiveWindow()) != IDOK)
        return false;
    m_proved = true;
    return true;
}

void CPasswordDlg::ChangePassword()
{
    if (!m_password.empty() && !m_proved && !AskCurrentPassword())
        return;
    CSetPasDlg newPassword;
    if (newPassword.DoModal(::GetActiveWindow()) != IDOK)
        return;
    m_password = newPassword.GetPassword();
    m_proved = true;
}

LRESULT CPasswordDlg::OnLockClicked(WindowMessage&)
{
    if (m_lock.GetCheck()) {
        // Turning the lock off.
        if (!m_proved && !AskCurrentPassword())
            return 0;
    } else if (m_password.empty()) {
        // Turning the lock on needs a password to lock with.
        ChangePassword();
        if (m_password.empty())
            return 0;
    }
    m_lock.SetCheck(!m_lock.GetCheck());
    return 0;
}

LRESULT CPasswordDlg::OnLockOther(WindowMessage&)
{
    return 0;
}

LRESULT CPasswordDlg::OnChangePasswordClicked(WindowMessage&)
{
    ChangePassword();
    return 0;
}

LRESULT CPasswordDlg::OnOk(WindowMessage&)
{
    CSettings::SetBool(LockSetting, m_lock.GetCheck());
    CSettings::SetString(PasswordSetting, m_password);
    return 0;
}
