#pragma once
// The reader and writer behind DataKey/DataValue serialisation. Reading from a
// memory stream works on its bytes directly; any other stream is read through
// its virtual operations. Writing collects the bytes in one block.

#include "foundation/DataKey.h"
#include "foundation/Stream.h"

#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>

namespace KV {

class DataTreeReader {
public:
    enum class NodeResult { Complete, WrongMagic, Failed };

    // With an arena (which this thread fills), strings are kept as stored
    // text and every key and value read is marked as living in the arena.
    explicit DataTreeReader(Stream& source, SmallBlocks::Arena* arena = nullptr);
    // Reads bytes that are not a stream's (a file's mapped view).
    DataTreeReader(const uint8_t* data, uint32_t size, SmallBlocks::Arena* arena);
    // A memory source is left positioned after what was read.
    ~DataTreeReader();
    DataTreeReader(const DataTreeReader&) = delete;
    DataTreeReader& operator=(const DataTreeReader&) = delete;

    // False when the data runs out or a length exceeds what is left; the
    // value is then cleared.
    bool ReadValue(DataValue& value);
    // Complete, WrongMagic (nothing read past the magic) or Failed: the data
    // ran out, a count claims more records than the data left can hold, or
    // the tree would outgrow its memory budget (DataTreeFormat::TreeBudget).
    NodeResult ReadNode(DataKey& key, uint32_t depth);

    // The source side of the shared byte coding (StreamCoding.h). Reading
    // from memory is the common case and stays inline.
    bool ReadExact(void* target, uint32_t count)
    {
        if (m_begin == nullptr)
            return m_source->ReadExact(target, count);
        if (count > static_cast<size_t>(m_end - m_cursor))
            return false;
        std::memcpy(target, m_cursor, count);
        m_cursor += count;
        return true;
    }
    uint32_t GetRemaining() const
    {
        return m_begin != nullptr ? static_cast<uint32_t>(m_end - m_cursor) : m_source->GetRemaining();
    }

private:
    // A value record into a value that holds nothing yet.
    bool ReadFreshValue(DataValue& value);
    bool ReadPayload(DataValue& value, ValueType type);
    // A name: its count, then its bytes.
    bool ReadName(std::string& name);
    // A block for a part of the tree: from the arena when there is one.
    void* Take(size_t size)
    {
        return m_arena != nullptr ? SmallBlocks::TakeFromArena(m_arena, size) : SmallBlocks::Allocate(size);
    }
    // A StringA (unitBytes 1) or StringW (2) payload as stored text.
    bool ReadStoredText(DataValue& value, ValueType type, uint32_t unitBytes);
    // Parts that hold heap memory make the arena's tree need a full walk.
    void NoteName(const std::string& name);
    // The values and sub-keys of one node (after its name).
    bool ReadValues(DataKey& key);
    bool ReadSubKeys(DataKey& key, uint32_t depth);
    // The object a value's payload lives in, apart from the payload's bytes
    // (which the budget leaves out: each is a byte of the data).
    uint64_t PayloadObjectBytes(ValueType type) const;
    // Takes bytes from the budget; false (and nothing taken) when it is spent.
    bool Spend(uint64_t bytes)
    {
        if (bytes > m_budget)
            return false;
        m_budget -= bytes;
        return true;
    }
    // The data left after the least that the records already claimed by the
    // nodes around this one must take.
    uint64_t Unclaimed() const
    {
        const uint64_t remaining = GetRemaining();
        return remaining > m_claimedBytes ? remaining - m_claimedBytes : 0;
    }

    // Null when reading bytes of no stream.
    Stream* m_source;
    SmallBlocks::Arena* m_arena;
    const uint8_t* m_begin = nullptr; // memory mode when not null
    const uint8_t* m_cursor = nullptr;
    const uint8_t* m_end = nullptr;
    // Bytes the tree may still take beyond its payloads.
    uint64_t m_budget = 0;
    // Least bytes still to come for the records that enclosing nodes claimed
    // after the node being read.
    uint64_t m_claimedBytes = 0;
};

class DataTreeWriter {
public:
    // Without a target the bytes are collected in one block (Data, Size);
    // with one they go to it in chunks as they are made, so a large tree
    // never needs a block of its whole size.
    explicit DataTreeWriter(Stream* target = nullptr) : m_target(target) {}
    DataTreeWriter(const DataTreeWriter&) = delete;
    DataTreeWriter& operator=(const DataTreeWriter&) = delete;

    void WriteValue(const DataValue& value);
    void WriteNode(const DataKey& key);
    const uint8_t* Data() const { return m_bytes.get(); }
    uint32_t Size() const { return static_cast<uint32_t>(m_size); }
    // Hands what is left to the target; false when the target took less
    // than it was given at any time.
    bool Finish();

private:
    static constexpr size_t ChunkBytes = 256 * 1024;

    // Appends are many and small: a plain copy into spare room.
    void Append(const void* data, size_t count)
    {
        if (m_capacity - m_size < count)
            MakeRoom(count);
        std::memcpy(m_bytes.get() + m_size, data, count);
        m_size += count;
    }
    // Grows by doubling (its bytes are not cleared first, unlike a vector's);
    // with a target, once a chunk is full it is passed on instead (and a
    // larger block is taken only for one record larger than a chunk).
    void MakeRoom(size_t count);
    void Grow(size_t count);
    void PassOn();
    template <typename T>
    void AppendScalar(T value) { Append(&value, sizeof(value)); }
    void AppendCount(uint32_t count)
    {
        if (count < 0xFF && m_capacity != m_size) {
            m_bytes[m_size++] = static_cast<uint8_t>(count);
            return;
        }
        AppendLongCount(count);
    }
    void AppendLongCount(uint32_t count);
    // A count of code units, then the units.
    template <typename Char>
    void AppendText(std::basic_string_view<Char> text)
    {
        AppendCount(static_cast<uint32_t>(text.size()));
        Append(text.data(), text.size() * sizeof(Char));
    }

    Stream* m_target;
    bool m_failed = false;
    std::unique_ptr<uint8_t[]> m_bytes;
    size_t m_size = 0;
    size_t m_capacity = 0;
};

} // namespace KV
