#pragma once
// A read-only look at data-tree bytes ("KVDT" file format) as they lie in
// memory, for a reader that walks a large file once and keeps little of it:
// nothing is copied and no key or value object is made. Opening checks the
// bytes exactly as DataKey::Deserialize reads them and notes where every key
// starts and where the keys after its own sub-keys go on (8 bytes a key);
// names and payloads are then read from the bytes when asked for.
//
// Unlike a DataKey, a view shows every record the bytes hold: where a key
// has two values or two sub-keys of one name, the first is the one a loaded
// tree keeps, and it is the caller's part to skip the later one. A sub-key
// with a wrong magic is shown as an empty unnamed key, as a load keeps it.
// The bytes must stay unchanged while the view is used.

#include "foundation/DataValue.h"

#include <cstdint>
#include <cstring>
#include <string_view>
#include <vector>

namespace KV {

// One value record of the bytes.
class DataValueView {
public:
    std::string_view GetName() const { return m_name; }
    ValueType GetType() const { return m_type; }

    // As DataValue's strict getters: only an exact type match counts.
    uint32_t GetUInt() const { return Inline(ValueType::UInt); }
    int32_t GetInt() const { return static_cast<int32_t>(Inline(ValueType::Int)); }
    // Files store the flag in the first of its four bytes.
    bool GetBool() const { return m_type == ValueType::Bool && m_payload[0] != 0; }
    std::string_view GetStringAView() const;
    // The characters as they lie in the bytes (not aligned to two bytes:
    // copy them rather than hand them to code that expects alignment).
    std::wstring_view GetStringWView() const;

private:
    friend class DataTreeView;

    uint32_t Inline(ValueType type) const;

    std::string_view m_name;
    ValueType m_type = ValueType::UInt;
    const uint8_t* m_payload = nullptr;
};

class DataTreeView {
public:
    class Key;

    DataTreeView() = default;
    DataTreeView(const DataTreeView&) = delete;
    DataTreeView& operator=(const DataTreeView&) = delete;

    // True when DataKey::Deserialize would read these bytes (bytes left over
    // after the root are ignored, as there). On false the view is empty.
    bool Open(const uint8_t* data, uint32_t size);
    bool IsOpen() const { return !m_keys.empty(); }
    // Only while open.
    Key Root() const;

    class Key {
    public:
        // A key of no view, until one is assigned to it.
        Key() = default;

        std::string_view GetName() const;
        uint32_t GetValueCount() const;
        uint32_t GetKeyCount() const;

        // Every value record in the order of the bytes.
        template <typename Visit>
        void ForEachValue(Visit&& visit) const
        {
            const uint8_t* cursor = ValuesStart();
            const uint32_t count = GetValueCount();
            for (uint32_t i = 0; i < count; ++i) {
                DataValueView value;
                cursor = m_view->ReadValueRecord(cursor, value);
                visit(value);
            }
        }

        // Every sub-key in the order of the bytes.
        template <typename Visit>
        void ForEachKey(Visit&& visit) const
        {
            const uint32_t end = m_view->m_keys[m_index].next;
            for (uint32_t sub = m_index + 1; sub != end; sub = m_view->m_keys[sub].next)
                visit(Key(*m_view, sub));
        }

    private:
        friend class DataTreeView;

        Key(const DataTreeView& view, uint32_t index) : m_view(&view), m_index(index) {}
        // Null for a key with a wrong magic.
        const uint8_t* Header() const;
        const uint8_t* ValuesStart() const;

        const DataTreeView* m_view = nullptr;
        uint32_t m_index = 0;
    };

private:
    friend class DataValueView;

    // Where a key's record starts, and the index of the first key after
    // all of its sub-keys (keys are listed in the order of the bytes).
    struct KeyPlace {
        uint32_t offset;
        uint32_t next;
    };
    enum class CheckResult { Complete, WrongMagic, Failed };

    CheckResult CheckKey(uint32_t depth);
    bool CheckValue();
    bool CheckCount(uint32_t& count);
    bool CheckUInt32(uint32_t& value);
    bool Skip(uint64_t bytes);

    // Bytes already checked: no bound is tested.
    static const uint8_t* ReadValueRecord(const uint8_t* cursor, DataValueView& value);
    static const uint8_t* ReadCount(const uint8_t* cursor, uint32_t& count);

    const uint8_t* m_data = nullptr;
    uint32_t m_size = 0;
    uint32_t m_cursor = 0; // while checking
    std::vector<KeyPlace> m_keys;
};

} // namespace KV
