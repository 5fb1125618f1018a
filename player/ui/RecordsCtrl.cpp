#include "player/ui/RecordsCtrl.h"

#include "player/app/Messages.h"
#include "player/recording/Record.h"
#include "player/recording/RecordManager.h"
#include "player/ui/RecordDlg.h"
#include "player/ui/RecordsMenu.h"

#include <shellapi.h>

namespace {

void RunWithShell(const wchar_t* operation, const wchar_t* file, const std::wstring& parameters, int show)
{
    ::ShellExecuteW(nullptr, operation, file, parameters.c_str(), nullptr, show);
}

CRecordsCtrl::ShellRunner& Runner()
{
    static CRecordsCtrl::ShellRunner runner = RunWithShell;
    return runner;
}

} // namespace

void CRecordsCtrl::SetShellRunner(ShellRunner runner)
{
    Runner() = runner ? std::move(runner) : ShellRunner(RunWithShell);
}

std::wstring CRecordsCtrl::MakeSelectParameters(const std::wstring& path)
{
    return L"/select, \"" + path + L"\"";
}

HWND CRecordsCtrl::Create(HWND parent, const RECT* rect)
{
    if (CDialogImpl<CRecordsCtrl>::Create(parent) == nullptr)
        return nullptr;
    if (rect != nullptr)
        SetWindowPos(nullptr, rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    return m_hWnd;
}

BOOL CRecordsCtrl::PreTranslateMessage(MSG* msg)
{
    return m_hWnd != nullptr && ::IsDialogMessageW(m_hWnd, msg);
}

LRESULT CRecordsCtrl::OnInitDialog(WindowMessage&)
{
    m_list.SubclassWindow(GetDlgItem(IDC_RECORD_LIST));
    const RECT client = GetClientRect();
    m_list.SetWindowPos(nullptr, 0, 0, client.right, client.bottom, SWP_NOZORDER);
    return TRUE;
}

LRESULT CRecordsCtrl::OnSize(WindowMessage& msg)
{
    if (m_list.IsWindow())
        m_list.SetWindowPos(nullptr, 0, 0, msg.Width(), msg.Height(), SWP_NOZORDER);
    Invalidate(FALSE);
    return 0;
}

CRecord* CRecordsCtrl::SelectedFor(UINT command) const
{
    CRecord* record = GetSelectedRecord();
    return record != nullptr && RecordsMenu::Offers(*record, command) ? record : nullptr;
}

HWND CRecordsCtrl::MainWindow() const
{
    // The page lies in the channel panel, which lies in the main window.
    return ::GetParent(::GetParent(m_hWnd));
}

LRESULT CRecordsCtrl::OnPlay(WindowMessage&)
{
    if (CRecord* record = SelectedFor(ID_RECORD_PLAY))
        ::SendMessageW(MainWindow(), WM_PLAY_RECORD, 0, reinterpret_cast<LPARAM>(record));
    return 0;
}

LRESULT CRecordsCtrl::OnPlayChannel(WindowMessage&)
{
    if (CRecord* record = SelectedFor(ID_RECORD_PLAY_CHANNEL))
        ::SendMessageW(MainWindow(), WM_PLAY_CHANNEL, 0, reinterpret_cast<LPARAM>(record->GetChannel()));
    return 0;
}

LRESULT CRecordsCtrl::OnStop(WindowMessage&)
{
    if (CRecord* record = SelectedFor(ID_RECORD_STOP))
        record->StopRecording();
    return 0;
}

LRESULT CRecordsCtrl::OnProperties(WindowMessage&)
{
    CRecord* record = SelectedFor(ID_RECORD_PROPERTIES);
    if (record == nullptr)
        return 0;
    CRecordDlg dialog(nullptr, record);
    if (dialog.DoModal(::GetActiveWindow()) != IDOK)
        return 0;
    // The schedule kept ticking while the dialog was open: the record may
    // have started recording, or gone, in the meantime.
    const CRecordManager* manager = CRecordManager::Instance();
    if (manager == nullptr || !manager->Holds(record) || !RecordsMenu::Offers(*record, ID_RECORD_PROPERTIES))
        return 0;
    record->SetProperties(dialog.GetName(), dialog.GetType(), dialog.GetStart(), dialog.GetEnd(),
                          dialog.GetWeekdays());
    return 0;
}

LRESULT CRecordsCtrl::OnOpenFolder(WindowMessage&)
{
    if (const CRecord* record = SelectedFor(ID_RECORD_OPEN_FOLDER))
        Runner()(L"open", L"explorer", MakeSelectParameters(record->GetPath()), SW_SHOWNORMAL);
    return 0;
}

LRESULT CRecordsCtrl::OnDelete(WindowMessage&)
{
    if (CRecord* record = SelectedFor(ID_RECORD_DELETE))
        record->Delete();
    return 0;
}
