// The DIB-section image: creation, pixel access, its own memory DC, GDI+
// decoding and drawing.

#include "foundation/Image.h"

#include <gdiplus.h>

#include <cstring>
#include <vector>

namespace {

namespace Gp = Gdiplus;
namespace GpFlat = Gdiplus::DllExports;

// GDI+ is started on the first decode and shut down when the process ends.
class GdiPlusSession {
public:
    GdiPlusSession()
    {
        Gp::GdiplusStartupInput input;
        m_started = Gp::GdiplusStartup(&m_token, &input, nullptr) == Gp::Ok;
    }
    GdiPlusSession(const GdiPlusSession&) = delete;
    GdiPlusSession& operator=(const GdiPlusSession&) = delete;
    ~GdiPlusSession()
    {
        if (m_started)
            Gp::GdiplusShutdown(m_token);
    }
    bool IsStarted() const { return m_started; }

private:
    ULONG_PTR m_token = 0;
    bool m_started = false;
};

bool EnsureGdiPlus()
{
    static GdiPlusSession session;
    return session.IsStarted();
}

// Owns one GDI+ image object.
class GpImageHolder {
public:
    GpImageHolder() = default;
    GpImageHolder(const GpImageHolder&) = delete;
    GpImageHolder& operator=(const GpImageHolder&) = delete;
    ~GpImageHolder()
    {
        if (m_bitmap)
            GpFlat::GdipDisposeImage(m_bitmap);
    }
    Gp::GpBitmap** Receive() { return &m_bitmap; }
    Gp::GpBitmap* Get() const { return m_bitmap; }

private:
    Gp::GpBitmap* m_bitmap = nullptr;
};

// Whether the decoded picture carries transparency: an alpha pixel format or
// a palette whose entries have alpha.
bool HasAlpha(Gp::GpBitmap* bitmap, Gp::PixelFormat format)
{
    if (Gp::IsAlphaPixelFormat(format))
        return true;
    if (!Gp::IsIndexedPixelFormat(format))
        return false;
    INT size = 0;
    if (GpFlat::GdipGetImagePaletteSize(bitmap, &size) != Gp::Ok || size < static_cast<INT>(sizeof(Gp::ColorPalette)))
        return false;
    std::vector<uint8_t> storage(static_cast<size_t>(size));
    auto* palette = reinterpret_cast<Gp::ColorPalette*>(storage.data());
    if (GpFlat::GdipGetImagePalette(bitmap, palette, size) != Gp::Ok)
        return false;
    return (palette->Flags & Gp::PaletteFlagsHasAlpha) != 0;
}

int RowBytes(int width, int bitsPerPixel)
{
    return ((width * bitsPerPixel + 31) / 32) * 4;
}

} // namespace

CImage::~CImage()
{
    Destroy();
}

bool CImage::Create(int width, int height, int bitsPerPixel, bool hasAlpha)
{
    Destroy();
    if (width <= 0 || height <= 0 || (bitsPerPixel != 24 && bitsPerPixel != 32))
        return false;
    // Guard the pitch arithmetic against absurd sizes.
    if (width > 0x7FFF || height > 0x7FFF)
        return false;

    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height; // top-down: row 0 first in memory
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = static_cast<WORD>(bitsPerPixel);
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!bitmap || !bits) {
        if (bitmap)
            DeleteObject(bitmap);
        return false;
    }
    m_bitmap = bitmap;
    m_bits = static_cast<uint8_t*>(bits);
    m_width = width;
    m_height = height;
    m_bitsPerPixel = bitsPerPixel;
    m_pitch = RowBytes(width, bitsPerPixel);
    m_hasAlpha = hasAlpha && bitsPerPixel == 32;
    std::memset(m_bits, 0, static_cast<size_t>(m_pitch) * static_cast<size_t>(height));
    return true;
}

void CImage::Destroy()
{
    if (m_dc) {
        SelectObject(m_dc, m_previousBitmap);
        DeleteDC(m_dc);
        m_dc = nullptr;
        m_previousBitmap = nullptr;
        m_dcCount = 0;
    }
    if (m_bitmap)
        DeleteObject(m_bitmap);
    m_bitmap = nullptr;
    m_bits = nullptr;
    m_width = m_height = m_bitsPerPixel = m_pitch = 0;
    m_hasAlpha = false;
}

