// The wizards' language documents and look-ups.

#include "wizards/common/WizardLanguages.h"

#include "foundation/DataKey.h"
#include "foundation/LangDoc.h"
#include "wizards/common/MacroTable.h"
#include "wizards/common/ProductSettings.h"
#include "wizards/common/Text.h"

#include <vector>

namespace {

struct Language {
    KV::LangDoc document;
    // Ids of the items that are macros, in the pack's order.
    std::vector<std::string> macroIds;
};

struct LanguageState {
    std::vector<Language> languages;
    int current = -1;
};

LanguageState& State()
{
    static LanguageState state;
    return state;
}

const std::wstring& EmptyText()
{
    static const std::wstring empty;
    return empty;
}

const KV::LangDoc* CurrentDocument()
{
    const LanguageState& state = State();
    if (state.current < 0 || state.current >= static_cast<int>(state.languages.size()))
        return nullptr;
    return &state.languages[static_cast<size_t>(state.current)].document;
}

} // namespace

int LoadLanguages(const KV::DataKey* tree)
{
    FreeLanguages();
    if (!tree || tree->GetName() != LanguagePackRootName)
        return 0;
    LanguageState& state = State();
    for (int index = 0;; ++index) {
        const KV::DataKey* node = tree->GetKey("lang_" + DecimalText(index));
        if (!node)
            break;
        Language language;
        if (!language.document.FromKey(*node))
            break;
        for (const auto& item : node->GetKeys()) {
            if (!item.first.empty() && item.first[0] == '#')
                language.macroIds.push_back(item.first);
        }
        state.languages.push_back(std::move(language));
    }
    return static_cast<int>(state.languages.size());
}

void FreeLanguages()
{
    State().languages.clear();
    State().current = -1;
}

int GetLanguageCount()
{
    return static_cast<int>(State().languages.size());
}

const std::wstring& GetLanguageName(int index)
{
    if (index < 0 || index >= GetLanguageCount())
        return EmptyText();
    return State().languages[static_cast<size_t>(index)].document.GetLanguage();
}

const std::wstring& GetLanguageExt(int index)
{
    if (index < 0 || index >= GetLanguageCount())
        return EmptyText();
    return State().languages[static_cast<size_t>(index)].document.GetExt();
}

int GetCurrentLanguageIndex()
{
    return CurrentDocument() ? State().current : -1;
}

const std::wstring& GetCurrentLanguageExt()
{
    const KV::LangDoc* document = CurrentDocument();
    return document ? document->GetExt() : EmptyText();
}

int SelectLanguage(const std::wstring& ext)
{
    for (int index = 0; index < GetLanguageCount(); ++index) {
        if (GetLanguageExt(index) == ext) {
            State().current = index;
            SetLanguageMacros(ext);
            return index;
        }
    }
    return -1;
}

void SelectLanguageByIndex(int index)
{
    if (index < 0 || index >= GetLanguageCount())
        return;
    State().current = index;
    SetLanguageMacros(GetLanguageExt(index));
}

void SetLanguageMacros(const std::wstring& ext)
{
    SetMacro(L"#lang#", ext);
    const StringMap& zones = GetZoneMap();
    const auto zone = zones.find(ext);
    SetMacro(L"#zone#", zone == zones.end() ? std::wstring(L"com") : zone->second);
}

void AddLanguageMacros()
{
    const LanguageState& state = State();
    const KV::LangDoc* document = CurrentDocument();
    if (!document)
        return;
    for (const std::string& id : state.languages[static_cast<size_t>(state.current)].macroIds)
        SetMacro(WidenAnsi(id), document->Get(id, "text"));
}

std::wstring GetLanguageField(const std::string& id, const std::string& field)
{
    const KV::LangDoc* document = CurrentDocument();
    if (!document)
        return std::wstring();
    return ExpandMacros(document->Get(id, field));
}

std::wstring GetLanguageText(const std::string& id)
{
    return GetLanguageField(id, "text");
}

std::wstring GetLanguageDesc(const std::string& id)
{
    return GetLanguageField(id, "desc");
}

std::wstring GetControlText(int controlId)
{
    return GetLanguageText(DecimalText(controlId));
}

void ApplyControlTexts(HWND window, const std::string& key, bool setWindowText)
{
    if (setWindowText)
        ::SetWindowTextW(window, GetLanguageText(key).c_str());
    for (HWND child = ::GetWindow(window, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        const int id = ::GetDlgCtrlID(child);
        if (id == 0)
            continue;
        const std::wstring text = GetLanguageField(key, DecimalText(id));
        if (!text.empty())
            ::SetWindowTextW(child, text.c_str());
    }
}
