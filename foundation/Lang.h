#pragma once
// The player's language module: the languages of one language pack, one of
// them current, text lookups by id, and the translation of menus and windows
// whose texts are ids. Loaded once on the main thread before other threads
// start; read-only until Free.

#include <windows.h>

#include <functional>
#include <string>

namespace KV {
namespace Lang {

// Root name a language pack must carry.
constexpr const char* PackRootName = "lang_doc_1.0";

// Supplies the code of the wanted language when a pack is loaded (the
// player's settings register their "Language" option here). Without a
// source the wanted code is "en".
void SetWantedLanguageSource(std::function<std::wstring()> source);

// Loads the pack fileName from the program folder (replacing what was
// loaded) and makes current the first language whose code equals the wanted
// one; none is current when no language matches. Reading stops at the first
// missing "lang_N" node or at one with an empty "language" or "ext"; the
// languages read before such a node stay and can become current.
void Load(const std::wstring& fileName);

// Forgets the current language and deletes every document.
void Free();

// Field "text" of id in the current language; empty when missing. The
// reference stays valid until Free.
const std::wstring& GetText(const std::string& id);
// Field "desc" of id in the current language.
const std::wstring& GetDesc(const std::string& id);
// SetDlgItemTextW of control controlId with GetText(textId).
void SetItemText(HWND window, int controlId, const std::string& textId);

// Code of the current language; empty when none.
const std::wstring& GetCurrentExt();
// Index of the current language, -1 when none.
int GetCurrentIndex();

int GetCount();
// Display name and code of the language at index; empty out of range.
const std::wstring& GetLanguageName(int index);
const std::wstring& GetExt(int index);
// Index of the first language with exactly that code, or -1.
int FindIndex(const std::wstring& ext);

// Replaces the text of every item of menu (not of its submenus) by the
// "text" of the item's text taken as an id, also when that is empty
// (separators stay separators).
void TranslateMenu(HMENU menu);
// Replaces the text of window and of each descendant by the "text" of its
// text taken as an id, where that lookup is not empty.
void TranslateWindow(HWND window);

} // namespace Lang
} // namespace KV
