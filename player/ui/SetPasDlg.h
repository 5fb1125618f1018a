#pragma once
// CSetPasDlg: asks for a new parental password twice. It ends with IDOK only
// when the password has at least four characters and both fields match
// exactly (case included); otherwise it tells why and stays open. After
// IDOK the caller reads the password with GetPassword.

#include "player/resources/Resource.h"
#include "player/ui/PasswordDlgImpl.h"

#include <string>

class CSetPasDlg : public CPasswordDlgImpl<CSetPasDlg> {
public:
    enum { IDD = IDD_SET_PASSWORD };

    // Fewer characters than this are refused.
    static constexpr size_t MinimumLength = 4;

    // The accepted password; empty until the dialog ended with IDOK.
    const std::wstring& GetPassword() const { return m_password; }

private:
    friend class CPasswordDlgImpl<CSetPasDlg>;
    void Prepare() { m_password.clear(); }
    LRESULT OnOk(WindowMessage& msg);

    std::wstring m_password;
};
