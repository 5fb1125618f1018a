#pragma once
// Which language a wizard starts in: the one stored in the product key, else
// the system's (through the settings' "langs" map), else English.

#include <windows.h>

#include <optional>
#include <string>

// The ext that the settings' "langs" map gives a Windows three-letter
// language name ("RUS" -> "ru"); nothing when the map lacks it.
std::optional<std::wstring> LookupLanguageCode(const std::wstring& threeLetterName);
// HKCU "Control Panel\International" sLanguage mapped through "langs"; when
// that ext is loaded it is selected and returned, otherwise "en" is
// returned (and nothing selected).
std::wstring GetSystemLanguage();
// Selects the product key's "Language" (read with access), defaulting to
// GetSystemLanguage(); the system language is selected first, so a stored
// ext that is not loaded leaves it current.
void InitLanguage(REGSAM access);
