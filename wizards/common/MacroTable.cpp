// The macro table and its expansion.

#include "wizards/common/MacroTable.h"

#include "foundation/DataKey.h"
#include "wizards/common/Text.h"

namespace {

MacroMap& Table()
{
    static MacroMap table;
    return table;
}

} // namespace

void SetMacro(const std::wstring& name, const std::wstring& text)
{
    Table()[name] = text;
}

std::wstring GetMacro(const std::wstring& name)
{
    const auto found = Table().find(name);
    return found == Table().end() ? std::wstring() : found->second;
}

const MacroMap& GetMacros()
{
    return Table();
}

void ClearMacros()
{
    Table().clear();
}

std::wstring ReplaceMacro(const std::wstring& text, const std::wstring& name, const std::wstring& replacement)
{
    std::wstring result = text;
    if (name.empty())
        return result;
    size_t position = result.find(name);
    while (position != std::wstring::npos) {
        result.replace(position, name.size(), replacement);
        position = result.find(name, position + replacement.size());
    }
    return result;
}

std::wstring ExpandMacros(const std::wstring& text)
{
    return ExpandMacros(text, Table());
}

std::wstring ExpandMacros(const std::wstring& text, const MacroMap& table)
{
    std::wstring result = text;
    for (const auto& macro : table)
        result = ReplaceMacro(result, macro.first, macro.second);
    return result;
}

void LoadMacros(const KV::DataKey& settings)
{
    const KV::DataKey* macros = settings.GetKey("macros");
    if (!macros)
        return;
    for (const auto& entry : macros->GetValues()) {
        const std::wstring* text = entry.second ? entry.second->GetStringW() : nullptr;
        if (text)
            SetMacro(WidenAnsi(entry.first), *text);
    }
}
