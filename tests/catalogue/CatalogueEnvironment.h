#pragma once
// What a catalogue needs around it, as the player has it at start-up: the
// settings loaded from the settings folder, the language pack and the skin,
// here taken from the fixtures built beside the tests.

#include <string>

namespace CatalogueEnvironment {

// Relative to the program folder (the tests' folder).
extern const wchar_t* const FixtureFolder;

// fixture name ("edge.brsc") -> path relative to the program folder.
std::wstring Fixture(const std::wstring& name);
// Full path of a fixture.
std::wstring FixturePath(const std::wstring& name);

// Loads the fixture language pack and skin.
void LoadLanguageAndSkin();
void FreeLanguageAndSkin();

// Makes settingsFixture ("settings.cfg", or empty for none) the user's
// settings file and loads it through the settings store.
void LoadSettings(const std::wstring& settingsFixture);
// The settings file the store reads and writes.
std::wstring SettingsFile();

// Writes bytes as a file in the fixture folder; its relative path.
std::wstring WriteFixture(const std::wstring& name, const std::string& bytes);
std::string ReadFile(const std::wstring& path);

} // namespace CatalogueEnvironment
