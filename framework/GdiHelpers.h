// Device contexts and GDI objects with RAII.
//
//   LRESULT OnPaint(WindowMessage&) {
//       CPaintDC paint(m_hWnd);
//       CMemoryDC buffer(paint, GetClientRect());   // draws off screen ...
//       ::FillRect(buffer, &rc, brush);
//       return 0;                                   // ... copied here
//   }
#pragma once

#include <windows.h>

// BeginPaint / EndPaint.
class CPaintDC {
public:
    explicit CPaintDC(HWND hwnd) : m_hwnd(hwnd) { m_hDC = ::BeginPaint(hwnd, &m_ps); }
    CPaintDC(const CPaintDC&) = delete;
    CPaintDC& operator=(const CPaintDC&) = delete;
    ~CPaintDC() { ::EndPaint(m_hwnd, &m_ps); }

    operator HDC() const { return m_hDC; }
    // The rectangle to repaint.
    const RECT& PaintRect() const { return m_ps.rcPaint; }

    HDC m_hDC = nullptr;
    PAINTSTRUCT m_ps{};

private:
    HWND m_hwnd;
};

// GetDC / ReleaseDC.
class CClientDC {
public:
    explicit CClientDC(HWND hwnd) : m_hwnd(hwnd), m_hDC(::GetDC(hwnd)) {}
    CClientDC(const CClientDC&) = delete;
    CClientDC& operator=(const CClientDC&) = delete;
    ~CClientDC()
    {
        if (m_hDC != nullptr)
            ::ReleaseDC(m_hwnd, m_hDC);
    }

    operator HDC() const { return m_hDC; }

private:
    HWND m_hwnd;
    HDC m_hDC;
};

// An off-screen buffer for one rectangle of a target DC (double buffering).
// Drawing uses the target's coordinates: the viewport origin is moved so
// that the rectangle's corner lands on the buffer's. The buffer is copied to
// the target with SRCCOPY when the object ends, or by Flush. A rectangle
// that is empty, or a failed buffer, draws straight into the target.
class CMemoryDC {
public:
    CMemoryDC(HDC target, const RECT& area);
    CMemoryDC(const CMemoryDC&) = delete;
    CMemoryDC& operator=(const CMemoryDC&) = delete;
    ~CMemoryDC();

    operator HDC() const { return m_dc != nullptr ? m_dc : m_target; }
    bool IsBuffered() const { return m_dc != nullptr; }
    const RECT& Area() const { return m_area; }
    // Copies what was drawn so far to the target.
    void Flush();

private:
    HDC m_target;
    RECT m_area;
    HDC m_dc = nullptr;
    HBITMAP m_bitmap = nullptr;
    HGDIOBJ m_previous = nullptr;
};

// Selects an object into a DC and selects the previous one back at the end.
class CSelectObject {
public:
    CSelectObject(HDC dc, HGDIOBJ object) : m_dc(dc), m_previous(object != nullptr ? ::SelectObject(dc, object) : nullptr) {}
    CSelectObject(const CSelectObject&) = delete;
    CSelectObject& operator=(const CSelectObject&) = delete;
    ~CSelectObject()
    {
        if (m_previous != nullptr)
            ::SelectObject(m_dc, m_previous);
    }

private:
    HDC m_dc;
    HGDIOBJ m_previous;
};

// An owned GDI object (bitmap, brush, pen, font, region): DeleteObject at
// the end. Move-only.
template <class H>
class CGdiObject {
public:
    CGdiObject() = default;
    explicit CGdiObject(H handle) : m_handle(handle) {}
    CGdiObject(const CGdiObject&) = delete;
    CGdiObject& operator=(const CGdiObject&) = delete;
    CGdiObject(CGdiObject&& other) noexcept : m_handle(other.Detach()) {}
    CGdiObject& operator=(CGdiObject&& other) noexcept
    {
        if (this != &other)
            Attach(other.Detach());
        return *this;
    }
    ~CGdiObject() { Attach(nullptr); }

    void Attach(H handle)
    {
        if (m_handle != nullptr && m_handle != handle)
            ::DeleteObject(m_handle);
        m_handle = handle;
    }
    H Detach()
    {
        H handle = m_handle;
        m_handle = nullptr;
        return handle;
    }
    operator H() const { return m_handle; }
    bool IsNull() const { return m_handle == nullptr; }

private:
    H m_handle = nullptr;
};

using CBitmapHandle = CGdiObject<HBITMAP>;
using CBrushHandle = CGdiObject<HBRUSH>;
using CPenHandle = CGdiObject<HPEN>;
using CFontHandle = CGdiObject<HFONT>;
