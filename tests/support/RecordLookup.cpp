#include "tests/support/RecordLookup.h"

#include "player/recording/Record.h"
#include "player/recording/RecordManager.h"

CRecord* FindRecord(const CRecordManager& manager, const std::wstring& name)
{
    for (const auto& record : manager.GetRecords()) {
        if (record->GetName() == name)
            return record.get();
    }
    return nullptr;
}
