#pragma once
// In-memory language documents: one LangDoc per language, holding items by
// text id, each item holding texts by field name ("text", "desc", ...).
// Ids and field names compare exactly (case matters).

#include <memory>
#include <string>
#include <unordered_map>

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
    // Creates or overwrites the field.
    void Set(const std::string& field, const std::wstring& text);
    // The field's text, or an empty text when the field is missing.
    const std::wstring& Get(const std::string& field) const;
    const std::unordered_map<std::string, std::wstring>& GetFields() const { return m_fields; }

private:
    std::string m_id;
    std::unordered_map<std::string, std::wstring> m_fields;
};

class LangDoc {
public:
    LangDoc() = default;
    LangDoc(const LangDoc& other);
    LangDoc& operator=(const LangDoc& other);
    ~LangDoc() = default;

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
    std::unordered_map<std::string, std::unique_ptr<LangItem>> m_items;
};

} // namespace KV
