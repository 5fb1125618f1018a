// The wizard frame's shared machinery.

#include "wizards/common/WizardFrame.h"

#include "framework/AppModule.h"
#include "framework/GdiHelpers.h"
#include "wizards/common/HeaderDlg.h"
#include "wizards/common/WizardLanguages.h"

CWizardFrame::LayoutConstants CWizardFrame::GetLayoutConstants(WizardVariant variant)
{
    if (variant == WizardVariant::Setup)
        return LayoutConstants{58, 108, 60};
    return LayoutConstants{25, 75, 27};
}

CWizardFrame::CWizardFrame(WizardVariant variant) : m_variant(variant) {}

CWizardFrame::~CWizardFrame()
{
    UnregisterMessageFilter();
    if (IsWindow())
        DestroyWindow();
}

BOOL CWizardFrame::PreTranslateMessage(MSG* msg)
{
    if (!m_hWnd)
        return FALSE;
    return ::IsDialogMessageW(m_hWnd, msg);
}

void CWizardFrame::AddPage(CBasePage* page)
{
    if (!page)
        return;
    page->SetIndex(GetPageCount());
    page->CreatePage(m_hWnd);
    m_pages.emplace_back(page);
}

int CWizardFrame::GetCurrentIndex() const
{
    return m_current ? m_current->GetIndex() : -1;
}

CBasePage* CWizardFrame::GetPage(int index) const
{
    if (index < 0 || index >= GetPageCount())
        return nullptr;
    return m_pages[static_cast<size_t>(index)].get();
}

void CWizardFrame::SetButton(int id, const PageButton& button)
{
    CWindow control = GetDlgItem(id);
    control.SetWindowText(GetControlText(button.caption).c_str());
    control.EnableWindow(button.enable ? TRUE : FALSE);
    control.ShowWindow(button.show ? SW_SHOW : SW_HIDE);
}

void CWizardFrame::SetActivePage(int index)
{
    CBasePage* page = GetPage(index);
    if (!page)
        return;
    CBasePage* previous = m_current;
    m_current = page;

    if (page->m_hWnd) {
        page->ShowWindow(SW_SHOW);
        page->EnableWindow(TRUE);
    }
    const int headerShow = page->HasHeader() ? SW_SHOW : SW_HIDE;
    if (m_header && m_header->m_hWnd)
        m_header->ShowWindow(headerShow);
    GetDlgItem(IDC_WIZARD_TOP_LINE).ShowWindow(headerShow);

    SetButton(IDOK, page->GetNext());
    SetButton(IDC_WIZARD_BACK, page->GetBack());
    SetButton(IDCANCEL, page->GetCancel());

    if (m_header && m_header->m_hWnd)
        m_header->SetTexts(page->GetTitle(), page->GetDescription());

    if (previous && previous != page && previous->m_hWnd) {
        previous->ShowWindow(SW_HIDE);
        previous->EnableWindow(FALSE);
    }

    if (page->OnSetActive())
        return;
    HWND focus = nullptr;
    if (m_variant == WizardVariant::Setup) {
        CWindow next = GetDlgItem(IDOK);
        focus = next.IsWindowVisible() ? next.m_hWnd : GetDlgItem(IDCANCEL).m_hWnd;
    } else {
        focus = GetDlgItem(page->GetFocusId());
    }
    if (focus)
        SendMessage(WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(focus), TRUE);
}

