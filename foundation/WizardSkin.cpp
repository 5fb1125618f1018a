// The wizards' skin store.

#include "foundation/WizardSkin.h"

#include "foundation/DataKey.h"

namespace KV {
namespace WizardSkin {

namespace {

SkinStore& Store()
{
    static SkinStore store;
    return store;
}

// Made once, deleted when the process ends.
struct WhiteBrush {
    HBRUSH handle = CreateSolidBrush(DefaultBkColor);
    WhiteBrush() = default;
    WhiteBrush(const WhiteBrush&) = delete;
    WhiteBrush& operator=(const WhiteBrush&) = delete;
    ~WhiteBrush()
    {
        if (handle)
            DeleteObject(handle);
    }
};

HBRUSH Brush()
{
    static WhiteBrush brush;
    return brush.handle;
}

} // namespace

void Load(const DataKey* tree)
{
    Brush();
    if (tree)
        Store().LoadTree(*tree, DEFAULT_QUALITY);
}

void LoadImages(const DataKey* key)
{
    Store().LoadImages(key);
}

std::unique_ptr<Font> CreateFontFromKey(const DataKey& key)
{
    return CreateSkinFont(key, DEFAULT_QUALITY);
}

void PremultiplyAlpha(CImage& image)
{
    PremultiplyImageAlpha(image);
}

CImage* GetImage(const std::string& name)
{
    return Store().GetImage(name);
}

Font* GetFont(const std::string& name)
{
    return Store().GetFont(name);
}

COLORREF GetColor(const std::string& name)
{
    return Store().GetColor(name);
}

HBRUSH GetBkBrush()
{
    return Brush();
}

void Free()
{
    Store().Clear();
}

} // namespace WizardSkin
} // namespace KV
