#pragma once
// A named node of the data tree: named values and named sub-keys, each kind
// in a list of its own that finds entries by name, all owned by the node. Saved and loaded in the "KVDT" file format.
// A key that reads a tree from data builds it in an arena of its own: until
// something in that tree is changed, letting it go frees the arena at once
// instead of every part on its own.

#include "foundation/DataValue.h"
#include "foundation/NamedEntries.h"
#include "foundation/SmallBlocks.h"

#include <cstdint>
#include <string>

namespace KV {

class Stream;
class MemoryStream;

class DataKey {
public:
    // Iteration visits the entries in the order they were added (for a tree
    // read from data: the order of the data), except that taking an entry out
    // of a large list moves its last entry into the gap. Nothing may rely on
    // the order: files list entries in any order.
    using ValueMap = NamedEntries<DataValue>;
    using KeyMap = NamedEntries<DataKey>;

    // Deepest sub-key level a load accepts (the root is level 0).
    static constexpr uint32_t MaxLoadDepth = 64;
    // "KVDT" in file order.
    static constexpr uint32_t Magic = 0x5444564B;

    DataKey() = default;
    explicit DataKey(const std::string& name);
    DataKey(const DataKey& other);
    // Reads one node (see Deserialize).
    explicit DataKey(Stream& source);
    ~DataKey();

    DataKey& operator=(const DataKey& other);

    // Trees are made of many small keys: they come from the small-block pool.
    static void* operator new(size_t size) { return SmallBlocks::Allocate(size); }
    static void operator delete(void* block, size_t size) noexcept { SmallBlocks::Free(block, size); }

    const std::string& GetName() const { return m_name; }
    // Only for keys not stored in a parent; a parent renames through RenameKey.
    void SetName(const std::string& name);

    // Deletes every value and sub-key; the name stays.
    void Clear();

    // --- values ---
    // Null when a value of that name exists; else a new UInt 0.
    DataValue* AddValue(const std::string& name);
    // Stores value under its own name and takes ownership; a different value
    // of that name is deleted. Returns value.
    DataValue* SetValue(DataValue* value);
    DataValue* FindValue(const std::string& name) const;
    DataValue* FindValue(const std::string& name, ValueType type) const;
    bool HasValue(const std::string& name) const;
    // The caller owns the result; null when missing.
    DataValue* DetachValue(const std::string& name);
    bool DeleteValue(const std::string& name);
    bool RenameValue(const std::string& oldName, const std::string& newName);
    // First of "New Value #1", "New Value #2", ... not in use.
    std::string UniqueValueName() const;

    // --- sub-keys ---
    DataKey* AddKey(const std::string& name);
    // When missing: a new empty sub-key if create, else null.
    DataKey* GetKey(const std::string& name, bool create = false);
    const DataKey* GetKey(const std::string& name) const;
    DataKey* SetKey(DataKey* key);
    bool HasKey(const std::string& name) const;
    DataKey* DetachKey(const std::string& name);
    bool DeleteKey(const std::string& name);
    bool RenameKey(const std::string& oldName, const std::string& newName);
    // First of "New Key #1", "New Key #2", ... not in use.
    std::string UniqueKeyName() const;

    // --- typed setters: create or replace (whatever the old type) ---
    void SetUInt(const std::string& name, uint32_t value);
    void SetInt(const std::string& name, int32_t value);
    void SetBool(const std::string& name, bool value);
    void SetFloat(const std::string& name, float value);
    void SetColor(const std::string& name, uint32_t color);
    void SetColor(const std::string& name, uint8_t b0, uint8_t b1, uint8_t b2, uint8_t b3);
    void SetDouble(const std::string& name, double value);
    void SetStringA(const std::string& name, const std::string& value);
    void SetStringW(const std::string& name, const std::wstring& value);
    void SetBuffer(const std::string& name, MemoryStream* stream, bool copy = true);
    void SetBuffer(const std::string& name, const MemoryStream& stream);

