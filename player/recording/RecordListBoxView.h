#pragma once
// CRecordListView over a list box window (LB_ messages) and a callback for
// the records tab's count (the channel panel's CTab::SetCount of tab 2).

#include "player/recording/RecordListView.h"

#include <windows.h>

#include <functional>
#include <utility>

class CRecordListBoxView : public CRecordListView {
public:
    using CountCallback = std::function<void(int count)>;

    CRecordListBoxView(HWND listBox, CountCallback countChanged)
        : m_listBox(listBox), m_countChanged(std::move(countChanged))
    {
    }
    // For a list box whose window comes later (SetListBox).
    CRecordListBoxView() = default;

    int AddItem(const std::wstring& name, CRecord* record) override;
    void DeleteItem(int index) override;
    void SelectItem(int index) override;
    int GetItemCount() const override;
    CRecord* GetItemRecord(int index) const override;
    void RedrawItem(int index) override;
    void SetRecordCount(int count) override;

    HWND GetListBox() const { return m_listBox; }
    void SetListBox(HWND listBox) { m_listBox = listBox; }
    void SetCountCallback(CountCallback countChanged) { m_countChanged = std::move(countChanged); }

private:
    HWND m_listBox = nullptr;
    CountCallback m_countChanged;
};
