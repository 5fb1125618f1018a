// The player's skin store.

#include "foundation/Skin.h"

#include "foundation/DataKey.h"
#include "foundation/Utilities.h"

namespace KV {
namespace Skin {

namespace {

SkinStore& Store()
{
    static SkinStore store;
    return store;
}

// The background brush and the frame pen, made once and deleted when the
// process ends.
struct Defaults {
    HBRUSH bkBrush = CreateSolidBrush(DefaultBkColor);
    HPEN framePen = CreatePen(PS_SOLID, 1, DefaultFramePenColor);
    Defaults() = default;
    Defaults(const Defaults&) = delete;
    Defaults& operator=(const Defaults&) = delete;
    ~Defaults()
    {
        if (bkBrush)
            DeleteObject(bkBrush);
        if (framePen)
            DeleteObject(framePen);
    }
};

const Defaults& GetDefaults()
{
    static Defaults defaults;
    return defaults;
}

} // namespace

void Load(const std::wstring& fileName)
{
    GetDefaults();
    DataKey root;
    if (!root.Load(GetProgramFile(fileName)))
        return;
    Store().LoadTree(root, ANTIALIASED_QUALITY);
}

void LoadImages(const DataKey* key)
{
    Store().LoadImages(key);
}

std::unique_ptr<Font> CreateFontFromKey(const DataKey& key)
{
    return CreateSkinFont(key, ANTIALIASED_QUALITY);
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
    return GetDefaults().bkBrush;
}

HPEN GetFramePen()
{
    return GetDefaults().framePen;
}

COLORREF GetTextColor()
{
    return DefaultTextColor;
}

void Free()
{
    // Also frees images added from the image pack when no Load followed;
    // a second call finds the tables empty.
    Store().Clear();
}

} // namespace Skin
} // namespace KV
