// Thin wrappers for the standard controls the windows use: each is a CWindow
// with the control's messages as calls. TBase lets a window implementation
// take them as its base: CWindowImpl<CVolumeCtrl, CTrackBarCtrl>.
#pragma once

#include "framework/Window.h"

#include <commctrl.h>

#include <string>

template <class TBase = CWindow>
class CButtonT : public TBase {
public:
    CButtonT(HWND hwnd = nullptr) { this->m_hWnd = hwnd; }
    CButtonT& operator=(HWND hwnd) { this->m_hWnd = hwnd; return *this; }

    int GetCheck() const { return static_cast<int>(this->SendMessage(BM_GETCHECK)); }
    void SetCheck(int check) { this->SendMessage(BM_SETCHECK, static_cast<WPARAM>(check)); }
    UINT GetState() const { return static_cast<UINT>(this->SendMessage(BM_GETSTATE)); }
    void SetState(BOOL pushed) { this->SendMessage(BM_SETSTATE, static_cast<WPARAM>(pushed)); }
    UINT GetButtonStyle() const { return this->GetStyle() & 0xFFFF; }
    void SetButtonStyle(UINT style, BOOL redraw = TRUE)
    {
        this->SendMessage(BM_SETSTYLE, style, MAKELPARAM(redraw, 0));
    }
    void Click() { this->SendMessage(BM_CLICK); }
};
using CButton = CButtonT<CWindow>;

template <class TBase = CWindow>
class CListBoxT : public TBase {
public:
    CListBoxT(HWND hwnd = nullptr) { this->m_hWnd = hwnd; }
    CListBoxT& operator=(HWND hwnd) { this->m_hWnd = hwnd; return *this; }

    int GetCount() const { return static_cast<int>(this->SendMessage(LB_GETCOUNT)); }
    int GetCurSel() const { return static_cast<int>(this->SendMessage(LB_GETCURSEL)); }
    int SetCurSel(int index) { return static_cast<int>(this->SendMessage(LB_SETCURSEL, static_cast<WPARAM>(index))); }
    int GetTopIndex() const { return static_cast<int>(this->SendMessage(LB_GETTOPINDEX)); }
    int SetTopIndex(int index) { return static_cast<int>(this->SendMessage(LB_SETTOPINDEX, static_cast<WPARAM>(index))); }

    int AddString(const wchar_t* text)
    {
        return static_cast<int>(this->SendMessage(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text)));
    }
    int InsertString(int index, const wchar_t* text)
    {
        return static_cast<int>(this->SendMessage(LB_INSERTSTRING, static_cast<WPARAM>(index),
                                                  reinterpret_cast<LPARAM>(text)));
    }
    int DeleteString(int index) { return static_cast<int>(this->SendMessage(LB_DELETESTRING, static_cast<WPARAM>(index))); }
    void ResetContent() { this->SendMessage(LB_RESETCONTENT); }
    std::wstring GetText(int index) const
    {
        const LRESULT length = this->SendMessage(LB_GETTEXTLEN, static_cast<WPARAM>(index));
        if (length == LB_ERR)
            return std::wstring();
        std::wstring text(static_cast<size_t>(length) + 1, L'\0');
        const LRESULT copied = this->SendMessage(LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&text[0]));
        text.resize(copied == LB_ERR ? 0 : static_cast<size_t>(copied));
        return text;
    }

    DWORD_PTR GetItemData(int index) const
    {
        return static_cast<DWORD_PTR>(this->SendMessage(LB_GETITEMDATA, static_cast<WPARAM>(index)));
    }
    int SetItemData(int index, DWORD_PTR data)
    {
        return static_cast<int>(this->SendMessage(LB_SETITEMDATA, static_cast<WPARAM>(index), static_cast<LPARAM>(data)));
    }
    // Item data as a pointer; null for LB_ERR.
    void* GetItemDataPtr(int index) const
    {
        const LRESULT data = this->SendMessage(LB_GETITEMDATA, static_cast<WPARAM>(index));
        return data == LB_ERR ? nullptr : reinterpret_cast<void*>(data);
    }
    int SetItemDataPtr(int index, void* data) { return SetItemData(index, reinterpret_cast<DWORD_PTR>(data)); }

    int GetItemHeight(int index) const { return static_cast<int>(this->SendMessage(LB_GETITEMHEIGHT, static_cast<WPARAM>(index))); }
    int SetItemHeight(int index, int height)
    {
        return static_cast<int>(this->SendMessage(LB_SETITEMHEIGHT, static_cast<WPARAM>(index), MAKELPARAM(height, 0)));
    }
    bool GetItemRect(int index, RECT* rect) const
    {
        return this->SendMessage(LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(rect)) != LB_ERR;
    }
    // The item nearest to a client point; outside tells whether the point
    // lies outside every item.
    int ItemFromPoint(POINT pt, bool& outside) const
    {
        const DWORD answer = static_cast<DWORD>(this->SendMessage(LB_ITEMFROMPOINT, 0, MAKELPARAM(pt.x, pt.y)));
        outside = HIWORD(answer) != 0;
        return LOWORD(answer);
    }
};
using CListBox = CListBoxT<CWindow>;

