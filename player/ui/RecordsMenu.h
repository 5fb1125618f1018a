// The commands the records list offers for a record, in the order of its
// popup menu, and the popup built from them. The same conditions guard the
// commands when they arrive: a record's state may change while its menu is
// open (the schedule keeps ticking in the menu's loop).
#pragma once

#include <windows.h>

#include <vector>

class CRecord;

namespace RecordsMenu {

// Whether the command (ID_RECORD_...) applies to the record now. A record
// that is being deleted offers nothing.
bool Offers(const CRecord& record, UINT command);
// The offered commands in menu order: play, play channel, stop or
// properties, show in folder, delete.
std::vector<UINT> OfferedCommands(const CRecord& record);
// The language id of a command's menu text; null for another id.
const char* TextId(UINT command);
// Empties popup and appends the record's commands with their texts, a
// separator before each but the first. The number of commands appended.
int Fill(HMENU popup, const CRecord& record);

} // namespace RecordsMenu
