// The player's skin store against skin files built from text, real GDI
// fonts, brushes and pens.

#include "foundation/DataKey.h"
#include "foundation/Image.h"
#include "foundation/Skin.h"
#include "foundation/Utilities.h"

#include <gtest/gtest.h>

#include <string>

namespace {

LOGFONTW FontDetails(const KV::Font* font)
{
    LOGFONTW details = {};
    if (font)
        GetObjectW(font->GetHandle(), sizeof(details), &details);
    return details;
}

class SkinTest : public testing::Test {
protected:
    void SetUp() override { KV::Skin::Free(); }
    void TearDown() override { KV::Skin::Free(); }
};

} // namespace

TEST_F(SkinTest, WithoutSkinFileTheDefaultsExistAndLookupsMiss)
{
    KV::Skin::Load(L"fixtures\\missing.kvdt");

    LOGBRUSH brush = {};
    ASSERT_NE(nullptr, KV::Skin::GetBkBrush());
    ASSERT_EQ(static_cast<int>(sizeof(brush)), GetObjectW(KV::Skin::GetBkBrush(), sizeof(brush), &brush));
    EXPECT_EQ(static_cast<UINT>(BS_SOLID), brush.lbStyle);
    EXPECT_EQ(0x56443Du, brush.lbColor);

    LOGPEN pen = {};
    ASSERT_NE(nullptr, KV::Skin::GetFramePen());
    ASSERT_EQ(static_cast<int>(sizeof(pen)), GetObjectW(KV::Skin::GetFramePen(), sizeof(pen), &pen));
    EXPECT_EQ(static_cast<UINT>(PS_SOLID), pen.lopnStyle);
    EXPECT_EQ(1, pen.lopnWidth.x);
    EXPECT_EQ(0x45AAC3u, pen.lopnColor);

    EXPECT_EQ(0xEBDCDCu, KV::Skin::GetTextColor());
    EXPECT_EQ(0u, KV::Skin::GetColor("frame"));
    EXPECT_EQ(nullptr, KV::Skin::GetImage("plain"));
    EXPECT_EQ(nullptr, KV::Skin::GetFont("title"));
}

TEST_F(SkinTest, ImagesDecodeAndOnly32BitOnesArePremultiplied)
{
    KV::Skin::Load(L"fixtures\\skin_full.kvdt");

    CImage* alpha = KV::Skin::GetImage("alpha");
    ASSERT_NE(nullptr, alpha);
    EXPECT_EQ(32, alpha->GetBPP());
    // (blue, green, red, alpha) of the picture: (50, 100, 200, 128),
    // (30, 20, 10, 0), (120, 80, 40, 255).
    const uint8_t* half = alpha->GetPixelAddress(0, 0);
    EXPECT_EQ(25, half[0]);
    EXPECT_EQ(50, half[1]);
    EXPECT_EQ(100, half[2]);
    EXPECT_EQ(128, half[3]);
    const uint8_t* clear = alpha->GetPixelAddress(1, 0);
    EXPECT_EQ(0, clear[0] | clear[1] | clear[2] | clear[3]);
    EXPECT_EQ(RGB(40, 80, 120), alpha->GetPixel(0, 1));

    CImage* plain = KV::Skin::GetImage("plain");
    ASSERT_NE(nullptr, plain);
    EXPECT_EQ(24, plain->GetBPP());
    EXPECT_EQ(RGB(10, 20, 30), plain->GetPixel(0, 1));

    EXPECT_EQ(nullptr, KV::Skin::GetImage("broken"));
    EXPECT_EQ(nullptr, KV::Skin::GetImage("named_only"));
    EXPECT_EQ(nullptr, KV::Skin::GetImage("inner"));
}

