// The wizards' skin store: filled from a tree already in memory, a white
// brush as its only default, fonts of default quality. This file sees only
// the wizards' store, as wizard code does.

#include "foundation/DataKey.h"
#include "foundation/UtilitiesCommon.h"
#include "foundation/WizardSkin.h"

#include <gtest/gtest.h>

#include <string>

namespace {

class WizardSkinTest : public testing::Test {
protected:
    void SetUp() override { KV::Skin::Free(); }
    void TearDown() override { KV::Skin::Free(); }

    static KV::DataKey LoadFixture(const wchar_t* name)
    {
        KV::DataKey tree;
        EXPECT_TRUE(tree.Load(KV::GetProgramFolder() + L"\\fixtures\\" + name));
        return tree;
    }
};

} // namespace

TEST_F(WizardSkinTest, WithoutTreeOnlyTheWhiteBrushExists)
{
    KV::Skin::Load(nullptr);
    LOGBRUSH brush = {};
    ASSERT_NE(nullptr, KV::Skin::GetBkBrush());
    GetObjectW(KV::Skin::GetBkBrush(), sizeof(brush), &brush);
    EXPECT_EQ(0xFFFFFFu, brush.lbColor);
    EXPECT_EQ(nullptr, KV::Skin::GetImage("plain"));
    EXPECT_EQ(nullptr, KV::Skin::GetFont("title"));
    EXPECT_EQ(0u, KV::Skin::GetColor("frame"));
}

TEST_F(WizardSkinTest, TreeGivesPremultipliedImagesDefaultQualityFontsAndColours)
{
    const KV::DataKey tree = LoadFixture(L"skin_full.kvdt");
    KV::Skin::Load(&tree);

    CImage* alpha = KV::Skin::GetImage("alpha");
    ASSERT_NE(nullptr, alpha);
    EXPECT_EQ(100, alpha->GetPixelAddress(0, 0)[2]);
    EXPECT_EQ(24, KV::Skin::GetImage("plain")->GetBPP());

    ASSERT_NE(nullptr, KV::Skin::GetFont("title"));
    LOGFONTW title = {};
    GetObjectW(KV::Skin::GetFont("title")->GetHandle(), sizeof(title), &title);
    EXPECT_EQ(DEFAULT_QUALITY, title.lfQuality);
    EXPECT_EQ(18, title.lfHeight);
    EXPECT_EQ(FW_BOLD, title.lfWeight);
    LOGFONTW lowerName = {};
    GetObjectW(KV::Skin::GetFont("lowername")->GetHandle(), sizeof(lowerName), &lowerName);
    EXPECT_STREQ(L"", lowerName.lfFaceName);

    EXPECT_EQ(RGB(16, 32, 48), KV::Skin::GetColor("frame"));
}

TEST_F(WizardSkinTest, AMissingKeyEndsTheLoad)
{
    const KV::DataKey tree = LoadFixture(L"skin_no_images.kvdt");
    KV::Skin::Load(&tree);
    EXPECT_EQ(nullptr, KV::Skin::GetFont("title"));
    EXPECT_EQ(0u, KV::Skin::GetColor("frame"));
}
