// The shipped skin and image pack, read through the player's skin store:
// every image the player's windows ask for decodes at the size their layouts
// assume, the images that are drawn without alpha or into buffers that are
// never cleared are opaque, every font is made with a face the system has,
// and every colour is there.
#include "foundation/DataKey.h"
#include "foundation/DataValue.h"
#include "foundation/Skin.h"
#include "tests/data/ShippedData.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <set>
#include <string>

namespace {

struct ExpectedImage {
    const char* name;
    int width;
    int height;
    // Drawn without its alpha (24-bit image lists of the control bar), over
    // a red backdrop (dialog buttons) or into a buffer nothing clears (tab
    // strip, header, volume slider): every pixel must be opaque.
    bool opaque;
};

const ExpectedImage Images[] = {
    // Dialog buttons: three slices stretched to the button width, 23 px high.
    {"b0", 20, 23, true}, {"b1", 20, 23, true}, {"b2", 20, 23, true},
    // Control bar: 90 px high, cut around its centre column; its buttons.
    {"controls_bg", 280, 90, true},
    {"bplay0", 50, 50, true}, {"bplay1", 50, 50, true}, {"bplay2", 50, 50, true},
    {"bstop0", 50, 50, true}, {"bstop1", 50, 50, true}, {"bstop2", 50, 50, true},
    {"bnext0", 55, 29, true}, {"bnext1", 55, 29, true}, {"bnext2", 55, 29, true},
    {"bprev0", 55, 29, true}, {"bprev1", 55, 29, true}, {"bprev2", 55, 29, true},
    {"bfs0", 27, 27, true}, {"bfs1", 27, 27, true}, {"bfs2", 27, 27, true},
    {"brec0", 27, 27, true}, {"brec1", 27, 27, true}, {"brec2", 27, 27, true},
    {"volume_bg", 78, 16, true}, {"volume_thumb", 12, 16, false},
    // Tab strips: 8-pixel ends, 36 px high like the channel panel's strip.
    {"tab00", 24, 36, true}, {"tab01", 24, 36, true}, {"tab02", 24, 36, true}, {"tab0bg", 8, 36, true},
    // Check box: its text is centred on the box's upper 16 rows.
    {"check_box_0", 16, 16, false}, {"check_box_1", 16, 16, false},
    // Header bar of the main window, 48 px high, and its menu mark.
    {"header_bg", 320, 48, true}, {"menu_down", 14, 12, false},
    // Message box, about box and splash.
    {"msgbox_header", 210, 32, false}, {"msgbox_footer", 16, 44, false},
    {"banner", 476, 48, false}, {"kvlogo", 160, 36, false},
    // Rows of the channel list (37 px) and of the records list (30 px).
    {"channelgridline", 230, 1, false},
    {"icon_tv_32", 32, 32, false}, {"icon_radio_32", 32, 32, false}, {"icon_recordable", 16, 16, false},
    {"icon_tv_16", 16, 16, false}, {"icon_radio_16", 16, 16, false},
    {"icon_schedule", 24, 24, false}, {"icon_disc", 24, 24, false}, {"icon_recording", 24, 24, false},
    // The recorder edition's image pack.
    {"banner_recorder", 476, 60, false}, {"header_recorder", 130, 48, false}, {"header_recorder_32", 110, 32, false},
};

const char* const FontNames[] = {"menu", "menu_u", "button", "arial16", "channelname", "channelinfo"};
const char* const ColorNames[] = {"tab_0", "tab_1", "tab_2", "check_2"};

// Flags go beside the channel name in 37-pixel rows and in 18-pixel combo
// items: 16 x 11 ("f_" + country key).
constexpr int FlagWidth = 16;
constexpr int FlagHeight = 11;

class ShippedSkin : public testing::Test {
protected:
    static void SetUpTestSuite() { ShippedData::LoadSkin(); }
};

bool IsOpaque(const CImage& image)
{
    for (int y = 0; y < image.GetHeight(); ++y) {
        for (int x = 0; x < image.GetWidth(); ++x) {
            if (image.GetPixelAddress(x, y)[3] != 255)
                return false;
        }
    }
    return true;
}

void ExpectImage(const std::string& name, int width, int height, bool opaque)
{
    SCOPED_TRACE(name);
    CImage* image = KV::Skin::GetImage(name);
    ASSERT_NE(image, nullptr) << "the skin has no image " << name;
    EXPECT_EQ(image->GetWidth(), width);
    EXPECT_EQ(image->GetHeight(), height);
    // 32-bit PNG with alpha.
    ASSERT_EQ(image->GetBPP(), 32);
    EXPECT_TRUE(image->HasAlphaChannel());
    if (opaque) {
        EXPECT_TRUE(IsOpaque(*image)) << name << " has pixels that are not opaque";
    }
}

// Names of the "images" values of a shipped skin file.
std::set<std::string> ImageNames(const wchar_t* fileName)
{
    KV::DataKey root;
    std::set<std::string> names;
    if (!ShippedData::LoadTree(fileName, root))
        return names;
    if (const KV::DataKey* images = root.GetKey("images")) {
        for (const auto& entry : images->GetValues())
            names.insert(entry.first);
    }
    return names;
}

TEST_F(ShippedSkin, EveryNamedImageDecodesAtItsSize)
{
    for (const auto& expected : Images)
        ExpectImage(expected.name, expected.width, expected.height, expected.opaque);
}

TEST_F(ShippedSkin, EveryCountryOfTheCatalogueHasItsFlag)
{
    ShippedData::Catalogue catalogue;
    ASSERT_FALSE(catalogue.List().GetCountries().empty());
    for (const auto& country : catalogue.List().GetCountries())
        ExpectImage("f_" + country.first, FlagWidth, FlagHeight, false);
}

TEST_F(ShippedSkin, HoldsNoImageThatNothingAsksFor)
{
    ShippedData::Catalogue catalogue;
    std::set<std::string> known;
    for (const auto& expected : Images)
        known.insert(expected.name);
    for (const auto& country : catalogue.List().GetCountries()) {
        known.insert("f_" + country.first);
        // Channel icons: "c_" + id, or "c_" + channel key.
        for (const auto& channel : country.second->GetChannels()) {
            known.insert("c_" + channel.second->GetId());
            known.insert("c_" + std::string(channel.second->GetKey()));
        }
    }
    for (const wchar_t* file : {L"Resources.kvdt", L"Recres.kvdt"}) {
        const std::set<std::string> names = ImageNames(file);
        EXPECT_FALSE(names.empty());
        for (const auto& name : names)
            EXPECT_TRUE(known.count(name)) << "image " << name << " is not asked for by any window";
    }
}

TEST_F(ShippedSkin, EveryFontIsMadeWithAFaceTheSystemHas)
{
    KV::DataKey root;
    ASSERT_TRUE(ShippedData::LoadTree(L"Resources.kvdt", root));
    const KV::DataKey* fonts = root.GetKey("fonts");
    ASSERT_NE(fonts, nullptr);
    HDC dc = CreateCompatibleDC(nullptr);
    ASSERT_NE(dc, nullptr);
    for (const char* name : FontNames) {
        SCOPED_TRACE(name);
        const KV::DataKey* key = fonts->GetKey(name);
        ASSERT_NE(key, nullptr);
        const std::wstring face = key->GetStringW("Name", L"");
        EXPECT_FALSE(face.empty());
        EXPECT_GT(key->GetInt("Height", 0), 0);
        KV::Font* font = KV::Skin::GetFont(name);
        ASSERT_NE(font, nullptr);
        ASSERT_NE(font->GetHandle(), nullptr);
        LOGFONTW logFont = {};
        ASSERT_EQ(GetObjectW(font->GetHandle(), sizeof logFont, &logFont), static_cast<int>(sizeof logFont));
        EXPECT_EQ(logFont.lfHeight, key->GetInt("Height", 0));
        // The face the system really selects: a missing one would be
        // replaced without a word.
        HGDIOBJ previous = SelectObject(dc, font->GetHandle());
        wchar_t selected[LF_FACESIZE] = {};
        GetTextFaceW(dc, LF_FACESIZE, selected);
        SelectObject(dc, previous);
        EXPECT_EQ(_wcsicmp(selected, face.c_str()), 0) << "asked for a face the system lacks";
    }
    DeleteDC(dc);
}

TEST_F(ShippedSkin, EveryColourIsSet)
{
    KV::DataKey root;
    ASSERT_TRUE(ShippedData::LoadTree(L"Resources.kvdt", root));
    const KV::DataKey* colors = root.GetKey("colors");
    ASSERT_NE(colors, nullptr);
    for (const char* name : ColorNames) {
        SCOPED_TRACE(name);
        const KV::DataValue* value = colors->FindValue(name, KV::ValueType::Color);
        ASSERT_NE(value, nullptr);
        EXPECT_EQ(KV::Skin::GetColor(name), value->GetColor());
        // Texts in these colours stand on the dark skin: they must be light.
        const COLORREF color = value->GetColor();
        EXPECT_GT(GetRValue(color) + GetGValue(color) + GetBValue(color), 3 * 0x60);
    }
}

} // namespace