void CWizardFrame::Layout()
{
    const LayoutConstants constants = GetLayoutConstants(m_variant);
    const RECT client = GetClientRect();
    const int width = client.right - client.left;
    const int height = client.bottom - client.top;

    if (m_header && m_header->m_hWnd)
        m_header->MoveWindow(0, 0, width, constants.headerHeight);
    GetDlgItem(IDC_WIZARD_TOP_LINE).MoveWindow(0, constants.headerHeight, width, 2);

    for (const auto& page : m_pages) {
        if (!page->m_hWnd)
            continue;
        if (page->HasHeader()) {
            const RECT own = page->GetClientRect();
            const int pageWidth = own.right - own.left;
            const int pageHeight = own.bottom - own.top;
            page->SetWindowPos(nullptr, (width - pageWidth) / 2,
                               (height - pageHeight - constants.a) / 2 + constants.b, 0, 0,
                               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        } else {
            page->SetWindowPos(nullptr, 0, 0, width, height - ButtonStripHeight, SWP_NOZORDER | SWP_NOACTIVATE);
        }
    }

    GetDlgItem(IDC_WIZARD_BOTTOM_LINE).MoveWindow(0, height - ButtonStripHeight, width, 2);
}

void CWizardFrame::Close(int code)
{
    DestroyWindow();
    ::PostQuitMessage(code);
}

void CWizardFrame::OnApplyLanguage()
{
    for (const auto& page : m_pages)
        page->ApplyTexts();
    if (m_current && m_header && m_header->m_hWnd)
        m_header->SetTexts(m_current->GetTitle(), m_current->GetDescription());
}

void CWizardFrame::OnDestroy()
{
    UnregisterMessageFilter();
    DestroyPagesAndHeader();
}

void CWizardFrame::CenterOnOwner()
{
    CenterWindow(::GetWindow(m_hWnd, GW_OWNER));
}

void CWizardFrame::SetFrameIcons()
{
    const HINSTANCE resources = FrameworkResourceInstance();
    HICON big = static_cast<HICON>(::LoadImageW(resources, MAKEINTRESOURCEW(IDI_WIZARD), IMAGE_ICON,
                                                ::GetSystemMetrics(SM_CXICON), ::GetSystemMetrics(SM_CYICON),
                                                LR_DEFAULTCOLOR | LR_SHARED));
    m_smallIcon = static_cast<HICON>(::LoadImageW(resources, MAKEINTRESOURCEW(IDI_WIZARD), IMAGE_ICON,
                                                  ::GetSystemMetrics(SM_CXSMICON),
                                                  ::GetSystemMetrics(SM_CYSMICON), LR_DEFAULTCOLOR | LR_SHARED));
    SetIcon(big, TRUE);
    SetIcon(m_smallIcon, FALSE);
}

void CWizardFrame::RegisterMessageFilter()
{
    CMessageLoop* loop = AppModule().GetMessageLoop();
    if (loop && loop->AddMessageFilter(this))
        m_filterLoop = loop;
}

void CWizardFrame::UnregisterMessageFilter()
{
    if (m_filterLoop)
        m_filterLoop->RemoveMessageFilter(this);
    m_filterLoop = nullptr;
}

void CWizardFrame::CreateHeaderAndLines()
{
    m_header.reset(new CHeaderDlg(m_variant));
    m_header->Create(m_hWnd);
    m_current = nullptr;
    GetDlgItem(IDC_WIZARD_BOTTOM_LINE).ModifyStyle(0, SS_ETCHEDHORZ);
    GetDlgItem(IDC_WIZARD_TOP_LINE).ModifyStyle(0, SS_ETCHEDHORZ);
}

void CWizardFrame::ShowFirstPage()
{
    Layout();
    for (const auto& page : m_pages)
        page->ApplyTexts();
    SetActivePage(0);
}

void CWizardFrame::DestroyPagesAndHeader()
{
    m_current = nullptr;
    m_pages.clear();
    m_header.reset();
}

LRESULT CWizardFrame::HandleInitDialog(WindowMessage&)
{
    return OnInitDialog();
}

LRESULT CWizardFrame::HandleDestroy(WindowMessage& msg)
{
    OnDestroy();
    msg.handled = false;
    return 0;
}

LRESULT CWizardFrame::HandlePaint(WindowMessage&)
{
    CPaintDC paint(m_hWnd);
    return 0;
}

LRESULT CWizardFrame::HandleNext(WindowMessage&)
{
    OnNext();
    return 0;
}

LRESULT CWizardFrame::HandleCancel(WindowMessage&)
{
    OnCancel();
    return 0;
}

LRESULT CWizardFrame::HandleBack(WindowMessage&)
{
    OnBack();
    return 0;
}

LRESULT CWizardFrame::HandleApplyLanguage(WindowMessage&)
{
    OnApplyLanguage();
    return 0;
}
