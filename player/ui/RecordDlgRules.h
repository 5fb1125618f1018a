// What the record dialog accepts: a name that no other record has (a
// record may keep its own, in any letter case), a schedule that lasts at
// least a minute, and for a weekly record at least one day. Each check
// gives null when the input passes, else the language id of the message
// that says why not.
#pragma once

#include "framework/Time.h"
#include "player/recording/RecordSchedule.h"

#include <cstdint>
#include <string>

class CRecordManager;

namespace RecordDlgRules {

// ownName: the name of the record being changed, or null for a new record.
// Without a manager only an empty name is refused.
const char* CheckName(const std::wstring& name, const CRecordManager* manager, const std::wstring* ownName);

// Whole minutes from start to end; for a weekly record the clock times
// alone count (dates ignored), so 22:00 to 01:00 is negative.
int64_t LengthMinutes(int type, const CTime& start, const CTime& end);

// A "now" record passes as it is; the others need a positive length, and a
// weekly one a day.
const char* CheckSchedule(int type, const CTime& start, const CTime& end,
                          const bool weekdays[RecordSchedule::WeekdayCount]);

} // namespace RecordDlgRules
