#include "foundation/DataTreeCodec.h"

#include "foundation/DataTreeFormat.h"
#include "foundation/MemoryStream.h"
#include "foundation/StreamCoding.h"
#include "foundation/VectorStream.h"

#include <cstring>
#include <memory>
#include <utility>

namespace KV {

DataTreeReader::DataTreeReader(const uint8_t* data, uint32_t size, SmallBlocks::Arena* arena)
    : m_source(nullptr), m_arena(arena), m_begin(data), m_cursor(data), m_end(data + size),
      m_budget(DataTreeFormat::TreeBudget(size))
{
}

DataTreeReader::DataTreeReader(Stream& source, SmallBlocks::Arena* arena) : m_source(&source), m_arena(arena)
{
    const uint8_t* data = nullptr;
    if (const MemoryStream* memory = dynamic_cast<const MemoryStream*>(&source))
        data = memory->GetBuffer();
    else if (const VectorStream* vector = dynamic_cast<const VectorStream*>(&source))
        data = vector->GetData();
    const uint32_t size = source.GetSize();
    const uint32_t position = source.GetPosition();
    if (data != nullptr && position <= size) {
        m_begin = data;
        m_cursor = data + position;
        m_end = data + size;
    }
    m_budget = DataTreeFormat::TreeBudget(GetRemaining());
}

DataTreeReader::~DataTreeReader()
{
    if (m_begin == nullptr || m_source == nullptr)
        return;
    uint32_t position = static_cast<uint32_t>(m_cursor - m_begin);
    m_source->Seek(0, SeekBegin);
    while (position != 0) {
        const uint32_t step = position > 0x7FFFFFFFu ? 0x7FFFFFFFu : position;
        m_source->Seek(static_cast<int32_t>(step), SeekCurrent);
        position -= step;
    }
}

bool DataTreeReader::ReadValue(DataValue& value)
{
    value.Clear();
    value.m_name.clear();
    return ReadFreshValue(value);
}

bool DataTreeReader::ReadName(std::string& name)
{
    if (m_begin == nullptr)
        return StreamCoding::ReadText(*this, name);
    uint32_t count = 0;
    if (!StreamCoding::ReadCount(*this, count) || count > static_cast<size_t>(m_end - m_cursor))
        return false;
    name.assign(reinterpret_cast<const char*>(m_cursor), count);
    m_cursor += count;
    return true;
}

bool DataTreeReader::ReadFreshValue(DataValue& value)
{
    uint8_t code = 0;
    if (!ReadName(value.m_name) || !ReadExact(&code, 1)) {
        value.m_name.clear();
        return false;
    }
    NoteName(value.m_name);
    const ValueType type = static_cast<ValueType>(code);
    const bool complete = m_arena != nullptr && (type == ValueType::StringA || type == ValueType::StringW)
                              ? ReadStoredText(value, type, type == ValueType::StringW ? sizeof(wchar_t) : 1)
                              : ReadPayload(value, type);
    if (!complete) {
        value.Clear();
        value.m_name.clear();
        return false;
    }
    return true;
}

// The payload is read into the value's own (empty) payload object, so a
// failed read leaves nothing to clean up but the value itself. Codes above
// Buffer keep their code and hold nothing.
bool DataTreeReader::ReadPayload(DataValue& value, ValueType type)
{
    value.SetEmptyPayload(type);
    // Doubles and streams are heap objects: a tree holding them is freed
    // part by part.
    if (m_arena != nullptr && (type == ValueType::Double || type == ValueType::Buffer))
        SmallBlocks::MarkChanged(m_arena);
    if (DataTreeFormat::HasInlinePayload(type))
        return ReadExact(&value.m_data.u, 4);
    if (type == ValueType::Double)
        // Straight into the payload: a copy through the FPU would turn a
        // signalling NaN into a quiet one.
        return ReadExact(value.m_data.d, sizeof(double));
    if (type == ValueType::StringA)
        return StreamCoding::ReadText(*this, *value.m_data.a);
    if (type == ValueType::StringW)
        return StreamCoding::ReadText(*this, *value.m_data.w);
    if (type == ValueType::Buffer)
        return StreamCoding::ReadBlock(*this, *value.m_data.buffer);
    return true;
}

bool DataTreeReader::ReadStoredText(DataValue& value, ValueType type, uint32_t unitBytes)
{
    uint32_t count = 0;
    if (!StreamCoding::ReadCount(*this, count))
        return false;
    const uint64_t bytes = static_cast<uint64_t>(count) * unitBytes;
    if (bytes > GetRemaining())
        return false;
    auto* text = static_cast<DataValue::StoredText*>(Take(sizeof(DataValue::StoredText) + static_cast<size_t>(bytes)));
    text->units = count;
    if (!ReadExact(text + 1, static_cast<uint32_t>(bytes))) {
        SmallBlocks::Free(text, sizeof(DataValue::StoredText) + static_cast<size_t>(bytes));
        return false;
    }
    value.m_data.text = text;
    value.m_bits = static_cast<int32_t>(type) | DataValue::Stored;
    return true;
}

void DataTreeReader::NoteName(const std::string& name)
{
    static const size_t shortCapacity = std::string().capacity();
    if (m_arena != nullptr && name.size() > shortCapacity)
        SmallBlocks::MarkChanged(m_arena);
}

namespace {

// What the reader counts against its budget for each item it keeps: the item
// and its share of the list (a pointer, room grown ahead of it, the index).
constexpr uint64_t ListBytesPerItem = 2 * sizeof(void*) + 4 * sizeof(uint64_t);
constexpr uint64_t HeapBlockBytes = 16;

} // namespace

uint64_t DataTreeReader::PayloadObjectBytes(ValueType type) const
{
    const bool stored = m_arena != nullptr;
    switch (type) {
    case ValueType::Double: return sizeof(double) + HeapBlockBytes;
    case ValueType::StringA: return stored ? sizeof(DataValue::StoredText) : sizeof(std::string);
    case ValueType::StringW: return stored ? sizeof(DataValue::StoredText) : sizeof(std::wstring);
    case ValueType::Buffer: return sizeof(MemoryStream) + 2 * HeapBlockBytes;
    default: return 0;
    }
}

DataTreeReader::NodeResult DataTreeReader::ReadNode(DataKey& key, uint32_t depth)
{
    uint32_t magic = 0;
    if (!ReadExact(&magic, sizeof(magic)))
        return NodeResult::Failed;
    if (magic != DataKey::Magic)
        return NodeResult::WrongMagic;
    if (!ReadName(key.m_name))
        return NodeResult::Failed;
    // The root is the owner's own object, outside the arena.
    if (depth != 0)
        NoteName(key.m_name);
    if (!ReadValues(key) || !ReadSubKeys(key, depth))
        return NodeResult::Failed;
    return NodeResult::Complete;
}

// The lists grow as records arrive, and a count is taken only when the data
// left can hold it beside the records the enclosing nodes still claim: a file
// whose counts lie is refused before anything is built for them.
bool DataTreeReader::ReadValues(DataKey& key)
{
    uint32_t valueCount = 0;
    if (!ReadExact(&valueCount, sizeof(valueCount)) ||
        !DataTreeFormat::CountFits(valueCount, DataTreeFormat::MinValueRecordBytes, Unclaimed()))
        return false;
    std::unique_ptr<DataValue> value;
    bool haveUnnamed = false;
    for (uint32_t i = 0; i < valueCount; ++i) {
        if (!value) {
            if (!Spend(sizeof(DataValue) + ListBytesPerItem))
                return false;
            value.reset(::new (Take(sizeof(DataValue))) DataValue());
            if (m_arena != nullptr)
                value->m_bits |= DataValue::InArena;
        } else {
            value->ReleasePayload();
        }
        if (!ReadFreshValue(*value) || !Spend(PayloadObjectBytes(value->GetType())))
            return false;
        // Of two values of one name the first read stays; a later unnamed one
        // (the cheapest record) is dropped at once and its object reused.
        if (value->m_name.empty()) {
            if (haveUnnamed)
                continue;
            haveUnnamed = true;
        }
        key.m_values.AppendRead(value.get(), valueCount);
        value.release();
    }
    key.m_values.KeepFirstOfEachName([](DataValue* later) { delete later; });
    return true;
}

bool DataTreeReader::ReadSubKeys(DataKey& key, uint32_t depth)
{
    uint32_t keyCount = 0;
    if (!ReadExact(&keyCount, sizeof(keyCount)) ||
        !DataTreeFormat::CountFits(keyCount, DataTreeFormat::MinSubKeyBytes, Unclaimed()))
        return false;
    if (keyCount != 0 && depth >= DataKey::MaxLoadDepth)
        return false;
    const uint64_t outerClaim = m_claimedBytes;
    std::unique_ptr<DataKey> sub;
    bool haveUnnamed = false;
    for (uint32_t i = 0; i < keyCount; ++i) {
        if (!sub) {
            if (!Spend(sizeof(DataKey) + ListBytesPerItem))
                return false;
            sub.reset(::new (Take(sizeof(DataKey))) DataKey());
            sub->m_arena = m_arena;
        }
        m_claimedBytes = outerClaim + static_cast<uint64_t>(keyCount - i - 1) * DataTreeFormat::MinSubKeyBytes;
        // A sub-key with a wrong magic stays as an empty unnamed key, as
        // stored files expect; only running out of data fails the load.
        const NodeResult result = ReadNode(*sub, depth + 1);
        if (result == NodeResult::Failed)
            return false;
        // Of two sub-keys of one name the first stays; a later unnamed one
        // that read nothing (a wrong magic) is dropped at once, its object
        // kept for the next record.
        if (sub->m_name.empty()) {
            if (haveUnnamed && result == NodeResult::WrongMagic)
                continue;
            haveUnnamed = true;
        }
        key.m_keys.AppendRead(sub.get(), keyCount);
        sub.release();
    }
    m_claimedBytes = outerClaim;
    key.m_keys.KeepFirstOfEachName([](DataKey* later) { delete later; });
    return true;
}

void DataTreeWriter::Grow(size_t count)
{
    constexpr size_t FirstCapacity = 256;
    size_t capacity = m_capacity != 0 ? m_capacity * 2 : FirstCapacity;
    if (capacity - m_size < count)
        capacity = m_size + count;
    std::unique_ptr<uint8_t[]> grown(new uint8_t[capacity]);
    if (m_size != 0)
        std::memcpy(grown.get(), m_bytes.get(), m_size);
    m_bytes = std::move(grown);
    m_capacity = capacity;
}

void DataTreeWriter::PassOn()
{
    if (!m_failed && !m_target->WriteExact(m_bytes.get(), static_cast<uint32_t>(m_size)))
        m_failed = true;
    m_size = 0;
}

void DataTreeWriter::MakeRoom(size_t count)
{
    // A small tree goes in one piece; a large one in pieces of a chunk.
    if (m_target != nullptr && m_capacity >= ChunkBytes) {
        PassOn();
        if (m_capacity >= count)
            return;
    }
    Grow(count);
}

bool DataTreeWriter::Finish()
{
    if (m_target != nullptr)
        PassOn();
    return !m_failed;
}

void DataTreeWriter::AppendLongCount(uint32_t count)
{
    uint8_t bytes[StreamCoding::MaxCountBytes];
    Append(bytes, StreamCoding::EncodeCount(count, bytes));
}

void DataTreeWriter::WriteValue(const DataValue& value)
{
    AppendText(std::string_view(value.m_name));
    const ValueType type = value.GetType();
    AppendScalar(static_cast<uint8_t>(static_cast<int32_t>(type)));
    if (DataTreeFormat::HasInlinePayload(type)) {
        AppendScalar(value.m_data.u);
    } else if (type == ValueType::Double) {
        AppendScalar(*value.m_data.d);
    } else if (type == ValueType::StringA) {
        AppendText(value.GetStringAView());
    } else if (type == ValueType::StringW) {
        AppendText(value.GetStringWView());
    } else if (type == ValueType::Buffer) {
        const MemoryStream& buffer = *value.m_data.buffer;
        AppendScalar(buffer.GetSize());
        if (buffer.GetSize() != 0)
            Append(buffer.GetBuffer(), buffer.GetSize());
    }
}

void DataTreeWriter::WriteNode(const DataKey& key)
{
    AppendScalar(DataKey::Magic);
    AppendText(std::string_view(key.m_name));
    AppendScalar(key.m_values.size());
    for (const auto& entry : key.m_values)
        WriteValue(*entry.second);
    AppendScalar(key.m_keys.size());
    for (const auto& entry : key.m_keys)
        WriteNode(*entry.second);
}

} // namespace KV
