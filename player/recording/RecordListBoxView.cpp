#include "player/recording/RecordListBoxView.h"

int CRecordListBoxView::AddItem(const std::wstring& name, CRecord* record)
{
    const LRESULT index = ::SendMessageW(m_listBox, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
    if (index < 0)
        return -1;
    ::SendMessageW(m_listBox, LB_SETITEMDATA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(record));
    return static_cast<int>(index);
}

void CRecordListBoxView::DeleteItem(int index)
{
    ::SendMessageW(m_listBox, LB_DELETESTRING, static_cast<WPARAM>(index), 0);
}

void CRecordListBoxView::SelectItem(int index)
{
    ::SendMessageW(m_listBox, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

int CRecordListBoxView::GetItemCount() const
{
    const LRESULT count = ::SendMessageW(m_listBox, LB_GETCOUNT, 0, 0);
    return count < 0 ? 0 : static_cast<int>(count);
}

CRecord* CRecordListBoxView::GetItemRecord(int index) const
{
    const LRESULT data = ::SendMessageW(m_listBox, LB_GETITEMDATA, static_cast<WPARAM>(index), 0);
    if (data == LB_ERR)
        return nullptr;
    return reinterpret_cast<CRecord*>(data);
}

void CRecordListBoxView::RedrawItem(int index)
{
    RECT rect{};
    if (::SendMessageW(m_listBox, LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&rect)) !=
        LB_ERR)
        ::InvalidateRect(m_listBox, &rect, FALSE);
}

void CRecordListBoxView::SetRecordCount(int count)
{
    if (m_countChanged)
        m_countChanged(count);
}
