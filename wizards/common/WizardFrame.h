#pragma once
// The frame of the wizard programs: a modeless dialog holding an ordered
// list of pages, the header strip, two etched lines and the buttons Back,
// Next and Cancel. It shows one page at a time and sets the buttons from it.
// Each program's frame derives from it and supplies its start and its
// navigation; the layout, page switching and language refresh are shared.

#include "framework/Dialog.h"
#include "framework/MessageLoop.h"
#include "wizards/common/BasePage.h"
#include "wizards/common/FrameResource.h"
#include "wizards/common/WizardVariant.h"

#include <memory>
#include <vector>

class CHeaderDlg;

// Private message: re-apply every page's texts (also the updaters' tray
// icon callback).
constexpr UINT WM_APPLY_LANGUAGE = WM_USER + 1;

class CWizardFrame : public CDialogImpl<CWizardFrame>, public CMessageFilter {
public:
    enum { IDD = IDD_WIZARD_FRAME };

    // Header height H and the page offsets A and B of each variant.
    struct LayoutConstants {
        int headerHeight;
        int a;
        int b;
    };
    static LayoutConstants GetLayoutConstants(WizardVariant variant);
    // Height of the button strip below the pages.
    static constexpr int ButtonStripHeight = 48;

    explicit CWizardFrame(WizardVariant variant);
    ~CWizardFrame() override;

    MESSAGE_MAP_BEGIN(CWizardFrame)
        ON_MESSAGE(WM_INITDIALOG, HandleInitDialog)
        ON_MESSAGE(WM_DESTROY, HandleDestroy)
        ON_MESSAGE(WM_PAINT, HandlePaint)
        ON_COMMAND(IDOK, HandleNext)
        ON_COMMAND(IDCANCEL, HandleCancel)
        ON_COMMAND(IDC_WIZARD_BACK, HandleBack)
        ON_MESSAGE(WM_APPLY_LANGUAGE, HandleApplyLanguage)
    MESSAGE_MAP_END()

    BOOL PreTranslateMessage(MSG* msg) override;

    // The page's index becomes the current count; its dialog is created as
    // a child of the frame (a failure leaves it without a window). The frame
    // owns it from now on.
    void AddPage(CBasePage* page);
    void SetActivePage(int index);
    // Places header, lines and pages once for the frame's client size.
    void Layout();
    // Destroys the frame and ends the message loop with code.
    void Close(int code);

    int GetPageCount() const { return static_cast<int>(m_pages.size()); }
    // -1 before the first SetActivePage.
    int GetCurrentIndex() const;
    CBasePage* GetPage(int index) const;
    CBasePage* GetCurrentPage() const { return m_current; }
    CHeaderDlg* GetHeader() const { return m_header.get(); }
    WizardVariant GetVariant() const { return m_variant; }
    HICON GetSmallIcon() const { return m_smallIcon; }

    // Every page's ApplyTexts, then the header from the current page.
    void OnApplyLanguage();

protected:
    // The variant's WM_INITDIALOG; the result is the message's.
    virtual BOOL OnInitDialog() = 0;
    virtual void OnNext() = 0;
    virtual void OnBack() = 0;
    virtual void OnCancel() = 0;
    // WM_DESTROY: by default the filter goes and the pages and the header
    // are destroyed.
    virtual void OnDestroy();

    // Steps the variants' starts share.
    void CenterOnOwner();
    void SetFrameIcons();
    void RegisterMessageFilter();
    void UnregisterMessageFilter();
    // The header dialog, no current page, etched lines.
    void CreateHeaderAndLines();
    // Layout, every page's texts, the first page.
    void ShowFirstPage();
    void DestroyPagesAndHeader();

private:
    LRESULT HandleInitDialog(WindowMessage& msg);
    LRESULT HandleDestroy(WindowMessage& msg);
    LRESULT HandlePaint(WindowMessage& msg);
    LRESULT HandleNext(WindowMessage& msg);
    LRESULT HandleCancel(WindowMessage& msg);
    LRESULT HandleBack(WindowMessage& msg);
    LRESULT HandleApplyLanguage(WindowMessage& msg);

    void SetButton(int id, const PageButton& button);

    WizardVariant m_variant;
    // A page may close the frame from one of its own handlers (the
    // updaters' hidden endings): pages and header are let go through
    // CWindowObjectPtr, which deletes them only once no handler of theirs
    // runs.
    std::vector<CWindowObjectPtr<CBasePage>> m_pages;
    CBasePage* m_current = nullptr;
    CWindowObjectPtr<CHeaderDlg> m_header;
    HICON m_smallIcon = nullptr;
    CMessageLoop* m_filterLoop = nullptr;
};
