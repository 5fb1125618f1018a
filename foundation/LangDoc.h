#pragma once
// In-memory language documents: one LangDoc per language, holding items by
// text id, each item holding texts by field name ("text", "desc", ...).
// Ids and field names compare exactly (case matters). A document finds its
// items through the same flat name index as the data tree (a catalogue asks
// for a text per channel at every start); an item holds its few fields in a
// short list.

#include "foundation/NamedEntries.h"

#include <string>
#include <utility>
#include <vector>

namespace KV {

class DataKey;

class LangItem {
public:
    LangItem() = default;
    explicit LangItem(const std::string& id) : m_id(id) {}
    LangItem(const LangItem&) = default;
    LangItem& operator=(const LangItem&) = default;
    ~LangItem() = default;

    const std::string& GetId() const { return m_id; }
    // The id, under the name the document's index asks for.
    const std::string& GetName() const { return m_id; }
    // Creates or overwrites the field.
    void Set(const std::string& field, const std::wstring& text);
    // The field's text, or an empty text when the field is missing.
    const std::wstring& Get(const std::string& field) const;
    using Fields = std::vector<std::pair<std::string, std::wstring>>;
    // In the order they were first set.
    const Fields& GetFields() const { return m_fields; }

private:
    std::string m_id;
    Fields m_fields;
};

class LangDoc {
public:
    LangDoc() = default;
    LangDoc(const LangDoc& other);
    LangDoc& operator=(const LangDoc& other);
    ~LangDoc();

    const std::wstring& GetLanguage() const { return m_language; }
    const std::wstring& GetExt() const { return m_ext; }
    void SetLanguage(const std::wstring& language) { m_language = language; }
    void SetExt(const std::wstring& ext) { m_ext = ext; }

    // A new empty item, or null when the id exists.
    LangItem* AddItem(const std::string& id);
    LangItem* FindItem(const std::string& id);
    const LangItem* FindItem(const std::string& id) const;
    // The item's field text; empty when the item or the field is missing.
    const std::wstring& Get(const std::string& id, const std::string& field) const;
    // Sets the field, creating the item when needed.
    void Set(const std::string& id, const std::string& field, const std::wstring& text);
    size_t GetItemCount() const { return m_items.size(); }
    void Clear();

    // Reads one language node of a pack: StringW "language" and "ext", and
    // one item per sub-key (its name the id) with its StringW values as
    // fields; other values are ignored. Replaces the content. False when
    // "language" or "ext" is missing or empty.
    bool FromKey(const DataKey& node);
    // Writes the document as such a node.
    void ToKey(DataKey& node) const;

private:
    std::wstring m_language;
    std::wstring m_ext;
    // Owns its items (the list itself deletes none).
    NamedEntries<LangItem> m_items;
};

} // namespace KV
