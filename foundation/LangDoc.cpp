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
    for (auto& entry : m_fields) {
        if (entry.first == field) {
            entry.second = text;
            return;
        }
    }
    m_fields.emplace_back(field, text);
}

const std::wstring& LangItem::Get(const std::string& field) const
{
    for (const auto& entry : m_fields)
        if (entry.first == field)
            return entry.second;
    return EmptyText();
}

LangDoc::LangDoc(const LangDoc& other)
{
    *this = other;
}

LangDoc::~LangDoc()
{
    Clear();
}

LangDoc& LangDoc::operator=(const LangDoc& other)
{
    if (this == &other)
        return *this;
    Clear();
    m_language = other.m_language;
    m_ext = other.m_ext;
    m_items.Reserve(other.m_items.size());
    for (const auto& entry : other.m_items)
        m_items.Append(new LangItem(*entry.second));
    return *this;
}

LangItem* LangDoc::AddItem(const std::string& id)
{
    if (m_items.Find(id) != nullptr)
        return nullptr;
    LangItem* item = new LangItem(id);
    m_items.Append(item);
    return item;
}

LangItem* LangDoc::FindItem(const std::string& id)
{
    return m_items.Find(id);
}

const LangItem* LangDoc::FindItem(const std::string& id) const
{
    return m_items.Find(id);
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
    for (const auto& entry : m_items)
        delete entry.second;
    m_items.Reset();
}

bool LangDoc::FromKey(const DataKey& node)
{
    Clear();
    m_language = node.GetStringWView("language");
    m_ext = node.GetStringWView("ext");
    if (m_language.empty() || m_ext.empty())
        return false;
    m_items.Reserve(node.GetKeyCount());
    for (const auto& entry : node.GetKeys()) {
        if (!entry.second)
            continue;
        // A key's sub-keys have unique names, so after Clear each item is new.
        LangItem* item = AddItem(entry.first);
        if (!item)
            item = FindItem(entry.first);
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
