#pragma once
// One named, typed value of the data tree. Payloads of up to four bytes live
// inline; doubles, strings and buffers are owned objects of their own. A
// string read from data into an arena stays as its bytes there until someone
// asks for it as a std::string.

#include "foundation/SmallBlocks.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace KV {

class Stream;
class MemoryStream;

// Codes as stored in files (one byte). Codes above Buffer can come only from
// a file: such a value holds nothing and matches no typed getter.
enum class ValueType : int32_t {
    UInt = 0,
    Int = 1,
    Bool = 2,
    Float = 3,
    Color = 4,
    Double = 5,
    StringA = 6,
    StringW = 7,
    Buffer = 8,
};

// "UInt", "Int", ..., "Buffer"; "Unknown" for any other code.
const wchar_t* GetValueTypeName(ValueType type);

class DataValue {
public:
    DataValue() = default;
    explicit DataValue(const std::string& name);
    DataValue(const DataValue& other);
    // Reads one value record (see Deserialize).
    explicit DataValue(Stream& source);
    ~DataValue();

    DataValue& operator=(const DataValue& other);

    // Trees hold many values: they and their string payloads come from the
    // small-block pool (doubles need 8-byte alignment, buffers may be adopted
    // from the caller: both stay on the C++ heap).
    static void* operator new(size_t size) { return SmallBlocks::Allocate(size); }
    static void operator delete(void* block, size_t size) noexcept { SmallBlocks::Free(block, size); }

    const std::string& GetName() const { return m_name; }
    // Only for values not stored in a key; a key renames through RenameValue.
    void SetName(const std::string& name);
    ValueType GetType() const { return static_cast<ValueType>(m_bits & TypeMask); }
    const wchar_t* GetTypeName() const { return GetValueTypeName(GetType()); }

    // Releases the payload; the value becomes UInt 0.
    void Clear();

    void SetUInt(uint32_t value);
    void SetInt(int32_t value);
    void SetBool(bool value);
    void SetFloat(float value);
    // A Windows COLORREF: its bytes from the low one up are b0..b3.
    void SetColor(uint32_t color);
    void SetColor(uint8_t b0, uint8_t b1, uint8_t b2, uint8_t b3);
    void SetDouble(double value);
    void SetStringA(const std::string& value);
    void SetStringW(const std::wstring& value);
    // copy false: the value takes ownership of stream (null: an empty buffer);
    // copy true: the value owns a copy (position 0).
    void SetBuffer(MemoryStream* stream, bool copy = true);
    void SetBuffer(const MemoryStream& stream);

    // Strict getters: the payload when the type matches exactly, else 0,
    // false, 0.0 or null. Pointers stay owned by the value.
    uint32_t GetUInt() const;
    int32_t GetInt() const;
    bool GetBool() const;
    float GetFloat() const;
    uint32_t GetColor() const;
    double GetDouble() const;
    const std::string* GetStringA() const;
    const std::wstring* GetStringW() const;
    MemoryStream* GetBuffer() const;
    // The characters of a string of that type without making a std::string
    // of them (empty for any other type); valid until the value changes.
    std::string_view GetStringAView() const;
    std::wstring_view GetStringWView() const;

    // Value record: name, type byte, payload by type.
    void Serialize(Stream& target) const;
    // Replaces this value with the record read. False (value cleared, name
    // empty) when the data runs out or a length exceeds what is left.
    bool Deserialize(Stream& source);

private:
    friend class DataTreeReader;
    friend class DataTreeWriter;

    // A string payload kept as it was read: the count of code units, then
    // the units, in one arena block.
    struct StoredText {
        uint32_t units;
    };

    // The type code (a byte in files) and, above it, how the value is held.
    static constexpr int32_t TypeMask = 0xFF;
    // The value is a block of a tree's arena.
    static constexpr int32_t InArena = 0x100;
    // The string payload is a StoredText.
    static constexpr int32_t Stored = 0x200;

    std::string m_name;
    // Mutable: a stored string turns into an owned one on a const read.
    mutable int32_t m_bits = static_cast<int32_t>(ValueType::UInt);
    mutable union Payload {
        uint32_t u;
        int32_t i;
        float f;
        uint8_t bytes[4];
        double* d;
        std::string* a;
        std::wstring* w;
        MemoryStream* buffer;
        StoredText* text;
    } m_data{0};

    bool IsStored() const { return (m_bits & Stored) != 0; }
    void SetTypeBits(ValueType type) { m_bits = (m_bits & InArena) | static_cast<int32_t>(type); }
    // Tells the arena that this value changed.
    void Touch() const;
    // Frees the payload; the value becomes UInt 0. No Touch.
    void ReleasePayload();
    // A stored string becomes an owned one (for the pointer getters).
    void OwnStoredText() const;
    void SetInline(ValueType type, uint32_t bits);
    // Clears, then holds an empty payload of type (0.0, "", an empty buffer);
    // codes above Buffer hold nothing.
    void SetEmptyPayload(ValueType type);
};

} // namespace KV