TEST_F(SkinTest, AFamilyOfNamesIsAskedForOnce)
{
    EXPECT_FALSE(KV::Skin::HasImagesStartingWith(""));
    KV::Skin::Load(L"fixtures\\skin_full.kvdt");
    struct Case {
        const char* prefix;
        bool has;
    };
    // "broken" does not decode: no image of that name.
    for (const Case& c : {Case{"", true}, Case{"a", true}, Case{"alpha", true}, Case{"alphab", false},
                          Case{"pl", true}, Case{"br", false}, Case{"b", false}, Case{"z", false}}) {
        EXPECT_EQ(KV::Skin::HasImagesStartingWith(c.prefix), c.has) << c.prefix;
    }
}

TEST_F(SkinTest, FontsTakeTheirFiveValuesWithDefaults)
{
    KV::Skin::Load(L"fixtures\\skin_full.kvdt");

    const LOGFONTW title = FontDetails(KV::Skin::GetFont("title"));
    ASSERT_NE(nullptr, KV::Skin::GetFont("title"));
    EXPECT_EQ(18, title.lfHeight);
    EXPECT_EQ(FW_BOLD, title.lfWeight);
    EXPECT_TRUE(title.lfItalic);
    EXPECT_TRUE(title.lfUnderline);
    EXPECT_FALSE(title.lfStrikeOut);
    EXPECT_EQ(ANTIALIASED_QUALITY, title.lfQuality);
    EXPECT_EQ(DEFAULT_PITCH | FF_SWISS, title.lfPitchAndFamily);
    EXPECT_EQ(ANSI_CHARSET, title.lfCharSet);
    EXPECT_STREQ(L"Arial", title.lfFaceName);

    const LOGFONTW noHeight = FontDetails(KV::Skin::GetFont("noheight"));
    EXPECT_EQ(10, noHeight.lfHeight);
    EXPECT_EQ(FW_DONTCARE, noHeight.lfWeight);
    EXPECT_FALSE(noHeight.lfItalic);

    const LOGFONTW lowerName = FontDetails(KV::Skin::GetFont("lowername"));
    ASSERT_NE(nullptr, KV::Skin::GetFont("lowername"));
    EXPECT_STREQ(L"", lowerName.lfFaceName);
    EXPECT_EQ(16, lowerName.lfHeight);

    const LOGFONTW longFace = FontDetails(KV::Skin::GetFont("longface"));
    EXPECT_EQ(std::wstring(L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcde"), longFace.lfFaceName);

    // Values of another type count as missing.
    const LOGFONTW wrongTypes = FontDetails(KV::Skin::GetFont("uintheight"));
    EXPECT_EQ(10, wrongTypes.lfHeight);
    EXPECT_EQ(FW_DONTCARE, wrongTypes.lfWeight);

    EXPECT_EQ(nullptr, KV::Skin::GetFont("stray"));

    // A real font: text can be measured with it.
    HDC screen = GetDC(nullptr);
    HGDIOBJ previous = SelectObject(screen, KV::Skin::GetFont("title")->GetHandle());
    SIZE extent = {};
    EXPECT_TRUE(GetTextExtentPoint32W(screen, L"Brisvane", 8, &extent));
    EXPECT_GT(extent.cx, 0);
    SelectObject(screen, previous);
    ReleaseDC(nullptr, screen);
}

TEST_F(SkinTest, ColoursAreColorValuesTakenWhole)
{
    KV::Skin::Load(L"fixtures\\skin_full.kvdt");
    EXPECT_EQ(RGB(16, 32, 48), KV::Skin::GetColor("frame"));
    EXPECT_EQ(RGB(255, 255, 255), KV::Skin::GetColor("text"));
    EXPECT_EQ(0u, KV::Skin::GetColor("as_int"));
    EXPECT_EQ(0u, KV::Skin::GetColor("hidden"));
}

TEST_F(SkinTest, AMissingKeyEndsTheLoad)
{
    KV::Skin::Load(L"fixtures\\skin_no_images.kvdt");
    EXPECT_EQ(nullptr, KV::Skin::GetFont("title"));
    EXPECT_EQ(0u, KV::Skin::GetColor("frame"));

    KV::Skin::Free();
    KV::Skin::Load(L"fixtures\\skin_no_fonts.kvdt");
    EXPECT_NE(nullptr, KV::Skin::GetImage("plain"));
    EXPECT_EQ(0u, KV::Skin::GetColor("frame"));
}

TEST_F(SkinTest, SkinImagesReplaceImagePackImagesOfTheSameName)
{
    KV::DataKey pack;
    ASSERT_TRUE(pack.Load(KV::GetProgramFile(L"Recres.kvdt")));
    KV::Skin::LoadImages(pack.GetKey("images"));
    KV::Skin::LoadImages(nullptr);
    CImage* fromPack = KV::Skin::GetImage("shared");
    ASSERT_NE(nullptr, fromPack);
    EXPECT_EQ(2, fromPack->GetWidth());

    KV::Skin::Load(L"fixtures\\skin_full.kvdt");
    CImage* fromSkin = KV::Skin::GetImage("shared");
    ASSERT_NE(nullptr, fromSkin);
    EXPECT_EQ(3, fromSkin->GetWidth());
    EXPECT_NE(nullptr, KV::Skin::GetImage("pack_only"));
    // The replaced image stays valid for whoever still holds it, until Free.
    EXPECT_EQ(2, fromPack->GetWidth());
}

TEST_F(SkinTest, FreeEmptiesTheTablesOnceAndKeepsTheDefaults)
{
    KV::Skin::Load(L"fixtures\\skin_full.kvdt");
    ASSERT_NE(nullptr, KV::Skin::GetImage("alpha"));
    HBRUSH brush = KV::Skin::GetBkBrush();

    KV::Skin::Free();
    EXPECT_EQ(nullptr, KV::Skin::GetImage("alpha"));
    EXPECT_EQ(nullptr, KV::Skin::GetFont("title"));
    EXPECT_EQ(0u, KV::Skin::GetColor("frame"));
    KV::Skin::Free();
    EXPECT_EQ(brush, KV::Skin::GetBkBrush());
    LOGBRUSH details = {};
    EXPECT_EQ(static_cast<int>(sizeof(details)), GetObjectW(brush, sizeof(details), &details));
}

struct PremultiplyCase {
    uint8_t colour;
    uint8_t alpha;
    uint8_t expected;
};

class PremultiplyTest : public testing::TestWithParam<PremultiplyCase> {};

TEST_P(PremultiplyTest, ColourTimesAlphaOver255Truncated)
{
    const PremultiplyCase& c = GetParam();
    CImage image;
    ASSERT_TRUE(image.Create(1, 1, 32, true));
    image.SetPixel(0, 0, RGB(c.colour, c.colour, c.colour), c.alpha);
    KV::Skin::PremultiplyAlpha(image);
    const uint8_t* pixel = image.GetPixelAddress(0, 0);
    EXPECT_EQ(c.expected, pixel[0]);
    EXPECT_EQ(c.expected, pixel[1]);
    EXPECT_EQ(c.expected, pixel[2]);
    EXPECT_EQ(c.alpha, pixel[3]);
}

INSTANTIATE_TEST_SUITE_P(Table, PremultiplyTest, testing::Values(
    PremultiplyCase{200, 128, 100},
    PremultiplyCase{255, 0, 0},
    PremultiplyCase{77, 255, 77},
    PremultiplyCase{255, 1, 1},
    PremultiplyCase{254, 1, 0}));

TEST(PremultiplyDepthTest, TwentyFourBitImagesAreLeftAlone)
{
    CImage image;
    ASSERT_TRUE(image.Create(1, 1, 24));
    image.SetPixel(0, 0, RGB(200, 100, 50));
    KV::Skin::PremultiplyAlpha(image);
    EXPECT_EQ(RGB(200, 100, 50), image.GetPixel(0, 0));
}
