// The player's language module.

#include "foundation/Lang.h"

#include "foundation/DataKey.h"
#include "foundation/LangDoc.h"
#include "foundation/Utilities.h"

#include <memory>
#include <new>
#include <vector>

namespace KV {
namespace Lang {

namespace {

struct State {
    std::vector<std::unique_ptr<LangDoc>> documents;
    const LangDoc* current = nullptr;
    std::function<std::wstring()> wantedSource;
};

State& GetState()
{
    static State state;
    return state;
}

const std::wstring& EmptyText()
{
    static const std::wstring empty;
    return empty;
}

const LangDoc* DocumentAt(int index)
{
    const State& state = GetState();
    if (index < 0 || static_cast<size_t>(index) >= state.documents.size())
        return nullptr;
    return state.documents[static_cast<size_t>(index)].get();
}

std::wstring WantedLanguage()
{
    const State& state = GetState();
    return state.wantedSource ? state.wantedSource() : std::wstring(L"en");
}

std::wstring GetWindowString(HWND window)
{
    const int length = GetWindowTextLengthW(window);
    if (length <= 0)
        return std::wstring();
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    const int copied = GetWindowTextW(window, &text[0], length + 1);
    text.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
    return text;
}

std::wstring GetMenuItemString(HMENU menu, int position)
{
    const int length = GetMenuStringW(menu, static_cast<UINT>(position), nullptr, 0, MF_BYPOSITION);
    if (length <= 0)
        return std::wstring();
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    const int copied = GetMenuStringW(menu, static_cast<UINT>(position), &text[0], length + 1, MF_BYPOSITION);
    text.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
    return text;
}

} // namespace

void SetWantedLanguageSource(std::function<std::wstring()> source)
{
    GetState().wantedSource = std::move(source);
}

namespace {

void LoadDocuments(const std::wstring& fileName)
{
    State& state = GetState();
    DataKey root;
    if (!root.Load(GetProgramFile(fileName)) || root.GetName() != PackRootName)
        return;
    for (int32_t n = 0;; ++n) {
        const DataKey* node = root.GetKey("lang_" + IntToString(n));
        if (!node)
            break;
        auto document = std::make_unique<LangDoc>();
        if (!document->FromKey(*node))
            break;
        state.documents.push_back(std::move(document));
    }
    const std::wstring wanted = WantedLanguage();
    for (const auto& document : state.documents) {
        if (document->GetExt() == wanted) {
            state.current = document.get();
            break;
        }
    }
}

} // namespace

void Load(const std::wstring& fileName)
{
    Free();
    try {
        LoadDocuments(fileName);
    } catch (const std::bad_alloc&) {
        // A pack too large for the memory left is no pack: the player runs on
        // without texts.
        Free();
    }
}

void Free()
{
    State& state = GetState();
    state.current = nullptr;
    state.documents.clear();
}

const std::wstring& GetText(const std::string& id)
{
    static const std::string field("text");
    const LangDoc* current = GetState().current;
    return current ? current->Get(id, field) : EmptyText();
}

const std::wstring& GetDesc(const std::string& id)
{
    static const std::string field("desc");
    const LangDoc* current = GetState().current;
    return current ? current->Get(id, field) : EmptyText();
}

void SetItemText(HWND window, int controlId, const std::string& textId)
{
    SetDlgItemTextW(window, controlId, GetText(textId).c_str());
}

const std::wstring& GetCurrentExt()
{
    const LangDoc* current = GetState().current;
    return current ? current->GetExt() : EmptyText();
}

int GetCurrentIndex()
{
    const State& state = GetState();
    for (size_t i = 0; i < state.documents.size(); ++i) {
        if (state.documents[i].get() == state.current)
            return static_cast<int>(i);
    }
    return -1;
}

int GetCount()
{
    return static_cast<int>(GetState().documents.size());
}

const std::wstring& GetLanguageName(int index)
{
    const LangDoc* document = DocumentAt(index);
    return document ? document->GetLanguage() : EmptyText();
}

const std::wstring& GetExt(int index)
{
    const LangDoc* document = DocumentAt(index);
    return document ? document->GetExt() : EmptyText();
}

int FindIndex(const std::wstring& ext)
{
    const State& state = GetState();
    for (size_t i = 0; i < state.documents.size(); ++i) {
        if (state.documents[i]->GetExt() == ext)
            return static_cast<int>(i);
    }
    return -1;
}

void TranslateMenu(HMENU menu)
{
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        const std::wstring& text = GetText(WideToAnsi(GetMenuItemString(menu, i)));
        std::wstring buffer = text;
        MENUITEMINFOW info = {};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_STRING;
        info.dwTypeData = &buffer[0];
        info.cch = static_cast<UINT>(buffer.size() + 1);
        SetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info);
    }
}

void TranslateWindow(HWND window)
{
    if (!IsWindow(window))
        return;
    const std::wstring text = GetWindowString(window);
    if (!text.empty()) {
        const std::wstring& translated = GetText(WideToAnsi(text));
        if (!translated.empty())
            SetWindowTextW(window, translated.c_str());
    }
    for (HWND child = GetWindow(window, GW_CHILD); child && IsWindow(child); child = GetWindow(child, GW_HWNDNEXT))
        TranslateWindow(child);
}

} // namespace Lang
} // namespace KV
