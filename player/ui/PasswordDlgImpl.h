#pragma once
// CPasswordDlgImpl<T>: what the player's two password dialogs (CSetPasDlg,
// CTypePasDlg) share: texts from the language pack, skinned OK and Cancel
// buttons, the skin's colours (CSkinnedDialogImpl), centred on the owner,
// and keyboard navigation through the message filter. T brings its
// template (IDD) and OnOk, which decides when the dialog ends with IDOK; it
// may hide Prepare to reset its own state each time the dialog opens.

#include "framework/MessageLoop.h"
#include "foundation/Lang.h"
#include "player/ui/BRSButton.h"
#include "player/ui/SkinnedDialogImpl.h"

template <class T>
class CPasswordDlgImpl : public CSkinnedDialogImpl<T>, public CMessageFilter {
public:
    BOOL PreTranslateMessage(MSG* msg) override
    {
        return this->m_hWnd != nullptr && ::IsDialogMessageW(this->m_hWnd, msg);
    }

    MESSAGE_MAP_BEGIN(CPasswordDlgImpl)
        ON_MESSAGE(WM_INITDIALOG, OnInitDialog)
        CHAIN_MESSAGE_MAP(CSkinnedDialogImpl<T>)
        ON_COMMAND(IDOK, static_cast<T*>(this)->OnOk)
        ON_COMMAND(IDCANCEL, OnCancel)
        REFLECT_NOTIFICATIONS()
    MESSAGE_MAP_END()

protected:
    void Prepare() {}

private:
    LRESULT OnInitDialog(WindowMessage&)
    {
        static_cast<T*>(this)->Prepare();
        KV::Lang::TranslateWindow(this->m_hWnd);
        m_ok.SubclassWindow(this->GetDlgItem(IDOK));
        m_cancel.SubclassWindow(this->GetDlgItem(IDCANCEL));
        this->CenterWindow(this->GetParent());
        return TRUE;
    }
    LRESULT OnCancel(WindowMessage&)
    {
        this->EndDialog(IDCANCEL);
        return 0;
    }

    CBRSButton m_ok;
    CBRSButton m_cancel;
};