template <class TBase = CWindow>
class CComboBoxT : public TBase {
public:
    CComboBoxT(HWND hwnd = nullptr) { this->m_hWnd = hwnd; }
    CComboBoxT& operator=(HWND hwnd) { this->m_hWnd = hwnd; return *this; }

    int GetCount() const { return static_cast<int>(this->SendMessage(CB_GETCOUNT)); }
    int GetCurSel() const { return static_cast<int>(this->SendMessage(CB_GETCURSEL)); }
    int SetCurSel(int index) { return static_cast<int>(this->SendMessage(CB_SETCURSEL, static_cast<WPARAM>(index))); }

    int AddString(const wchar_t* text)
    {
        return static_cast<int>(this->SendMessage(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text)));
    }
    int InsertString(int index, const wchar_t* text)
    {
        return static_cast<int>(this->SendMessage(CB_INSERTSTRING, static_cast<WPARAM>(index),
                                                  reinterpret_cast<LPARAM>(text)));
    }
    int DeleteString(int index) { return static_cast<int>(this->SendMessage(CB_DELETESTRING, static_cast<WPARAM>(index))); }
    void ResetContent() { this->SendMessage(CB_RESETCONTENT); }
    std::wstring GetLBText(int index) const
    {
        const LRESULT length = this->SendMessage(CB_GETLBTEXTLEN, static_cast<WPARAM>(index));
        if (length == CB_ERR)
            return std::wstring();
        std::wstring text(static_cast<size_t>(length) + 1, L'\0');
        const LRESULT copied = this->SendMessage(CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&text[0]));
        text.resize(copied == CB_ERR ? 0 : static_cast<size_t>(copied));
        return text;
    }

    DWORD_PTR GetItemData(int index) const
    {
        return static_cast<DWORD_PTR>(this->SendMessage(CB_GETITEMDATA, static_cast<WPARAM>(index)));
    }
    int SetItemData(int index, DWORD_PTR data)
    {
        return static_cast<int>(this->SendMessage(CB_SETITEMDATA, static_cast<WPARAM>(index), static_cast<LPARAM>(data)));
    }
    void* GetItemDataPtr(int index) const
    {
        const LRESULT data = this->SendMessage(CB_GETITEMDATA, static_cast<WPARAM>(index));
        return data == CB_ERR ? nullptr : reinterpret_cast<void*>(data);
    }
    int SetItemDataPtr(int index, void* data) { return SetItemData(index, reinterpret_cast<DWORD_PTR>(data)); }

    // index -1 is the selection field, 0 the list items.
    int GetItemHeight(int index) const { return static_cast<int>(this->SendMessage(CB_GETITEMHEIGHT, static_cast<WPARAM>(index))); }
    int SetItemHeight(int index, int height)
    {
        return static_cast<int>(this->SendMessage(CB_SETITEMHEIGHT, static_cast<WPARAM>(index), height));
    }
    int SetExtendedUI(BOOL extended = TRUE) { return static_cast<int>(this->SendMessage(CB_SETEXTENDEDUI, static_cast<WPARAM>(extended))); }
    bool GetExtendedUI() const { return this->SendMessage(CB_GETEXTENDEDUI) != 0; }
};
using CComboBox = CComboBoxT<CWindow>;

template <class TBase = CWindow>
class CTrackBarCtrlT : public TBase {
public:
    CTrackBarCtrlT(HWND hwnd = nullptr) { this->m_hWnd = hwnd; }
    CTrackBarCtrlT& operator=(HWND hwnd) { this->m_hWnd = hwnd; return *this; }

    int GetPos() const { return static_cast<int>(this->SendMessage(TBM_GETPOS)); }
    void SetPos(int pos) { this->SendMessage(TBM_SETPOS, TRUE, pos); }
    void SetRange(int minimum, int maximum, BOOL redraw = FALSE)
    {
        this->SendMessage(TBM_SETRANGEMIN, FALSE, minimum);
        this->SendMessage(TBM_SETRANGEMAX, static_cast<WPARAM>(redraw), maximum);
    }
    int GetRangeMin() const { return static_cast<int>(this->SendMessage(TBM_GETRANGEMIN)); }
    int GetRangeMax() const { return static_cast<int>(this->SendMessage(TBM_GETRANGEMAX)); }
    int SetPageSize(int size) { return static_cast<int>(this->SendMessage(TBM_SETPAGESIZE, 0, size)); }
    int GetPageSize() const { return static_cast<int>(this->SendMessage(TBM_GETPAGESIZE)); }
    void SetThumbLength(int length) { this->SendMessage(TBM_SETTHUMBLENGTH, static_cast<WPARAM>(length)); }
    int GetThumbLength() const { return static_cast<int>(this->SendMessage(TBM_GETTHUMBLENGTH)); }
    RECT GetThumbRect() const
    {
        RECT rc{};
        this->SendMessage(TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&rc));
        return rc;
    }
};
using CTrackBarCtrl = CTrackBarCtrlT<CWindow>;
