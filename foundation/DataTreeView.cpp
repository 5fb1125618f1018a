#include "foundation/DataTreeView.h"

#include "foundation/DataKey.h"
#include "foundation/DataTreeFormat.h"
#include "foundation/StreamCoding.h"

#include <algorithm>

namespace KV {

namespace {

uint32_t LoadUInt32(const uint8_t* bytes)
{
    uint32_t value;
    std::memcpy(&value, bytes, sizeof(value));
    return value;
}

// The bytes being checked as a source of the shared byte coding.
class CheckedBytes {
public:
    CheckedBytes(const uint8_t* data, uint32_t size, uint32_t& cursor) : m_data(data), m_size(size), m_cursor(cursor) {}

    bool ReadExact(void* target, uint32_t count)
    {
        if (count > GetRemaining())
            return false;
        std::memcpy(target, m_data + m_cursor, count);
        m_cursor += count;
        return true;
    }
    uint32_t GetRemaining() const { return m_size - m_cursor; }

private:
    const uint8_t* m_data;
    uint32_t m_size;
    uint32_t& m_cursor;
};

} // namespace

uint32_t DataValueView::Inline(ValueType type) const
{
    return m_type == type ? LoadUInt32(m_payload) : 0;
}

std::string_view DataValueView::GetStringAView() const
{
    if (m_type != ValueType::StringA)
        return std::string_view();
    uint32_t count = 0;
    const uint8_t* text = DataTreeView::ReadCount(m_payload, count);
    return std::string_view(reinterpret_cast<const char*>(text), count);
}

std::wstring_view DataValueView::GetStringWView() const
{
    if (m_type != ValueType::StringW)
        return std::wstring_view();
    uint32_t count = 0;
    const uint8_t* text = DataTreeView::ReadCount(m_payload, count);
    return std::wstring_view(reinterpret_cast<const wchar_t*>(text), count);
}

const uint8_t* DataTreeView::ReadCount(const uint8_t* cursor, uint32_t& count)
{
    if (cursor[0] != 0xFF) {
        count = cursor[0];
        return cursor + 1;
    }
    uint16_t word;
    std::memcpy(&word, cursor + 1, sizeof(word));
    if (word != 0xFFFF) {
        count = word;
        return cursor + 3;
    }
    count = LoadUInt32(cursor + 3);
    return cursor + 7;
}

const uint8_t* DataTreeView::ReadValueRecord(const uint8_t* cursor, DataValueView& value)
{
    uint32_t count = 0;
    cursor = ReadCount(cursor, count);
    value.m_name = std::string_view(reinterpret_cast<const char*>(cursor), count);
    cursor += count;
    value.m_type = static_cast<ValueType>(*cursor++);
    value.m_payload = cursor;
    if (DataTreeFormat::HasInlinePayload(value.m_type))
        return cursor + 4;
    switch (value.m_type) {
    case ValueType::Double:
        return cursor + sizeof(double);
    case ValueType::StringA:
    case ValueType::StringW: {
        const uint8_t* text = ReadCount(cursor, count);
        return text + static_cast<size_t>(count) * (value.m_type == ValueType::StringW ? 2 : 1);
    }
    case ValueType::Buffer:
        return cursor + 4 + LoadUInt32(cursor);
    default:
        return cursor;
    }
}

bool DataTreeView::Skip(uint64_t bytes)
{
    if (bytes > m_size - m_cursor)
        return false;
    m_cursor += static_cast<uint32_t>(bytes);
    return true;
}

bool DataTreeView::CheckCount(uint32_t& count)
{
    CheckedBytes bytes(m_data, m_size, m_cursor);
    return StreamCoding::ReadCount(bytes, count);
}

bool DataTreeView::CheckUInt32(uint32_t& value)
{
    CheckedBytes bytes(m_data, m_size, m_cursor);
    return bytes.ReadExact(&value, sizeof(value));
}

bool DataTreeView::CheckValue()
{
    uint32_t count = 0;
    if (!CheckCount(count) || !Skip(count) || m_cursor == m_size)
        return false;
    const ValueType type = static_cast<ValueType>(m_data[m_cursor++]);
    if (DataTreeFormat::HasInlinePayload(type))
        return Skip(4);
    switch (type) {
    case ValueType::Double:
        return Skip(sizeof(double));
    case ValueType::StringA:
    case ValueType::StringW:
        return CheckCount(count) && Skip(static_cast<uint64_t>(count) * (type == ValueType::StringW ? 2 : 1));
    case ValueType::Buffer:
        return CheckUInt32(count) && Skip(count);
    default:
        return true;
    }
}

DataTreeView::CheckResult DataTreeView::CheckKey(uint32_t depth)
{
    const uint32_t place = static_cast<uint32_t>(m_keys.size());
    m_keys.push_back(KeyPlace{m_cursor, 0});
    uint32_t magic = 0;
    if (!CheckUInt32(magic))
        return CheckResult::Failed;
    if (magic != DataKey::Magic) {
        m_keys[place].next = place + 1;
        return CheckResult::WrongMagic;
    }
    uint32_t count = 0;
    if (!CheckCount(count) || !Skip(count))
        return CheckResult::Failed;

    uint32_t valueCount = 0;
    if (!CheckUInt32(valueCount) ||
        !DataTreeFormat::CountFits(valueCount, DataTreeFormat::MinValueRecordBytes, m_size - m_cursor))
        return CheckResult::Failed;
    for (uint32_t i = 0; i < valueCount; ++i)
        if (!CheckValue())
            return CheckResult::Failed;

    uint32_t keyCount = 0;
    if (!CheckUInt32(keyCount) ||
        !DataTreeFormat::CountFits(keyCount, DataTreeFormat::MinSubKeyBytes, m_size - m_cursor))
        return CheckResult::Failed;
    if (keyCount != 0 && depth >= DataKey::MaxLoadDepth)
        return CheckResult::Failed;
    for (uint32_t i = 0; i < keyCount; ++i)
        if (CheckKey(depth + 1) == CheckResult::Failed)
            return CheckResult::Failed;
    m_keys[place].next = static_cast<uint32_t>(m_keys.size());
    return CheckResult::Complete;
}

bool DataTreeView::Open(const uint8_t* data, uint32_t size)
{
    m_data = data;
    m_size = data != nullptr ? size : 0;
    m_cursor = 0;
    m_keys.clear();
    // A guess from the bytes a small key takes, within what any real file
    // needs; the list grows past it.
    m_keys.reserve(std::min<uint32_t>(m_size / 48 + 1, 1u << 20));
    if (CheckKey(0) == CheckResult::Complete)
        return true;
    m_keys.clear();
    m_keys.shrink_to_fit();
    m_data = nullptr;
    m_size = 0;
    return false;
}

DataTreeView::Key DataTreeView::Root() const
{
    return Key(*this, 0);
}

const uint8_t* DataTreeView::Key::Header() const
{
    const uint8_t* start = m_view->m_data + m_view->m_keys[m_index].offset;
    return LoadUInt32(start) == DataKey::Magic ? start + 4 : nullptr;
}

std::string_view DataTreeView::Key::GetName() const
{
    const uint8_t* header = Header();
    if (header == nullptr)
        return std::string_view();
    uint32_t count = 0;
    const uint8_t* name = ReadCount(header, count);
    return std::string_view(reinterpret_cast<const char*>(name), count);
}

const uint8_t* DataTreeView::Key::ValuesStart() const
{
    const uint8_t* header = Header();
    if (header == nullptr)
        return nullptr;
    uint32_t count = 0;
    const uint8_t* name = ReadCount(header, count);
    return name + count + 4;
}

uint32_t DataTreeView::Key::GetValueCount() const
{
    const uint8_t* values = ValuesStart();
    return values != nullptr ? LoadUInt32(values - 4) : 0;
}

uint32_t DataTreeView::Key::GetKeyCount() const
{
    // Counted in the index, which holds an entry for each sub-key the record
    // lists: the key's values need not be read again to reach its count.
    uint32_t count = 0;
    const uint32_t end = m_view->m_keys[m_index].next;
    for (uint32_t sub = m_index + 1; sub != end; sub = m_view->m_keys[sub].next)
        ++count;
    return count;
}

} // namespace KV