bool CImage::Load(IStream* stream)
{
    Destroy();
    if (!stream || !EnsureGdiPlus())
        return false;
    LARGE_INTEGER start = {};
    stream->Seek(start, STREAM_SEEK_SET, nullptr);

    GpImageHolder decoded;
    if (GpFlat::GdipCreateBitmapFromStream(stream, decoded.Receive()) != Gp::Ok || !decoded.Get())
        return false;
    UINT width = 0;
    UINT height = 0;
    Gp::PixelFormat format = 0;
    if (GpFlat::GdipGetImageWidth(decoded.Get(), &width) != Gp::Ok
        || GpFlat::GdipGetImageHeight(decoded.Get(), &height) != Gp::Ok
        || GpFlat::GdipGetImagePixelFormat(decoded.Get(), &format) != Gp::Ok)
        return false;

    const bool alpha = HasAlpha(decoded.Get(), format);
    if (!Create(static_cast<int>(width), static_cast<int>(height), alpha ? 32 : 24, alpha))
        return false;

    Gp::Rect area(0, 0, static_cast<INT>(width), static_cast<INT>(height));
    Gp::BitmapData data = {};
    const Gp::PixelFormat wanted = alpha ? PixelFormat32bppARGB : PixelFormat24bppRGB;
    if (GpFlat::GdipBitmapLockBits(decoded.Get(), &area, Gp::ImageLockModeRead, wanted, &data) != Gp::Ok) {
        Destroy();
        return false;
    }
    const size_t rowBytes = static_cast<size_t>(width) * (alpha ? 4 : 3);
    const auto* source = static_cast<const uint8_t*>(data.Scan0);
    for (UINT y = 0; y < height; ++y)
        std::memcpy(m_bits + static_cast<size_t>(y) * m_pitch, source + static_cast<ptrdiff_t>(y) * data.Stride, rowBytes);
    GpFlat::GdipBitmapUnlockBits(decoded.Get(), &data);
    return true;
}

uint8_t* CImage::GetPixelAddress(int x, int y)
{
    return const_cast<uint8_t*>(static_cast<const CImage*>(this)->GetPixelAddress(x, y));
}

const uint8_t* CImage::GetPixelAddress(int x, int y) const
{
    if (!m_bits || x < 0 || y < 0 || x >= m_width || y >= m_height)
        return nullptr;
    return m_bits + static_cast<size_t>(y) * m_pitch + static_cast<size_t>(x) * (m_bitsPerPixel / 8);
}

COLORREF CImage::GetPixel(int x, int y) const
{
    const uint8_t* pixel = GetPixelAddress(x, y);
    return pixel ? RGB(pixel[2], pixel[1], pixel[0]) : 0;
}

void CImage::SetPixel(int x, int y, COLORREF color, uint8_t alpha)
{
    uint8_t* pixel = GetPixelAddress(x, y);
    if (!pixel)
        return;
    pixel[0] = GetBValue(color);
    pixel[1] = GetGValue(color);
    pixel[2] = GetRValue(color);
    if (m_bitsPerPixel == 32)
        pixel[3] = alpha;
}

HDC CImage::GetDC() const
{
    if (!m_bitmap)
        return nullptr;
    if (!m_dc) {
        m_dc = CreateCompatibleDC(nullptr);
        if (!m_dc)
            return nullptr;
        m_previousBitmap = SelectObject(m_dc, m_bitmap);
    }
    ++m_dcCount;
    return m_dc;
}

void CImage::ReleaseDC() const
{
    if (!m_dc || m_dcCount <= 0)
        return;
    if (--m_dcCount == 0) {
        // GDI may have batched drawing into the section; finish it before
        // the bits are read directly.
        GdiFlush();
        SelectObject(m_dc, m_previousBitmap);
        DeleteDC(m_dc);
        m_dc = nullptr;
        m_previousBitmap = nullptr;
    }
}

bool CImage::Draw(HDC target, int x, int y) const
{
    return Draw(target, x, y, m_width, m_height, 0, 0, m_width, m_height);
}

bool CImage::Draw(HDC target, const RECT& destination, const RECT& source) const
{
    return Draw(target, destination.left, destination.top, destination.right - destination.left,
                destination.bottom - destination.top, source.left, source.top, source.right - source.left,
                source.bottom - source.top);
}

bool CImage::Draw(HDC target, int xDest, int yDest, int widthDest, int heightDest,
                  int xSrc, int ySrc, int widthSrc, int heightSrc) const
{
    if (!target || IsNull())
        return false;
    CImageDC source(*this);
    if (!source)
        return false;
    if (m_hasAlpha) {
        BLENDFUNCTION blend = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
        return AlphaBlend(target, xDest, yDest, widthDest, heightDest, source, xSrc, ySrc, widthSrc, heightSrc,
                          blend) != FALSE;
    }
    if (widthDest == widthSrc && heightDest == heightSrc)
        return BitBlt(target, xDest, yDest, widthDest, heightDest, source, xSrc, ySrc, SRCCOPY) != FALSE;
    const int oldMode = SetStretchBltMode(target, COLORONCOLOR);
    const bool drawn = StretchBlt(target, xDest, yDest, widthDest, heightDest, source, xSrc, ySrc, widthSrc,
                                  heightSrc, SRCCOPY) != FALSE;
    SetStretchBltMode(target, oldMode);
    return drawn;
}
