#include "framework/GdiHelpers.h"

CMemoryDC::CMemoryDC(HDC target, const RECT& area) : m_target(target), m_area(area)
{
    const int width = area.right - area.left;
    const int height = area.bottom - area.top;
    if (width <= 0 || height <= 0)
        return;
    m_dc = ::CreateCompatibleDC(target);
    m_bitmap = m_dc != nullptr ? ::CreateCompatibleBitmap(target, width, height) : nullptr;
    if (m_bitmap == nullptr) {
        if (m_dc != nullptr)
            ::DeleteDC(m_dc);
        m_dc = nullptr;
        return;
    }
    m_previous = ::SelectObject(m_dc, m_bitmap);
    ::SetViewportOrgEx(m_dc, -area.left, -area.top, nullptr);
    // Start from what the target shows, so parts left undrawn stay as they were.
    ::BitBlt(m_dc, area.left, area.top, width, height, target, area.left, area.top, SRCCOPY);
}

CMemoryDC::~CMemoryDC()
{
    if (m_dc == nullptr)
        return;
    Flush();
    ::SelectObject(m_dc, m_previous);
    ::DeleteObject(m_bitmap);
    ::DeleteDC(m_dc);
}

void CMemoryDC::Flush()
{
    if (m_dc == nullptr)
        return;
    ::BitBlt(m_target, m_area.left, m_area.top, m_area.right - m_area.left, m_area.bottom - m_area.top, m_dc,
             m_area.left, m_area.top, SRCCOPY);
}
