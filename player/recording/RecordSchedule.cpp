#include "player/recording/RecordSchedule.h"

namespace RecordSchedule {

namespace {

int MinuteOfDay(const CTime& time)
{
    return time.GetHour() * 60 + time.GetMinute();
}

} // namespace

int WeekdayIndex(const CTime& time)
{
    // The platform counts 1 = Sunday ... 7 = Saturday.
    return (time.GetDayOfWeek() + 5) % WeekdayCount;
}

void NextWeekly(const CTime& now, const bool weekdays[WeekdayCount], CTime& start, CTime& end)
{
    const int startMinute = MinuteOfDay(start);
    const int endMinute = MinuteOfDay(end);
    const int nowMinute = MinuteOfDay(now);
    const int today = WeekdayIndex(now);

    int day = today;
    for (; day < today + 8; ++day) {
        if (weekdays[day % WeekdayCount] && (day != today || nowMinute < startMinute))
            break;
    }
    // Calendar fields roll over, so the wall-clock time is right on days
    // where daylight saving begins or ends.
    const int dayOfMonth = now.GetDay() + (day - today);
    start = CTime(now.GetYear(), now.GetMonth(), dayOfMonth, 0, startMinute, 0);
    end = CTime(now.GetYear(), now.GetMonth(), dayOfMonth, 0, endMinute, 0);
}

bool IsInTickWindow(const CTime& now, const CTime& at)
{
    const __int64 elapsed = (now - at).GetTotalSeconds();
    return elapsed >= 0 && elapsed < TickWindowSeconds;
}

bool IsTickWindowOver(const CTime& now, const CTime& at)
{
    return (now - at).GetTotalSeconds() >= TickWindowSeconds;
}

bool HasPassed(const CTime& now, const CTime& at)
{
    return (now - at).GetTotalSeconds() >= 0;
}

} // namespace RecordSchedule
