#pragma once
// The records list as the records manager sees it: the records panel's list
// box (one item per record, the record's name as its string and the record
// as its data; the list may sort its items) and the count shown on the
// records tab. The panel implements it, or hands the manager a
// CRecordListBoxView over its list box. User-interface thread only.

#include <string>

class CRecord;

class CRecordListView {
public:
    virtual ~CRecordListView() = default;

    // Adds an item for record; its index, or -1 when it could not be added.
    virtual int AddItem(const std::wstring& name, CRecord* record) = 0;
    virtual void DeleteItem(int index) = 0;
    virtual void SelectItem(int index) = 0;
    virtual int GetItemCount() const = 0;
    // The record of the item at index, or null.
    virtual CRecord* GetItemRecord(int index) const = 0;
    // Repaints the item at index (its texts changed).
    virtual void RedrawItem(int index) = 0;
    // The number of records, for the records tab.
    virtual void SetRecordCount(int count) = 0;
};
