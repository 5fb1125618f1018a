// The DIB-section image: layout, its own device context and drawing with and
// without per-pixel alpha, on real GDI.

#include "foundation/Image.h"

#include <gtest/gtest.h>

TEST(ImageTest, CreateGivesTopDownRowsWithAlignedPitch)
{
    CImage image;
    EXPECT_TRUE(image.IsNull());
    EXPECT_FALSE(image.Create(0, 5, 32));
    EXPECT_FALSE(image.Create(5, 5, 16));

    ASSERT_TRUE(image.Create(3, 2, 24));
    EXPECT_EQ(12, image.GetPitch());
    EXPECT_EQ(image.GetBits() + 12 + 3, image.GetPixelAddress(1, 1));
    EXPECT_EQ(nullptr, image.GetPixelAddress(3, 0));
    EXPECT_FALSE(image.HasAlphaChannel());

    ASSERT_TRUE(image.Create(3, 2, 32, true));
    EXPECT_EQ(12, image.GetPitch());
    EXPECT_TRUE(image.HasAlphaChannel());
    image.SetPixel(2, 1, RGB(1, 2, 3), 4);
    const uint8_t* pixel = image.GetPixelAddress(2, 1);
    EXPECT_EQ(3, pixel[0]);
    EXPECT_EQ(2, pixel[1]);
    EXPECT_EQ(1, pixel[2]);
    EXPECT_EQ(4, pixel[3]);
    // Row 1 starts one pitch after row 0: the DIB is top-down.
    EXPECT_EQ(image.GetBits() + 12 + 8, pixel);

    image.Destroy();
    EXPECT_TRUE(image.IsNull());
    EXPECT_EQ(nullptr, image.GetDC());
}

TEST(ImageTest, DeviceContextNestsAndDrawingIntoItReachesThePixels)
{
    CImage image;
    ASSERT_TRUE(image.Create(4, 4, 24));
    HDC first = image.GetDC();
    HDC second = image.GetDC();
    ASSERT_NE(nullptr, first);
    EXPECT_EQ(first, second);
    image.ReleaseDC();
    RECT all = {0, 0, 4, 4};
    HBRUSH brush = CreateSolidBrush(RGB(10, 200, 30));
    FillRect(first, &all, brush);
    DeleteObject(brush);
    image.ReleaseDC();
    EXPECT_EQ(RGB(10, 200, 30), image.GetPixel(3, 3));
}

TEST(ImageTest, AlphaImageBlendsPerPixelOthersCopy)
{
    CImage target;
    ASSERT_TRUE(target.Create(4, 4, 24));
    {
        CImageDC dc(target);
        RECT all = {0, 0, 4, 4};
        FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    }

    // Premultiplied: red 100 at alpha 128 over white.
    CImage blended;
    ASSERT_TRUE(blended.Create(2, 1, 32, true));
    blended.SetPixel(0, 0, RGB(100, 0, 0), 128);
    blended.SetPixel(1, 0, RGB(0, 0, 0), 0);
    {
        CImageDC dc(target);
        EXPECT_TRUE(blended.Draw(dc, 0, 0));
    }
    const COLORREF half = target.GetPixel(0, 0);
    EXPECT_NEAR(100 + 255 * 127 / 255, GetRValue(half), 2);
    EXPECT_NEAR(127, GetGValue(half), 2);
    EXPECT_EQ(RGB(255, 255, 255), target.GetPixel(1, 0));

    // A plain image stretched from one source pixel onto a 2 x 2 block.
    CImage plain;
    ASSERT_TRUE(plain.Create(2, 2, 24));
    plain.SetPixel(1, 1, RGB(0, 0, 200));
    {
        CImageDC dc(target);
        EXPECT_TRUE(plain.Draw(dc, RECT{2, 2, 4, 4}, RECT{1, 1, 2, 2}));
    }
    EXPECT_EQ(RGB(0, 0, 200), target.GetPixel(2, 2));
    EXPECT_EQ(RGB(0, 0, 200), target.GetPixel(3, 3));
    EXPECT_EQ(RGB(255, 255, 255), target.GetPixel(1, 1));
}
