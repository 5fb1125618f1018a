#pragma once
// The calendar rules of scheduled records: weekdays Monday first (0 Monday
// ... 6 Sunday), the next occurrence of a weekly record, the 8-second
// window in which the schedule tick starts a recording, and the end from
// which on it stops one, however late the tick comes.

#include "framework/Time.h"

namespace RecordSchedule {

constexpr int WeekdayCount = 7;
constexpr __int64 TickWindowSeconds = 8;

// 0 Monday ... 6 Sunday.
int WeekdayIndex(const CTime& time);

// The first day from today on whose weekday is set (today only while the
// clock has not reached the start minute; seconds do not count), at most 8
// days ahead; start and end move to that day at their own hour and minute
// (seconds 0).
void NextWeekly(const CTime& now, const bool weekdays[WeekdayCount], CTime& start, CTime& end);

// now lies in [at, at + 8 s).
bool IsInTickWindow(const CTime& now, const CTime& at);
// now lies at or after at + 8 s: the window of at is over.
bool IsTickWindowOver(const CTime& now, const CTime& at);
// now lies at or after at.
bool HasPassed(const CTime& now, const CTime& at);

} // namespace RecordSchedule
