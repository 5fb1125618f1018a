#include "foundation/DataKey.h"

#include "foundation/MemoryStream.h"

#include <cstdio>
#include <memory>
#include <utility>

namespace KV {

static_assert(alignof(DataKey) <= SmallBlocks::BlockAlignment, "the small-block pool aligns blocks as pointers");

namespace {

template <typename Item>
std::string UniqueName(const NamedEntries<Item>& entries, const char* pattern)
{
    char text[32];
    for (unsigned counter = 1;; ++counter) {
        std::snprintf(text, sizeof(text), pattern, counter);
        if (entries.Find(text) == nullptr)
            return text;
    }
}

template <typename Item>
Item* Store(NamedEntries<Item>& entries, Item* item)
{
    if (item == nullptr)
        return nullptr;
    Item* found = entries.Find(item->GetName());
    if (found == nullptr) {
        entries.Append(item);
    } else if (found != item) {
        entries.Replace(found, item);
        delete found;
    }
    return item;
}

template <typename Item>
bool Rename(NamedEntries<Item>& entries, const std::string& oldName, const std::string& newName)
{
    Item* item = entries.Find(oldName);
    if (item == nullptr || entries.Find(newName) != nullptr)
        return false;
    item->SetName(newName);
    entries.Renamed(item, oldName);
    return true;
}

} // namespace

DataKey::DataKey(const std::string& name) : m_name(name) {}

DataKey::DataKey(const DataKey& other)
{
    CopyContentFrom(other);
}

DataKey::DataKey(Stream& source)
{
    Deserialize(source);
}

DataKey::~DataKey()
{
    DeleteContent();
}

void DataKey::Touch()
{
    if (m_arena != nullptr)
        SmallBlocks::MarkChanged(m_arena);
}

void DataKey::SetName(const std::string& name)
{
    Touch();
    m_name = name;
}

DataKey& DataKey::operator=(const DataKey& other)
{
    if (this == &other)
        return *this;
    // Copy first: other may live inside this tree.
    DataKey copy(other);
    Clear();
    Touch();
    m_name = std::move(copy.m_name);
    m_values.swap(copy.m_values);
    m_keys.swap(copy.m_keys);
    return *this;
}

void DataKey::CopyContentFrom(const DataKey& other)
{
    m_name = other.m_name;
    m_values.Reserve(other.m_values.size());
    for (const auto& entry : other.m_values)
        m_values.Append(new DataValue(*entry.second));
    m_keys.Reserve(other.m_keys.size());
    for (const auto& entry : other.m_keys)
        m_keys.Append(new DataKey(*entry.second));
}

void DataKey::Clear()
{
    if (!OwnsArena())
        Touch();
    DeleteContent();
}

// The root of a tree read into an arena lets the arena go with its content.
// While nothing in the tree was changed, its parts hold no heap memory and
// nothing outside the tree points into the arena: only the root's own maps
// are emptied, and the arena's memory goes at once.
void DataKey::DeleteContent()
{
    SmallBlocks::Arena* owned = OwnsArena() ? m_arena : nullptr;
    const bool unchanged = owned != nullptr && !SmallBlocks::HasChanged(owned);
    if (unchanged) {
        // The lists' storage is arena memory too.
        m_values.Abandon();
        m_keys.Abandon();
    } else {
        for (const auto& entry : m_values)
            delete entry.second;
        for (const auto& entry : m_keys)
            delete entry.second;
        m_values.Reset();
        m_keys.Reset();
    }
    if (owned != nullptr) {
        m_arena = nullptr;
        SmallBlocks::ReleaseArena(owned, unchanged);
    }
}

DataValue* DataKey::AddValue(const std::string& name)
{
    if (m_values.Find(name) != nullptr)
        return nullptr;
    Touch();
    DataValue* value = new DataValue(name);
    m_values.Append(value);
    return value;
}

DataValue* DataKey::SetValue(DataValue* value)
{
    Touch();
    return Store(m_values, value);
}

DataValue* DataKey::FindValue(const std::string& name) const
{
    return m_values.Find(name);
}

DataValue* DataKey::FindValue(const std::string& name, ValueType type) const
{
    DataValue* value = FindValue(name);
    return value != nullptr && value->GetType() == type ? value : nullptr;
}

bool DataKey::HasValue(const std::string& name) const
{
    return m_values.Find(name) != nullptr;
}

DataValue* DataKey::DetachValue(const std::string& name)
{
    Touch();
    return m_values.Remove(name);
}

bool DataKey::DeleteValue(const std::string& name)
{
    DataValue* value = DetachValue(name);
    delete value;
    return value != nullptr;
}

bool DataKey::RenameValue(const std::string& oldName, const std::string& newName)
{
    Touch();
    return Rename(m_values, oldName, newName);
}

std::string DataKey::UniqueValueName() const
{
    return UniqueName(m_values, "New Value #%u");
}

DataKey* DataKey::AddKey(const std::string& name)
{
    if (m_keys.Find(name) != nullptr)
        return nullptr;
    Touch();
    DataKey* key = new DataKey(name);
    m_keys.Append(key);
    return key;
}

DataKey* DataKey::GetKey(const std::string& name, bool create)
{
    if (DataKey* found = m_keys.Find(name))
        return found;
    return create ? AddKey(name) : nullptr;
}

const DataKey* DataKey::GetKey(const std::string& name) const
{
    return m_keys.Find(name);
}

DataKey* DataKey::SetKey(DataKey* key)
{
    Touch();
    return Store(m_keys, key);
}

bool DataKey::HasKey(const std::string& name) const
{
    return m_keys.Find(name) != nullptr;
}

DataKey* DataKey::DetachKey(const std::string& name)
{
    Touch();
    return m_keys.Remove(name);
}

bool DataKey::DeleteKey(const std::string& name)
{
    DataKey* key = DetachKey(name);
    delete key;
    return key != nullptr;
}

bool DataKey::RenameKey(const std::string& oldName, const std::string& newName)
{
    Touch();
    return Rename(m_keys, oldName, newName);
}

std::string DataKey::UniqueKeyName() const
{
    return UniqueName(m_keys, "New Key #%u");
}

// An existing value of the name is given its new type and payload in place,
// so a payload taken from that very value stays valid while it is copied.
template <typename Setter>
void DataKey::SetTyped(const std::string& name, Setter&& setter)
{
    Touch();
    if (DataValue* found = m_values.Find(name)) {
        setter(*found);
        return;
    }
    std::unique_ptr<DataValue> value(new DataValue(name));
    setter(*value);
    m_values.Append(value.release());
}

void DataKey::SetUInt(const std::string& name, uint32_t value)
{
    SetTyped(name, [&](DataValue& v) { v.SetUInt(value); });
}

void DataKey::SetInt(const std::string& name, int32_t value)
{
    SetTyped(name, [&](DataValue& v) { v.SetInt(value); });
}

void DataKey::SetBool(const std::string& name, bool value)
{
    SetTyped(name, [&](DataValue& v) { v.SetBool(value); });
}

void DataKey::SetFloat(const std::string& name, float value)
{
    SetTyped(name, [&](DataValue& v) { v.SetFloat(value); });
}

void DataKey::SetColor(const std::string& name, uint32_t color)
{
    SetTyped(name, [&](DataValue& v) { v.SetColor(color); });
}

void DataKey::SetColor(const std::string& name, uint8_t b0, uint8_t b1, uint8_t b2, uint8_t b3)
{
    SetTyped(name, [&](DataValue& v) { v.SetColor(b0, b1, b2, b3); });
}

void DataKey::SetDouble(const std::string& name, double value)
{
    SetTyped(name, [&](DataValue& v) { v.SetDouble(value); });
}

void DataKey::SetStringA(const std::string& name, const std::string& value)
{
    SetTyped(name, [&](DataValue& v) { v.SetStringA(value); });
}

void DataKey::SetStringW(const std::string& name, const std::wstring& value)
{
    SetTyped(name, [&](DataValue& v) { v.SetStringW(value); });
}

void DataKey::SetBuffer(const std::string& name, MemoryStream* stream, bool copy)
{
    SetTyped(name, [&](DataValue& v) { v.SetBuffer(stream, copy); });
}

void DataKey::SetBuffer(const std::string& name, const MemoryStream& stream)
{
    SetTyped(name, [&](DataValue& v) { v.SetBuffer(stream); });
}

uint32_t DataKey::GetUInt(const std::string& name, uint32_t defaultValue) const
{
    const DataValue* value = FindValue(name, ValueType::UInt);
    return value ? value->GetUInt() : defaultValue;
}

int32_t DataKey::GetInt(const std::string& name, int32_t defaultValue) const
{
    const DataValue* value = FindValue(name, ValueType::Int);
    return value ? value->GetInt() : defaultValue;
}

bool DataKey::GetBool(const std::string& name, bool defaultValue) const
{
    const DataValue* value = FindValue(name, ValueType::Bool);
    return value ? value->GetBool() : defaultValue;
}

float DataKey::GetFloat(const std::string& name, float defaultValue) const
{
    const DataValue* value = FindValue(name, ValueType::Float);
    return value ? value->GetFloat() : defaultValue;
}

uint32_t DataKey::GetColor(const std::string& name, uint32_t defaultValue) const
{
    const DataValue* value = FindValue(name, ValueType::Color);
    return value ? value->GetColor() : defaultValue;
}

double DataKey::GetDouble(const std::string& name, double defaultValue) const
{
    const DataValue* value = FindValue(name, ValueType::Double);
    return value ? value->GetDouble() : defaultValue;
}

std::string DataKey::GetStringA(const std::string& name, const std::string& defaultValue) const
{
    const std::string* text = GetStringA(name);
    return text ? *text : defaultValue;
}

std::wstring DataKey::GetStringW(const std::string& name, const std::wstring& defaultValue) const
{
    const std::wstring* text = GetStringW(name);
    return text ? *text : defaultValue;
}

MemoryStream* DataKey::GetBuffer(const std::string& name, MemoryStream* defaultValue) const
{
    MemoryStream* buffer = GetBuffer(name);
    return buffer ? buffer : defaultValue;
}

uint32_t DataKey::GetUInt(const std::string& name) const
{
    return GetUInt(name, 0);
}

int32_t DataKey::GetInt(const std::string& name) const
{
    return GetInt(name, 0);
}

bool DataKey::GetBool(const std::string& name) const
{
    return GetBool(name, false);
}

float DataKey::GetFloat(const std::string& name) const
{
    return GetFloat(name, 0.0f);
}

uint32_t DataKey::GetColor(const std::string& name) const
{
    return GetColor(name, 0);
}

double DataKey::GetDouble(const std::string& name) const
{
    return GetDouble(name, 0.0);
}

const std::string* DataKey::GetStringA(const std::string& name) const
{
    const DataValue* value = FindValue(name);
    return value ? value->GetStringA() : nullptr;
}

const std::wstring* DataKey::GetStringW(const std::string& name) const
{
    const DataValue* value = FindValue(name);
    return value ? value->GetStringW() : nullptr;
}

MemoryStream* DataKey::GetBuffer(const std::string& name) const
{
    const DataValue* value = FindValue(name);
    return value ? value->GetBuffer() : nullptr;
}

std::string_view DataKey::GetStringAView(const std::string& name) const
{
    const DataValue* value = FindValue(name);
    return value ? value->GetStringAView() : std::string_view();
}

std::wstring_view DataKey::GetStringWView(const std::string& name) const
{
    const DataValue* value = FindValue(name);
    return value ? value->GetStringWView() : std::wstring_view();
}

} // namespace KV
