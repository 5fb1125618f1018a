#pragma once
// The wizards' language module: the documents of lng.lngp in file order, one
// of them current, and text look-ups that expand macros. Loaded and switched
// on the UI thread before any worker starts; read by both threads afterwards
// (every look-up returns its own text).

#include <windows.h>

#include <string>

namespace KV {
class DataKey;
}

// Root name a language pack must carry.
constexpr const char* LanguagePackRootName = "lang_doc_1.0";

// Reads lang_0, lang_1, ... of a pack tree until one is missing or has an
// empty "language" or "ext"; replaces what was loaded and selects nothing.
// A null tree or another root name loads nothing. Returns the count.
int LoadLanguages(const KV::DataKey* tree);
void FreeLanguages();

int GetLanguageCount();
// Display name and ext of a loaded language; empty out of range.
const std::wstring& GetLanguageName(int index);
const std::wstring& GetLanguageExt(int index);
// -1 and empty when none is current.
int GetCurrentLanguageIndex();
const std::wstring& GetCurrentLanguageExt();

// Makes the first language with exactly that ext current and sets the
// language macros; its index, or -1 (the current language stays).
int SelectLanguage(const std::wstring& ext);
// The same by position; out of range changes nothing.
void SelectLanguageByIndex(int index);
// "#lang#" := ext, "#zone#" := the settings' zone of ext, default "com".
void SetLanguageMacros(const std::wstring& ext);
// Every item of the current language whose id begins with '#' becomes a
// macro with the item's "text" (not expanded).
void AddLanguageMacros();

// Field of an item of the current language, macro-expanded; empty when the
// item or the field is missing or no language is current.
std::wstring GetLanguageField(const std::string& id, const std::string& field);
// Field "text" and field "desc".
std::wstring GetLanguageText(const std::string& id);
std::wstring GetLanguageDesc(const std::string& id);
// The text of the item named by the control id in decimal.
std::wstring GetControlText(int controlId);

// For each direct child of window with a non-zero control id: the field of
// item key named by that id in decimal, when not empty, becomes its text.
// setWindowText first sets window's own text to the item's text.
void ApplyControlTexts(HWND window, const std::string& key, bool setWindowText);
