#include "player/ui/RecordDlgRules.h"

#include "player/recording/Record.h"
#include "player/recording/RecordManager.h"

#include <shlwapi.h>

namespace RecordDlgRules {

namespace {

int MinuteOfDay(const CTime& time)
{
    return time.GetHour() * 60 + time.GetMinute();
}

} // namespace

const char* CheckName(const std::wstring& name, const CRecordManager* manager, const std::wstring* ownName)
{
    if (name.empty())
        return "msg_record_name";
    if (ownName != nullptr && ::StrCmpIW(ownName->c_str(), name.c_str()) == 0)
        return nullptr;
    if (manager != nullptr && manager->NameExists(name))
        return "msg_record_name";
    return nullptr;
}

int64_t LengthMinutes(int type, const CTime& start, const CTime& end)
{
    if (type == CRecord::Weekly)
        return MinuteOfDay(end) - MinuteOfDay(start);
    return (end - start).GetTotalMinutes();
}

const char* CheckSchedule(int type, const CTime& start, const CTime& end,
                          const bool weekdays[RecordSchedule::WeekdayCount])
{
    if (type == CRecord::Now)
        return nullptr;
    if (LengthMinutes(type, start, end) <= 0)
        return "msg_wrong_time";
    if (type == CRecord::Weekly) {
        bool anyDay = false;
        for (int day = 0; day < RecordSchedule::WeekdayCount; ++day)
            anyDay = anyDay || weekdays[day];
        if (!anyDay)
            return "msg_week_days";
    }
    return nullptr;
}

} // namespace RecordDlgRules
