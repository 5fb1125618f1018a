// Language documents and their node layout in a language pack.

#include "foundation/LangDoc.h"

#include "foundation/DataKey.h"

namespace KV {

namespace {

const std::wstring& EmptyText()
{
    static const std::wstring empty;
    return empty;
}

} // namespace

void LangItem::Set(const std::string& field, const std::wstring& text)
{
    m_fields[field] = text;
}

const std::wstring& LangItem::Get(const std::string& field) const
{
    auto found = m_fields.find(field);
    return found == m_fields.end() ? EmptyText() : found->second;
}

LangDoc::LangDoc(const LangDoc& other)
{
    *this = other;
}

LangDoc& LangDoc::operator=(const LangDoc& other)
{
    if (this == &other)
        return *this;
    Clear();
    m_language = other.m_language;
    m_ext = other.m_ext;
    for (const auto& entry : other.m_items)
        m_items[entry.first] = std::make_unique<LangItem>(*entry.second);
    return *this;
}

LangItem* LangDoc::AddItem(const std::string& id)
{
    auto inserted = m_items.emplace(id, nullptr);
    if (!inserted.second)
        return nullptr;
    inserted.first->second = std::make_unique<LangItem>(id);
    return inserted.first->second.get();
}

LangItem* LangDoc::FindItem(const std::string& id)
{
    auto found = m_items.find(id);
    return found == m_items.end() ? nullptr : found->second.get();
}

const LangItem* LangDoc::FindItem(const std::string& id) const
{
    auto found = m_items.find(id);
    return found == m_items.end() ? nullptr : found->second.get();
}

const std::wstring& LangDoc::Get(const std::string& id, const std::string& field) const
{
    const LangItem* item = FindItem(id);
    return item ? item->Get(field) : EmptyText();
}

void LangDoc::Set(const std::string& id, const std::string& field, const std::wstring& text)
{
    LangItem* item = FindItem(id);
    if (!item)
        item = AddItem(id);
    item->Set(field, text);
}

void LangDoc::Clear()
{
    m_items.clear();
}

bool LangDoc::FromKey(const DataKey& node)
{
    Clear();
    m_language = node.GetStringWView("language");
    m_ext = node.GetStringWView("ext");
    if (m_language.empty() || m_ext.empty())
        return false;
    for (const auto& entry : node.GetKeys()) {
        if (!entry.second)
            continue;
        LangItem* item = FindItem(entry.first);
        if (!item)
            item = AddItem(entry.first);
        for (const auto& field : entry.second->GetValues()) {
            // Read in place: the document keeps its own copy.
            if (field.second && field.second->GetType() == ValueType::StringW)
                item->Set(field.first, std::wstring(field.second->GetStringWView()));
        }
    }
    return true;
}

void LangDoc::ToKey(DataKey& node) const
{
    node.SetStringW("language", m_language);
    node.SetStringW("ext", m_ext);
    for (const auto& entry : m_items) {
        DataKey* itemKey = node.GetKey(entry.first, true);
        for (const auto& field : entry.second->GetFields())
            itemKey->SetStringW(field.first, field.second);
    }
}

} // namespace KV
