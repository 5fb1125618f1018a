// The wizards' skin store.

#include "foundation/WizardSkin.h"

#include "foundation/DataKey.h"

namespace KV {
namespace WizardSkin {

constexpr BYTE FontQuality = DEFAULT_QUALITY;

#include "foundation/SkinFunctions.inl"

namespace {

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
    if (!tree)
        return;
    try {
        Store().LoadTree(*tree, FontQuality);
    } catch (const std::bad_alloc&) {
        // What was stored before memory ran out stays.
    }
}

HBRUSH GetBkBrush()
{
    return Brush();
}

} // namespace WizardSkin
} // namespace KV
