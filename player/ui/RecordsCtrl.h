// CRecordsCtrl: the records page of the channel panel's tab strip. A child
// dialog holding the records list (CRecordListBox), which fills it; the
// commands of the list's popup menu and a double click act on the selected
// record: play the recording or its channel (asked of the main window, the
// page's grandparent), stop a recording, change a scheduled record in the
// record dialog, show the file in the folder, delete the record.
//
// The channel panel creates it and shows the number of records on its
// records tab:
//   m_recordsPage.Create(m_hWnd, &rect);
//   m_recordsPage.SetCountListener([this](int n) { m_tab.SetCount(RecordsTab, n); });
// and the records manager is built over the page's list:
//   new CRecordManager(m_recordsPage.GetListBox());
#pragma once

#include "framework/MessageLoop.h"
#include "player/resources/Resource.h"
#include "player/ui/RecordsListBox.h"
#include "player/ui/SkinnedPanelImpl.h"

#include <functional>
#include <string>
#include <utility>

class CRecord;

class CRecordsCtrl : public CSkinnedPanelImpl<CRecordsCtrl>, public CMessageFilter {
public:
    enum { IDD = IDD_RECORDS };

    // How "show in folder" runs the shell (ShellExecuteW without an owner
    // and folder unless replaced).
    using ShellRunner =
        std::function<void(const wchar_t* operation, const wchar_t* file, const std::wstring& parameters, int show)>;
    static void SetShellRunner(ShellRunner runner);
    // The explorer's parameters that select path in its folder.
    static std::wstring MakeSelectParameters(const std::wstring& path);

    // Creates the page as a hidden child of parent, at rect (parent client
    // coordinates) when given.
    HWND Create(HWND parent, const RECT* rect = nullptr);

    CRecordListBox& GetListBox() { return m_list; }
    void SetCountListener(std::function<void(int count)> listener) { m_list.SetCountListener(std::move(listener)); }
    // The selected record, or null.
    CRecord* GetSelectedRecord() const { return m_list.GetSelectedRecord(); }

    BOOL PreTranslateMessage(MSG* msg) override;

    MESSAGE_MAP_BEGIN(CRecordsCtrl)
        ON_MESSAGE(WM_INITDIALOG, OnInitDialog)
        ON_MESSAGE(WM_SIZE, OnSize)
        CHAIN_MESSAGE_MAP(CSkinnedPanelImpl<CRecordsCtrl>)
        ON_COMMAND_CODE(IDC_RECORD_LIST, LBN_DBLCLK, OnPlay)
        REFLECT_NOTIFICATIONS()
        ON_COMMAND(ID_RECORD_PLAY, OnPlay)
        ON_COMMAND(ID_RECORD_PLAY_CHANNEL, OnPlayChannel)
        ON_COMMAND(ID_RECORD_STOP, OnStop)
        ON_COMMAND(ID_RECORD_PROPERTIES, OnProperties)
        ON_COMMAND(ID_RECORD_OPEN_FOLDER, OnOpenFolder)
        ON_COMMAND(ID_RECORD_DELETE, OnDelete)
    MESSAGE_MAP_END()

private:
    LRESULT OnInitDialog(WindowMessage& msg);
    LRESULT OnSize(WindowMessage& msg);
    LRESULT OnPlay(WindowMessage& msg);
    LRESULT OnPlayChannel(WindowMessage& msg);
    LRESULT OnStop(WindowMessage& msg);
    LRESULT OnProperties(WindowMessage& msg);
    LRESULT OnOpenFolder(WindowMessage& msg);
    LRESULT OnDelete(WindowMessage& msg);

    // The selected record when it offers the command now, else null.
    CRecord* SelectedFor(UINT command) const;
    HWND MainWindow() const;

    CRecordListBox m_list;
};
