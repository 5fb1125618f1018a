#pragma once
// A page of a wizard frame: a child dialog with its language item, header
// texts, the state of the frame's three buttons and the control to focus.
// Subclasses chain their message maps to this one.

#include "framework/Dialog.h"
#include "wizards/common/WizardVariant.h"

#include <string>

// One of the frame's buttons while a page is shown; caption is a control id
// whose text is GetControlText(caption).
struct PageButton {
    bool show;
    bool enable;
    int caption;
};

class CBasePage : public CDialogImpl<CBasePage> {
public:
    CBasePage(WizardVariant variant, int dialogId, const std::string& key, bool header);
    ~CBasePage() override;

    MESSAGE_MAP_BEGIN(CBasePage)
    MESSAGE_MAP_END()

    // Title := text of the page's item, description := its desc, and the
    // item's control texts on the page's children.
    virtual void ApplyTexts();
    // May the page be left forwards?
    virtual bool OnKillActive();
    // Each time the page is shown; true when it set the focus itself.
    virtual bool OnSetActive();

    // Creates the (hidden, disabled) page dialog as a child of frame.
    HWND CreatePage(HWND frame);

    WizardVariant GetVariant() const { return m_variant; }
    int GetDialogId() const { return m_dialogId; }
    const std::string& GetKey() const { return m_key; }
    void SetKey(const std::string& key) { m_key = key; }
    const std::wstring& GetTitle() const { return m_title; }
    const std::wstring& GetDescription() const { return m_description; }
    bool HasHeader() const { return m_header; }
    const PageButton& GetBack() const { return m_back; }
    const PageButton& GetNext() const { return m_next; }
    const PageButton& GetCancel() const { return m_cancel; }
    int GetIndex() const { return m_index; }
    void SetIndex(int index) { m_index = index; }
    int GetFocusId() const { return m_focusId; }

protected:
    // The language item of the page's texts (the setup adds its uninstall
    // suffix).
    virtual std::string GetTextKey() const { return m_key; }
    // The frame the page lives in.
    HWND GetFrame() const { return ::GetParent(m_hWnd); }

    void SetButtons(const PageButton& back, const PageButton& next, const PageButton& cancel)
    {
        m_back = back;
        m_next = next;
        m_cancel = cancel;
    }
    void SetFocusId(int id) { m_focusId = id; }

private:
    WizardVariant m_variant;
    int m_dialogId;
    std::string m_key;
    std::wstring m_title;
    std::wstring m_description;
    bool m_header;
    PageButton m_back{true, true, 0};
    PageButton m_next{true, true, 0};
    PageButton m_cancel{true, true, 0};
    int m_index = -1;
    int m_focusId;
};
