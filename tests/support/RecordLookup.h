#pragma once
// Finding a record of a records manager under test.

#include <string>

class CRecord;
class CRecordManager;

// The first record with the name, or null.
CRecord* FindRecord(const CRecordManager& manager, const std::wstring& name);
