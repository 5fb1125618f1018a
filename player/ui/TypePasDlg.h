#pragma once
// CTypePasDlg: asks for the parental password. It ends with IDOK only once
// the expected password has been typed (exact case); a wrong one is told
// and the user may try again; IDCANCEL gives up.

#include "player/resources/Resource.h"
#include "player/ui/PasswordDlgImpl.h"

#include <string>

class CTypePasDlg : public CPasswordDlgImpl<CTypePasDlg> {
public:
    enum { IDD = IDD_TYPE_PASSWORD };

    explicit CTypePasDlg(const std::wstring& expectedPassword = std::wstring()) : m_expected(expectedPassword) {}

    void SetPassword(const std::wstring& expectedPassword) { m_expected = expectedPassword; }

private:
    friend class CPasswordDlgImpl<CTypePasDlg>;
    LRESULT OnOk(WindowMessage& msg);

    std::wstring m_expected;
};
