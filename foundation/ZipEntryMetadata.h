#pragma once
// Attributes and times of an entry, from its central-directory fields and
// its local extra field.

#include <windows.h>

#include <cstddef>
#include <cstdint>

struct ZipEntryInfo;

// Windows attribute bits from the external attributes, read by the host in
// the high byte of version-made-by: hosts 0 (MS-DOS), 7, 11 (NTFS) and
// 14 (VFAT) store DOS bits; every other host counts as Unix, whose mode sits
// in the high 16 bits (directory flag, owner write permission).
uint32_t ZipAttributesFromHost(uint32_t versionMadeBy, uint32_t externalAttributes);

// The DOS date (high 16 bits) and time (low 16 bits), a local time, as UTC.
// An impossible date gives a zero FILETIME.
FILETIME ZipDosDateTimeToFileTime(uint32_t dosDateTime);

// Seconds since 1970-01-01 UTC as a FILETIME.
FILETIME ZipUnixTimeToFileTime(int32_t seconds);

// Applies the first "UT" (extended timestamp) field of a local extra field:
// flag bit 0 the last write, bit 1 the last access, bit 2 the creation time,
// in that order. Fields that run past their block are ignored.
void ZipApplyExtendedTimestamps(const uint8_t* extra, size_t length, ZipEntryInfo& info);
