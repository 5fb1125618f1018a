// CImageList: an owned image list (ImageList_Create / ImageList_Destroy).
// Move-only; operator HIMAGELIST hands it to the calls that take one.
#pragma once

#include <windows.h>

#include <commctrl.h>

class CImageList {
public:
    CImageList() = default;
    CImageList(const CImageList&) = delete;
    CImageList& operator=(const CImageList&) = delete;
    CImageList(CImageList&& other) noexcept : m_list(other.m_list) { other.m_list = nullptr; }
    CImageList& operator=(CImageList&& other) noexcept
    {
        if (this != &other) {
            Destroy();
            m_list = other.m_list;
            other.m_list = nullptr;
        }
        return *this;
    }
    ~CImageList() { Destroy(); }

    bool Create(int cx, int cy, UINT flags, int initial, int grow)
    {
        Destroy();
        m_list = ::ImageList_Create(cx, cy, flags, initial, grow);
        return m_list != nullptr;
    }
    void Destroy()
    {
        if (m_list != nullptr)
            ::ImageList_Destroy(m_list);
        m_list = nullptr;
    }

    // The index of the first added image, or -1. The list copies the bitmap.
    int Add(HBITMAP image, HBITMAP mask = nullptr) { return ::ImageList_Add(m_list, image, mask); }
    int GetImageCount() const { return ::ImageList_GetImageCount(m_list); }
    SIZE GetIconSize() const
    {
        int cx = 0, cy = 0;
        ::ImageList_GetIconSize(m_list, &cx, &cy);
        return SIZE{cx, cy};
    }

    operator HIMAGELIST() const { return m_list; }
    bool IsNull() const { return m_list == nullptr; }

private:
    HIMAGELIST m_list = nullptr;
};
