#pragma once
// The setup's and the updaters' utilities: the shared helpers plus a path
// join written out (no canonicalisation, no MAX_PATH limit) and the size text
// of the setup's space lines. Wizard code writes KV::JoinPath as the player
// does; the using-declaration below makes it the wizards' join. Including
// Utilities.h in the same translation unit is a compile error on purpose.

#include "foundation/UtilitiesCommon.h"

#include <cstdint>
#include <functional>
#include <string>

namespace KV {

namespace Wizard {

// Empty second: first. Otherwise the two with exactly one backslash between
// them (one trailing and one leading backslash merge; none is added when one
// side has it).
std::wstring JoinPath(const std::wstring& first, const std::wstring& second);

// Language item ids of the three size units.
constexpr const char* SizeUnitKb = "kb";
constexpr const char* SizeUnitMb = "mb";
constexpr const char* SizeUnitGb = "gb";

// "%.1f %s": bytes in the largest unit it exceeds (above 1 GiB: gb, above
// 1 MiB: mb, else kb), the unit's text taken from unitText(item id).
std::wstring FormatSize(uint64_t bytes, const std::function<std::wstring(const char* unitId)>& unitText);

} // namespace Wizard

using Wizard::JoinPath;

} // namespace KV
