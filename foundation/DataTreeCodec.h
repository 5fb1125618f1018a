#pragma once
// The reader and writer behind DataKey/DataValue serialisation. Reading from a
// memory stream works on its bytes directly; any other stream is read through
// its virtual operations. Writing collects the bytes in one block.

#include "foundation/DataKey.h"
#include "foundation/Stream.h"

#include <cstdint>
#include <string>
#include <vector>

namespace KV {

class DataTreeReader {
public:
    enum class NodeResult { Complete, WrongMagic, Failed };

    explicit DataTreeReader(Stream& source);
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
    Stream& m_source;
    const uint8_t* m_begin = nullptr; // memory mode when not null
    const uint8_t* m_cursor = nullptr;
    const uint8_t* m_end = nullptr;
};

class DataTreeWriter {
public:
    void WriteValue(const DataValue& value);
    void WriteNode(const DataKey& key);
    const std::vector<uint8_t>& Bytes() const { return m_bytes; }

private:
    void Append(const void* data, size_t count);
    template <typename T>
    void AppendScalar(T value) { Append(&value, sizeof(value)); }
    void AppendCount(uint32_t count);
    // A count of code units, then the units.
    template <typename Char>
    void AppendText(const std::basic_string<Char>& text)
    {
        AppendCount(static_cast<uint32_t>(text.size()));
        Append(text.data(), text.size() * sizeof(Char));
    }

    std::vector<uint8_t> m_bytes;
};

} // namespace KV
