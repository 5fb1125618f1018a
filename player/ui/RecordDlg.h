// CRecordDlg: the record dialog. It asks for a record's name, its type
// (now, once, weekly), its start and end and, for a weekly record, its days,
// either for a new record of a channel (the main window's record command)
// or to change a scheduled record (the records page's properties command).
// It refuses a name another record has, a schedule shorter than a minute
// and a weekly record without a day, and stays open after saying so.
//
//   CRecordDlg dialog(channel, nullptr);
//   if (dialog.DoModal(::GetActiveWindow()) == IDOK)
//       manager.AddRecord(channel, dialog.GetName(), dialog.GetType(), &dialog.GetStart(),
//                         &dialog.GetEnd(), dialog.GetWeekdays());
#pragma once

#include "framework/Controls.h"
#include "framework/Time.h"
#include "player/recording/RecordSchedule.h"
#include "player/resources/Resource.h"
#include "player/ui/BRSButton.h"
#include "player/ui/BRSCheckBox.h"
#include "player/ui/SkinnedDialogImpl.h"

#include <string>

class CChannel;
class CRecord;

class CRecordDlg : public CSkinnedDialogImpl<CRecordDlg> {
public:
    enum { IDD = IDD_RECORD };

    // The pickers' display: time and date, or (weekly) the time alone.
    static const wchar_t DateTimeFormat[];
    static const wchar_t TimeFormat[];

    // channel: a new record's channel (its name, made unique, is proposed);
    // record: the record to change; either may be null. Without a record
    // the type is "now", every day is on and both times are this minute.
    CRecordDlg(CChannel* channel, CRecord* record);

    // IDOK (1) or IDCANCEL (2); -1 when the dialog could not be shown.
    INT_PTR DoModal(HWND owner = ::GetActiveWindow());

    // What the user chose (read after OK).
    const std::wstring& GetName() const { return m_name; }
    // 0 now, 1 once, 2 weekly.
    int GetType() const { return m_type; }
    // A "now" record gets the moment of OK for both.
    const CTime& GetStart() const { return m_start; }
    const CTime& GetEnd() const { return m_end; }
    // Monday first.
    const bool* GetWeekdays() const { return m_weekdays; }

    MESSAGE_MAP_BEGIN(CRecordDlg)
        ON_MESSAGE(WM_INITDIALOG, OnInitDialog)
        CHAIN_MESSAGE_MAP(CSkinnedDialogImpl<CRecordDlg>)
        ON_COMMAND(IDOK, OnOk)
        ON_COMMAND(IDCANCEL, OnCancel)
        ON_COMMAND_CODE(IDC_RECORD_TYPE, CBN_SELCHANGE, OnTypeChange)
        REFLECT_NOTIFICATIONS()
    MESSAGE_MAP_END()

private:
    LRESULT OnInitDialog(WindowMessage& msg);
    LRESULT OnOk(WindowMessage& msg);
    LRESULT OnCancel(WindowMessage& msg);
    LRESULT OnTypeChange(WindowMessage& msg);

    // Enables the pickers and the day boxes and sets the pickers' format
    // for the type.
    void ApplyType(int type);
    CTime ReadPicker(const CWindow& picker) const;

    CBRSButton m_okButton;
    CBRSButton m_cancelButton;
    CComboBox m_typeList;
    CWindow m_startPicker;
    CWindow m_endPicker;
    CChannel* m_channel;
    CRecord* m_record;
    std::wstring m_name;
    int m_type = 0;
    CTime m_start;
    CTime m_end;
    bool m_weekdays[RecordSchedule::WeekdayCount] = {};
    CBRSCheckBox m_dayBoxes[RecordSchedule::WeekdayCount];
    // The changed record's name when the dialog opened: the record itself
    // is not read again.
    std::wstring m_ownName;
};
