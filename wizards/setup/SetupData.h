#pragma once
// Filling and emptying the setup's run state.

#include <string>

// Reads the archive appended to the program file at programPath (or, when
// it has none, the Project\ folder beside the program): languages, skin,
// settings and their lists, the recorder edition, the uninstall log and its
// path, the components, the origin text, the start-up language and the
// installed version. The program file stays open until ExitCleanup.
void LoadSetupData(const std::wstring& programPath);
// After the language choice: the language's macros, then what is named
// with them (the uninstall's scope).
void ApplyLanguageChoice();
// The settings' lists, the install folder (the update mode's InstallDir
// wins), the package version and the per-user flag.
void LoadSettingsLists();
// Closes the archive, frees skin, languages, components and settings, and
// starts the program when a setup (not an uninstall) completed and the
// launch flag is set.
void ExitCleanup();
