#include "tests/data/PngFile.h"

#include <gdiplus.h>

namespace {

namespace GpFlat = Gdiplus::DllExports;

// GDI+'s built-in PNG encoder.
const CLSID PngEncoder = {0x557CF406, 0x1A04, 0x11D3, {0x9A, 0x73, 0x00, 0x00, 0xF8, 0x1E, 0xF3, 0x2E}};

class GdiPlusSession {
public:
    GdiPlusSession()
    {
        Gdiplus::GdiplusStartupInput input;
        m_started = Gdiplus::GdiplusStartup(&m_token, &input, nullptr) == Gdiplus::Ok;
    }
    GdiPlusSession(const GdiPlusSession&) = delete;
    GdiPlusSession& operator=(const GdiPlusSession&) = delete;
    ~GdiPlusSession()
    {
        if (m_started)
            Gdiplus::GdiplusShutdown(m_token);
    }
    bool IsStarted() const { return m_started; }

private:
    ULONG_PTR m_token = 0;
    bool m_started = false;
};

} // namespace

bool SavePng(const CImage& image, const std::wstring& path)
{
    GdiPlusSession session;
    if (!session.IsStarted() || image.IsNull())
        return false;
    Gdiplus::GpBitmap* bitmap = nullptr;
    if (GpFlat::GdipCreateBitmapFromHBITMAP(image.GetHandle(), nullptr, &bitmap) != Gdiplus::Ok)
        return false;
    const bool saved = GpFlat::GdipSaveImageToFile(bitmap, path.c_str(), &PngEncoder, nullptr) == Gdiplus::Ok;
    GpFlat::GdipDisposeImage(bitmap);
    return saved;
}
