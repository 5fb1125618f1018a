#pragma once
// The white strip across the top of a wizard frame: the page's title (in the
// skin's "header" font) and, in the setup, its description.

#include "framework/Dialog.h"
#include "wizards/common/FrameResource.h"
#include "wizards/common/WizardVariant.h"

#include <string>

class CHeaderDlg : public CDialogImpl<CHeaderDlg> {
public:
    enum { IDD = IDD_WIZARD_HEADER };

    // Width of the setup header's picture slot at the right edge.
    static constexpr int BitmapSlotWidth = 70;

    explicit CHeaderDlg(WizardVariant variant) : m_variant(variant) {}
    ~CHeaderDlg() override;

    MESSAGE_MAP_BEGIN(CHeaderDlg)
        ON_MESSAGE(WM_INITDIALOG, OnInitDialog)
        ON_MESSAGE(WM_SIZE, OnSize)
        ON_MESSAGE(WM_CTLCOLORDLG, OnCtlColorDlg)
        ON_MESSAGE(WM_CTLCOLORSTATIC, OnCtlColorStatic)
    MESSAGE_MAP_END()

    // Setup: title and description; updaters: the title only.
    void SetTexts(const std::wstring& title, const std::wstring& description);

private:
    LRESULT OnInitDialog(WindowMessage& msg);
    LRESULT OnSize(WindowMessage& msg);
    LRESULT OnCtlColorDlg(WindowMessage& msg);
    LRESULT OnCtlColorStatic(WindowMessage& msg);

    WizardVariant m_variant;
};
