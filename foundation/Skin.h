#pragma once
// The player's skin: images, fonts and colours fetched by name, plus a
// background brush, a frame pen and a text colour that exist even without a
// skin file. Filled once at start-up on the main thread, read-only until
// Free; callers never delete what they get. The wizards use WizardSkin.h.

#include "foundation/Image.h"
#include "foundation/SkinStore.h"

#include <windows.h>

#include <memory>
#include <string>

namespace KV {

class DataKey;

namespace Skin {

constexpr COLORREF DefaultBkColor = 0x56443D;
constexpr COLORREF DefaultFramePenColor = 0x45AAC3;
constexpr COLORREF DefaultTextColor = 0xEBDCDC;

// Creates the defaults, then reads "images", "fonts" and "colors" of the
// skin file fileName in the program folder; each missing key ends the load.
void Load(const std::wstring& fileName);

#include "foundation/SkinFunctions.h"

// The defaults; they live until the process ends.
HBRUSH GetBkBrush();
HPEN GetFramePen();
COLORREF GetTextColor();

} // namespace Skin
} // namespace KV
