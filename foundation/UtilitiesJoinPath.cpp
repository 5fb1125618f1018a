// The player's path join. Kept in a file of its own: the wizards join paths
// without the shell (WizardUtilities.cpp) and must not link this one.

#include "foundation/Utilities.h"

#include <shlwapi.h>

namespace KV {

std::wstring JoinPath(const std::wstring& folder, const std::wstring& name)
{
    wchar_t buffer[MAX_PATH] = L"";
    if (!PathCombineW(buffer, folder.c_str(), name.c_str()))
        return std::wstring();
    return buffer;
}

std::wstring GetProgramFile(const std::wstring& name)
{
    return JoinPath(GetProgramFolder(), name);
}

} // namespace KV
