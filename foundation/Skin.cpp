// The player's skin store.

#include "foundation/Skin.h"

#include "foundation/DataKey.h"
#include "foundation/Utilities.h"

#include <new>

namespace KV {
namespace Skin {

constexpr BYTE FontQuality = ANTIALIASED_QUALITY;

#include "foundation/SkinFunctions.inl"

namespace {

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
    try {
        DataKey root;
        if (!root.Load(GetProgramFile(fileName)))
            return;
        Store().LoadTree(root, FontQuality);
    } catch (const std::bad_alloc&) {
        // What was stored before memory ran out stays; the rest is missing,
        // as for a damaged skin file.
    }
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

} // namespace Skin
} // namespace KV
