#include "player/ui/RecordDlg.h"

#include "foundation/Lang.h"
#include "player/catalogue/Channel.h"
#include "player/recording/Record.h"
#include "player/recording/RecordManager.h"
#include "player/ui/MsgBox.h"
#include "player/ui/RecordDlgRules.h"

#include <commctrl.h>

#include <cstring>

const wchar_t CRecordDlg::DateTimeFormat[] = L"''HH' : 'mm'    'dd' / 'M' / 'yyy";
const wchar_t CRecordDlg::TimeFormat[] = L"''HH' : 'mm'";

namespace {

static_assert(IDC_RECORD_DAY_LAST - IDC_RECORD_DAY_FIRST + 1 == RecordSchedule::WeekdayCount,
              "one day box per weekday");

const char* const TypeTextIds[] = {"str_record_now", "str_schedule", "str_schedule_weekly"};
constexpr int TypeCount = 3;

CTime ThisMinute()
{
    const CTime now = CTime::Now();
    return CTime(now.GetYear(), now.GetMonth(), now.GetDay(), now.GetHour(), now.GetMinute(), 0);
}

int ValidType(int type)
{
    return type >= 0 && type < TypeCount ? type : CRecord::Now;
}

void SetPickerTime(HWND picker, const CTime& time)
{
    SYSTEMTIME local{};
    if (time.GetAsSystemTime(local))
        ::SendMessageW(picker, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&local));
}

void SetPickerFormat(HWND picker, const wchar_t* format)
{
    ::SendMessageW(picker, DTM_SETFORMATW, 0, reinterpret_cast<LPARAM>(format));
}

// The date-time picker is a common control of its own class set.
void RegisterPickerClass()
{
    static const bool registered = [] {
        INITCOMMONCONTROLSEX classes{sizeof(classes), ICC_DATE_CLASSES};
        return ::InitCommonControlsEx(&classes) != FALSE;
    }();
    (void)registered;
}

} // namespace

CRecordDlg::CRecordDlg(CChannel* channel, CRecord* record) : m_channel(channel), m_record(record)
{
    if (m_channel != nullptr) {
        const CRecordManager* manager = CRecordManager::Instance();
        m_name = manager != nullptr ? manager->MakeUniqueName(m_channel->GetName()) : m_channel->GetName();
    }
    if (m_record != nullptr) {
        m_type = ValidType(m_record->GetType());
        m_name = m_record->GetName();
        m_ownName = m_record->GetName();
        m_record->GetTimes(m_start, m_end);
        std::memcpy(m_weekdays, m_record->GetWeekdays(), sizeof(m_weekdays));
    } else {
        for (bool& day : m_weekdays)
            day = true;
        m_type = CRecord::Now;
        m_start = m_end = ThisMinute();
    }
}

INT_PTR CRecordDlg::DoModal(HWND owner)
{
    RegisterPickerClass();
    return CDialogImpl<CRecordDlg>::DoModal(owner);
}

LRESULT CRecordDlg::OnInitDialog(WindowMessage&)
{
    KV::Lang::TranslateWindow(m_hWnd);
    m_okButton.SubclassWindow(GetDlgItem(IDOK));
    m_cancelButton.SubclassWindow(GetDlgItem(IDCANCEL));

    m_startPicker = GetDlgItem(IDC_RECORD_START);
    m_endPicker = GetDlgItem(IDC_RECORD_END);
    SetPickerFormat(m_startPicker, DateTimeFormat);
    SetPickerFormat(m_endPicker, DateTimeFormat);
    SetPickerTime(m_startPicker, m_start);
    SetPickerTime(m_endPicker, m_end);

    m_typeList = GetDlgItem(IDC_RECORD_TYPE);
    for (const char* textId : TypeTextIds)
        m_typeList.AddString(KV::Lang::GetText(textId).c_str());
    m_typeList.SetCurSel(m_type);

    for (int day = 0; day < RecordSchedule::WeekdayCount; ++day) {
        m_dayBoxes[day].SubclassWindow(GetDlgItem(IDC_RECORD_DAY_FIRST + day));
        m_dayBoxes[day].SetCheck(m_weekdays[day]);
    }

    SetDlgItemText(IDC_RECORD_NAME, m_name.c_str());
    ApplyType(m_type);
    CenterWindow(GetParent());
    return TRUE;
}

void CRecordDlg::ApplyType(int type)
{
    const BOOL timed = type == CRecord::Once || type == CRecord::Weekly;
    const BOOL weekly = type == CRecord::Weekly;
    m_startPicker.EnableWindow(timed);
    m_endPicker.EnableWindow(timed);
    for (CBRSCheckBox& box : m_dayBoxes)
        box.EnableWindow(weekly);
    const wchar_t* format = weekly ? TimeFormat : DateTimeFormat;
    SetPickerFormat(m_startPicker, format);
    SetPickerFormat(m_endPicker, format);
}

CTime CRecordDlg::ReadPicker(const CWindow& picker) const
{
    SYSTEMTIME local{};
    if (::SendMessageW(picker, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&local)) != GDT_VALID)
        return CTime::Now();
    return CTime(local);
}

LRESULT CRecordDlg::OnTypeChange(WindowMessage&)
{
    ApplyType(m_typeList.GetCurSel());
    return 0;
}

LRESULT CRecordDlg::OnOk(WindowMessage&)
{
    const std::wstring name = GetDlgItem(IDC_RECORD_NAME).GetWindowText();
    if (const char* refusal =
            RecordDlgRules::CheckName(name, CRecordManager::Instance(), m_record != nullptr ? &m_ownName : nullptr)) {
        ShowMsgBox(refusal, MsgBoxOk);
        return 0;
    }

    const int type = ValidType(m_typeList.GetCurSel());
    bool weekdays[RecordSchedule::WeekdayCount];
    for (int day = 0; day < RecordSchedule::WeekdayCount; ++day)
        weekdays[day] = m_dayBoxes[day].GetCheck();
    CTime start = ReadPicker(m_startPicker);
    CTime end = ReadPicker(m_endPicker);
    if (type == CRecord::Now)
        start = end = CTime::Now();
    if (const char* refusal = RecordDlgRules::CheckSchedule(type, start, end, weekdays)) {
        ShowMsgBox(refusal, MsgBoxOk);
        return 0;
    }

    m_name = name;
    m_type = type;
    m_start = start;
    m_end = end;
    std::memcpy(m_weekdays, weekdays, sizeof(m_weekdays));
    EndDialog(IDOK);
    return 0;
}

LRESULT CRecordDlg::OnCancel(WindowMessage&)
{
    EndDialog(IDCANCEL);
    return 0;
}
