// The "KVDT" node layout: magic, name, value records, then sub-key nodes.
#include "foundation/DataKey.h"

#include "foundation/DataTreeCodec.h"
#include "foundation/Stream.h"

#include <new>
#include <string>

namespace KV {

void DataKey::Serialize(Stream& target) const
{
    DataTreeWriter writer(&target);
    writer.WriteNode(*this);
    writer.Finish();
}

namespace {

// A tree takes several times the bytes it is read from. An arena pays off
// for large trees only: smaller ones take their blocks from the pool, which
// fits their memory more tightly.
constexpr uint32_t ArenaMinDataBytes = 64 * 1024;
constexpr size_t MaxSpanBytes = 4 * 1024 * 1024;

SmallBlocks::Arena* BeginArena(uint32_t dataBytes, const DataKey* owner)
{
    if (dataBytes < ArenaMinDataBytes)
        return nullptr;
    const size_t spanBytes = static_cast<size_t>(dataBytes) * 2;
    return SmallBlocks::BeginFill(spanBytes < MaxSpanBytes ? spanBytes : MaxSpanBytes, owner);
}

} // namespace

template <typename Read>
DataKey::ReadResult DataKey::ReadTree(uint32_t dataBytes, Read&& read)
{
    Clear();
    // Taken aside without a copy, so that even a failed allocation can put
    // it back.
    std::string oldName;
    oldName.swap(m_name);
    // A key of its own reads a large tree into a new arena; one that lives
    // in another tree's arena reads onto the heap.
    SmallBlocks::Arena* arena = nullptr;
    ReadResult result = ReadResult::Refused;
    try {
        if (m_arena == nullptr) {
            arena = BeginArena(dataBytes, this);
            m_arena = arena;
        }
        if (read(arena) == DataTreeReader::NodeResult::Complete)
            result = ReadResult::Read;
    } catch (const std::bad_alloc&) {
        result = ReadResult::OutOfMemory;
    }
    SmallBlocks::EndFill(arena);
    if (result == ReadResult::Read)
        return result;
    // Nothing half-read stays behind.
    Clear();
    m_name.swap(oldName);
    return result;
}

DataKey::ReadResult DataKey::ReadFrom(Stream& source)
{
    return ReadTree(source.GetRemaining(), [&](SmallBlocks::Arena* arena) {
        DataTreeReader reader(source, arena);
        return reader.ReadNode(*this, 0);
    });
}

bool DataKey::Deserialize(Stream& source)
{
    return ReadFrom(source) == ReadResult::Read;
}

DataKey::ReadResult DataKey::DeserializeBytes(const uint8_t* data, uint32_t size)
{
    static const uint8_t nothing = 0;
    return ReadTree(size, [&](SmallBlocks::Arena* arena) {
        DataTreeReader reader(size != 0 ? data : &nothing, size, arena);
        return reader.ReadNode(*this, 0);
    });
}

} // namespace KV
