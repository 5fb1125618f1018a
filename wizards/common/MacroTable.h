#pragma once
// The wizards' macros: "#name#" -> text, kept ordered by the names' UTF-16
// code units. Every language text and most settings texts pass through
// ExpandMacros when they are looked up. Filled on the UI thread before any
// worker starts; read-only afterwards.

#include <map>
#include <string>

namespace KV {
class DataKey;
}

using MacroMap = std::map<std::wstring, std::wstring>;

// The package version's macro.
constexpr const wchar_t* VersionMacro = L"#ver#";

// Sets or replaces one macro (the name with both '#').
void SetMacro(const std::wstring& name, const std::wstring& text);
// The macro's text, or empty.
std::wstring GetMacro(const std::wstring& name);
const MacroMap& GetMacros();
void ClearMacros();

// One pass over the table in name order: each name's occurrences, scanned
// left to right without overlap, are replaced by its text. What a
// replacement inserts is not rescanned for that name but is seen by the
// names after it. Names match case-sensitively.
std::wstring ExpandMacros(const std::wstring& text);
// The same over another table (such as a copy of the run's with one text
// changed), so that a macro named inside another one's text follows too.
std::wstring ExpandMacros(const std::wstring& text, const MacroMap& table);
// text with the occurrences of one name replaced as ExpandMacros replaces
// them; other names stay as they are.
std::wstring ReplaceMacro(const std::wstring& text, const std::wstring& name, const std::wstring& replacement);

// Every StringW value of the settings' "macros" node (value name = macro
// name).
void LoadMacros(const KV::DataKey& settings);