    // --- getters with a default: only an exact type match counts ---
    uint32_t GetUInt(const std::string& name, uint32_t defaultValue) const;
    int32_t GetInt(const std::string& name, int32_t defaultValue) const;
    bool GetBool(const std::string& name, bool defaultValue) const;
    float GetFloat(const std::string& name, float defaultValue) const;
    uint32_t GetColor(const std::string& name, uint32_t defaultValue) const;
    double GetDouble(const std::string& name, double defaultValue) const;
    std::string GetStringA(const std::string& name, const std::string& defaultValue) const;
    std::wstring GetStringW(const std::string& name, const std::wstring& defaultValue) const;
    // The stored stream (still owned by the tree) or defaultValue.
    MemoryStream* GetBuffer(const std::string& name, MemoryStream* defaultValue) const;

    // --- strict getters: 0, false, 0.0 or null when missing or of another
    // type; pointers are the tree's own objects ---
    uint32_t GetUInt(const std::string& name) const;
    int32_t GetInt(const std::string& name) const;
    bool GetBool(const std::string& name) const;
    float GetFloat(const std::string& name) const;
    uint32_t GetColor(const std::string& name) const;
    double GetDouble(const std::string& name) const;
    const std::string* GetStringA(const std::string& name) const;
    const std::wstring* GetStringW(const std::string& name) const;
    MemoryStream* GetBuffer(const std::string& name) const;
    // The characters of a string value of that name and type, empty when
    // missing or of another type; no std::string is made for them.
    std::string_view GetStringAView(const std::string& name) const;
    std::wstring_view GetStringWView(const std::string& name) const;

    uint32_t GetValueCount() const { return static_cast<uint32_t>(m_values.size()); }
    uint32_t GetKeyCount() const { return static_cast<uint32_t>(m_keys.size()); }
    const ValueMap& GetValues() const { return m_values; }
    const KeyMap& GetKeys() const { return m_keys; }

    // --- file format ---
    // The node and, recursively, its sub-keys.
    void Serialize(Stream& target) const;
    // Replaces the content with the node read. False, with the key left empty
    // under its old name, when the root's magic is wrong, the data runs out,
    // a count exceeds what the data can hold, sub-keys nest deeper than
    // MaxLoadDepth, the tree would take more memory than its data can justify
    // or memory runs out. A sub-key with a wrong magic is kept as an empty
    // unnamed sub-key; of same-named entries the first read wins. Never throws.
    bool Deserialize(Stream& source);

    // How a read or a load ended, for callers that treat running out of
    // memory (the data may be good) apart from data that is refused.
    enum class ReadResult { Read, NotOpened, Refused, OutOfMemory };
    ReadResult ReadFrom(Stream& source);
    ReadResult LoadFile(const std::wstring& path);
    // Writes the whole file beside the target and then replaces the target;
    // false (old file untouched) when anything fails.
    bool Save(const char* path) const;
    bool Save(const wchar_t* path) const;
    bool Save(const std::string& path) const { return Save(path.c_str()); }
    bool Save(const std::wstring& path) const { return Save(path.c_str()); }
    // Reads the whole file, then deserialises it. False, with the key left
    // as it was, when the file cannot be opened or read; otherwise the
    // result of Deserialize.
    bool Load(const char* path);
    bool Load(const wchar_t* path);
    bool Load(const std::string& path) { return Load(path.c_str()); }
    bool Load(const std::wstring& path) { return Load(path.c_str()); }

private:
    std::string m_name;
    KeyMap m_keys;
    ValueMap m_values;
    // The arena this key lives in, or the one it owns as the root of a tree
    // it read; null for keys on the heap.
    SmallBlocks::Arena* m_arena = nullptr;

    friend class DataTreeReader;
    friend class DataTreeWriter;

    bool OwnsArena() const { return SmallBlocks::IsOwner(m_arena, this); }
    // Tells the arena that a key of its tree changed.
    void Touch();
    // Deletes every value and sub-key; as Clear, without Touch.
    void DeleteContent();
    void CopyContentFrom(const DataKey& other);

    template <typename Setter>
    void SetTyped(const std::string& name, Setter&& setter);
    // Deserialize from bytes of no stream (a file's mapped view).
    ReadResult DeserializeBytes(const uint8_t* data, uint32_t size);
    // What both share: read (given the arena, if any) replaces the content.
    template <typename Read>
    ReadResult ReadTree(uint32_t dataBytes, Read&& read);
};

} // namespace KV
