#pragma once
// The player's utilities: the shared helpers plus the path join through the
// shell (which canonicalises).
// The wizards include WizardUtilities.h instead; the two cannot be mixed in
// one translation unit.

#include "foundation/UtilitiesCommon.h"

#include <string>

namespace KV {

// folder and name joined by PathCombineW ("." and ".." resolved, an absolute
// name taken as it is); empty when the result would not fit MAX_PATH.
std::wstring JoinPath(const std::wstring& folder, const std::wstring& name);

// JoinPath of the program folder and name.
std::wstring GetProgramFile(const std::wstring& name);

} // namespace KV
