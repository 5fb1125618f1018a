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
    // A memory source is left positioned after what was read.
    ~DataTreeReader();
    DataTreeReader(const DataTreeReader&) = delete;
    DataTreeReader& operator=(const DataTreeReader&) = delete;

    // False when the data runs out or a length exceeds what is left; the
    // value is then cleared.
    bool ReadValue(DataValue& value);
    // Complete, WrongMagic (nothing read past the magic) or Failed.
    NodeResult ReadNode(DataKey& key, uint32_t depth);

    // The source side of the shared byte coding (StreamCoding.h).
    bool ReadExact(void* target, uint32_t count);
    uint32_t GetRemaining() const;

private:
    // Empty maps with the buckets for each small count, made on first use.
    template <typename Map>
    struct PresizedMaps {
        static constexpr uint32_t MaxCount = 16;
        const Map& For(uint32_t count);
        Map maps[MaxCount + 1];
        bool made[MaxCount + 1] = {};
    };

    bool ReadPayload(DataValue& value, ValueType type);
    // A StringA (unitBytes 1) or StringW (2) payload as stored text.
    bool ReadStoredText(DataValue& value, ValueType type, uint32_t unitBytes);
    // Parts that hold heap memory make the arena's tree need a full walk.
    void NoteName(const std::string& name);

    // Room for count entries in the empty map.
    template <typename Map>
    void MakeRoom(Map& map, uint32_t count, PresizedMaps<Map>& presized);

    Stream& m_source;
    SmallBlocks::Arena* m_arena;
    const uint8_t* m_begin = nullptr; // memory mode when not null
    const uint8_t* m_cursor = nullptr;
    const uint8_t* m_end = nullptr;
    PresizedMaps<DataKey::ValueMap> m_valueMaps;
    PresizedMaps<DataKey::KeyMap> m_keyMaps;
};

class DataTreeWriter {
public:
    DataTreeWriter() = default;
    DataTreeWriter(const DataTreeWriter&) = delete;
    DataTreeWriter& operator=(const DataTreeWriter&) = delete;

    void WriteValue(const DataValue& value);
    void WriteNode(const DataKey& key);
    const uint8_t* Data() const { return m_bytes.get(); }
    uint32_t Size() const { return static_cast<uint32_t>(m_size); }

private:
    // Appends are many and small: a plain copy into spare room, which grows
    // by doubling (its bytes are not cleared first, unlike a vector's).
    void Append(const void* data, size_t count)
    {
        if (m_capacity - m_size < count)
            Grow(count);
        std::memcpy(m_bytes.get() + m_size, data, count);
        m_size += count;
    }
    void Grow(size_t count);
    template <typename T>
    void AppendScalar(T value) { Append(&value, sizeof(value)); }
    void AppendCount(uint32_t count);
    // A count of code units, then the units.
    template <typename Char>
    void AppendText(std::basic_string_view<Char> text)
    {
        AppendCount(static_cast<uint32_t>(text.size()));
        Append(text.data(), text.size() * sizeof(Char));
    }

    std::unique_ptr<uint8_t[]> m_bytes;
    size_t m_size = 0;
    size_t m_capacity = 0;
};

} // namespace KV
