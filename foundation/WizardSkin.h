#pragma once
// The setup's and the updaters' skin: the same tables as the player's, filled
// from a tree already read from the program's archive, with one white brush
// as the only default and fonts of default quality. Wizard code writes
// KV::Skin:: as the player does; the alias below makes that this store.
// Including Skin.h in the same translation unit is a compile error on purpose.

#include "foundation/Image.h"
#include "foundation/SkinStore.h"

#include <windows.h>

#include <memory>
#include <string>

namespace KV {

class DataKey;

namespace WizardSkin {

constexpr COLORREF DefaultBkColor = 0xFFFFFF;

// Creates the white brush, then reads "images", "fonts" and "colors" of
// tree (null: defaults only); each missing key ends the load.
void Load(const DataKey* tree);

#include "foundation/SkinFunctions.h"

// The white brush; it lives until the process ends.
HBRUSH GetBkBrush();

} // namespace WizardSkin

namespace Skin = WizardSkin;

} // namespace KV
