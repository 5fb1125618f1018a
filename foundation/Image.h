#pragma once
// A decoded image held in a top-down DIB section of 24 or 32 bits per pixel,
// with direct pixel access, a memory device context of its own while it is
// drawn into, decoding through GDI+ and drawing with or without per-pixel
// alpha. It stands where the skin and the skinned controls keep pictures.

#include <windows.h>
#include <objidl.h>

#include <cstdint>

class CImage {
public:
    CImage() = default;
    CImage(const CImage&) = delete;
    CImage& operator=(const CImage&) = delete;
    ~CImage();

    // A new blank (all zero) image; bitsPerPixel 24 or 32. hasAlpha (32 bits
    // only) makes Draw blend with the per-pixel alpha, which must then be
    // premultiplied. Replaces what the image held; false on bad arguments or
    // when the DIB section cannot be made.
    bool Create(int width, int height, int bitsPerPixel, bool hasAlpha = false);
    void Destroy();

    // Decodes a whole COM stream (PNG, BMP, JPEG, GIF, ... through GDI+).
    // Pictures with an alpha channel become 32 bits per pixel with that
    // channel, not premultiplied; others become 24 bits. False (and an empty
    // image) when the data does not decode.
    bool Load(IStream* stream);

    bool IsNull() const { return m_bitmap == nullptr; }
    int GetWidth() const { return m_width; }
    int GetHeight() const { return m_height; }
    int GetBPP() const { return m_bitsPerPixel; }
    // Bytes from one row to the next (positive: row 0 is the top row).
    int GetPitch() const { return m_pitch; }
    bool HasAlphaChannel() const { return m_hasAlpha; }
    HBITMAP GetHandle() const { return m_bitmap; }
    operator HBITMAP() const { return m_bitmap; }

    // Row 0, pixel 0; null for an empty image.
    uint8_t* GetBits() { return m_bits; }
    const uint8_t* GetBits() const { return m_bits; }
    // The first byte of pixel (x, y), in memory order blue, green, red[, alpha].
    uint8_t* GetPixelAddress(int x, int y);
    const uint8_t* GetPixelAddress(int x, int y) const;
    // The pixel as a COLORREF (alpha dropped); 0 outside the image.
    COLORREF GetPixel(int x, int y) const;
    // Sets blue, green and red, and for 32 bits the alpha.
    void SetPixel(int x, int y, COLORREF color, uint8_t alpha = 255);

    // A memory device context with the image selected; calls nest and each
    // must be matched by ReleaseDC. Null for an empty image.
    HDC GetDC() const;
    void ReleaseDC() const;

    // At natural size with the upper-left corner at (x, y).
    bool Draw(HDC target, int x, int y) const;
    // The source rectangle stretched onto the destination rectangle.
    bool Draw(HDC target, const RECT& destination, const RECT& source) const;
    bool Draw(HDC target, int xDest, int yDest, int widthDest, int heightDest,
              int xSrc, int ySrc, int widthSrc, int heightSrc) const;

private:
    HBITMAP m_bitmap = nullptr;
    uint8_t* m_bits = nullptr;
    int m_width = 0;
    int m_height = 0;
    int m_bitsPerPixel = 0;
    int m_pitch = 0;
    bool m_hasAlpha = false;

    mutable HDC m_dc = nullptr;
    mutable HGDIOBJ m_previousBitmap = nullptr;
    mutable int m_dcCount = 0;
};

// Holds the image's device context for a scope.
class CImageDC {
public:
    explicit CImageDC(const CImage& image) : m_image(image), m_dc(image.GetDC()) {}
    CImageDC(const CImageDC&) = delete;
    CImageDC& operator=(const CImageDC&) = delete;
    ~CImageDC()
    {
        if (m_dc)
            m_image.ReleaseDC();
    }
    operator HDC() const { return m_dc; }

private:
    const CImage& m_image;
    HDC m_dc;
};
