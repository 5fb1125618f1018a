// The definitions of SkinFunctions.h, shared by the two skin variants:
// Skin.cpp and WizardSkin.cpp include this inside their namespace, after
// defining FontQuality (the quality their fonts are made in). Each
// translation unit so gets a store of its own for its program.

namespace {

SkinStore& Store()
{
    static SkinStore store;
    return store;
}

} // namespace

void LoadImages(const DataKey* key)
{
    Store().LoadImages(key);
}

std::unique_ptr<Font> CreateFontFromKey(const DataKey& key)
{
    return CreateSkinFont(key, FontQuality);
}

void PremultiplyAlpha(CImage& image)
{
    PremultiplyImageAlpha(image);
}

CImage* GetImage(const std::string& name)
{
    return Store().GetImage(name);
}

bool HasImagesStartingWith(const std::string& prefix)
{
    return Store().HasImagesStartingWith(prefix);
}

Font* GetFont(const std::string& name)
{
    return Store().GetFont(name);
}

COLORREF GetColor(const std::string& name)
{
    return Store().GetColor(name);
}

void Free()
{
    Store().Clear();
}
