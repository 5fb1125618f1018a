#pragma once
// The named items of one kind that a data-tree key holds (its values or its
// sub-keys), each item knowing its own name. They stay in one array in the
// order they were added, so a key costs no allocation per entry and a walk
// over a tree reads memory in the order it was made. Small lists are searched
// in place; a list with room for more than IndexThreshold items also keeps an
// open-addressing index of the names, so a key with a hundred thousand
// sub-keys still finds one at once. Storage comes from the small-block pool,
// or from the arena of a tree being read. The list never deletes its items.

#include "foundation/SmallBlocks.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <memory>
#include <string>
#include <string_view>

namespace KV {

namespace NamedIndex {

// FNV-1a: names are short, and this is cheaper than a general-purpose hash.
inline uint32_t Hash(std::string_view name)
{
    uint32_t hash = 2166136261u;
    for (unsigned char c : name)
        hash = (hash ^ c) * 16777619u;
    return hash;
}

} // namespace NamedIndex

template <typename Item>
class NamedEntries {
public:
    // Lists up to this room are searched in place.
    static constexpr uint32_t IndexThreshold = 16;

    using key_type = std::string;
    using mapped_type = Item*;

    // What iteration yields: the item's name and the item.
    struct Entry {
        const std::string& first;
        Item* second;
    };

    class Iterator {
    public:
        using iterator_category = std::forward_iterator_tag;
        using value_type = Entry;
        using difference_type = std::ptrdiff_t;
        using pointer = void;
        using reference = Entry;

        explicit Iterator(Item* const* at) : m_at(at) {}
        Entry operator*() const { return Entry{(*m_at)->GetName(), *m_at}; }
        Iterator& operator++()
        {
            ++m_at;
            return *this;
        }
        Iterator operator++(int)
        {
            Iterator before = *this;
            ++m_at;
            return before;
        }
        bool operator==(const Iterator& other) const { return m_at == other.m_at; }
        bool operator!=(const Iterator& other) const { return m_at != other.m_at; }

    private:
        Item* const* m_at;
    };

    NamedEntries() = default;
    ~NamedEntries() { Reset(); }
    NamedEntries(const NamedEntries&) = delete;
    NamedEntries& operator=(const NamedEntries&) = delete;

    void swap(NamedEntries& other) noexcept
    {
        std::swap(m_items, other.m_items);
        std::swap(m_count, other.m_count);
        std::swap(m_capacity, other.m_capacity);
    }

    uint32_t size() const { return m_count; }
    bool empty() const { return m_count == 0; }
    Iterator begin() const { return Iterator(m_items); }
    Iterator end() const { return Iterator(m_items + m_count); }

    // The item at position (below size()), in the order of iteration.
    Item* At(uint32_t position) const { return m_items[position]; }

    Item* Find(std::string_view name) const
    {
        if (m_capacity > IndexThreshold) {
            const Slot& slot = Index()[FindSlot(name, NamedIndex::Hash(name))];
            return slot.position == 0 ? nullptr : m_items[slot.position - 1];
        }
        for (uint32_t i = 0; i < m_count; ++i) {
            if (SameName(m_items[i]->GetName(), name))
                return m_items[i];
        }
        return nullptr;
    }

    // Room for count items in all, taken exactly (for a copy, which knows
    // its counts).
    void Reserve(uint32_t count)
    {
        if (count > m_capacity)
            Reallocate(count);
    }

    // item's name must not be in the list yet (callers look it up first).
    void Append(Item* item)
    {
        if (m_count == m_capacity)
            Reallocate(m_capacity < 4 ? 4 : m_capacity * 2);
        if (m_capacity > IndexThreshold) {
            const std::string& name = item->GetName();
            const uint32_t hash = NamedIndex::Hash(name);
            Index()[FindSlot(name, hash)] = Slot{hash, m_count + 1};
        }
        m_items[m_count++] = item;
    }

    // For a reader that adds a list as its records arrive, starting from the
    // empty list: items go in unchecked, and KeepFirstOfEachName then looks at
    // their names all together. The room grows with the items that really
    // came, never past claimed (what the data says the list holds), so a
    // count that lies costs nothing beyond the items read.
    void AppendRead(Item* item, uint32_t claimed)
    {
        if (m_count == m_capacity)
            GrowForRead(claimed);
        m_items[m_count++] = item;
    }

    // Keeps the first item of each name, in order, and hands every later one
    // to drop. A large list gets its index here: hashes first, in one pass
    // over the names, then the slots, each asked for a few items before it
    // is used, so that waiting for them overlaps.
    template <typename Drop>
    void KeepFirstOfEachName(Drop&& drop)
    {
        uint32_t kept = 0;
        if (m_capacity <= IndexThreshold) {
            for (uint32_t i = 0; i < m_count; ++i) {
                Item* item = m_items[i];
                bool seen = false;
                for (uint32_t j = 0; j < kept && !seen; ++j)
                    seen = SameName(m_items[j]->GetName(), item->GetName());
                if (seen)
                    drop(item);
                else
                    m_items[kept++] = item;
            }
            m_count = kept;
            return;
        }
        std::unique_ptr<uint32_t[]> hashes(new uint32_t[m_count]);
        for (uint32_t i = 0; i < m_count; ++i)
            hashes[i] = NamedIndex::Hash(m_items[i]->GetName());
        // A list filled by AppendRead gets its index only now, at its final size.
        if (Index() == nullptr) {
            Index() = static_cast<Slot*>(SmallBlocks::Allocate(IndexBytes(m_capacity)));
            std::memset(Index(), 0, IndexBytes(m_capacity));
        }
        constexpr uint32_t Ahead = 8;
        const uint32_t mask = IndexSize(m_capacity) - 1;
        Slot* index = Index();
        for (uint32_t i = 0; i < m_count; ++i) {
            if (i + Ahead < m_count)
                __builtin_prefetch(&index[hashes[i + Ahead] & mask]);
            Item* item = m_items[i];
            // Only the kept items, at the front, are indexed so far.
            const uint32_t slot = FindSlot(item->GetName(), hashes[i]);
            if (index[slot].position != 0) {
                drop(item);
                continue;
            }
            m_items[kept] = item;
            index[slot] = Slot{hashes[i], kept + 1};
            ++kept;
        }
        m_count = kept;
    }

    // Puts item in the place of the item of the same name.
    void Replace(Item* old, Item* item)
    {
        m_items[PositionOf(old)] = item;
    }

    // Takes the item of that name out of the list (null when missing). A
    // small list keeps its order; in a large one the last item fills the gap.
    Item* Remove(std::string_view name)
    {
        if (m_capacity <= IndexThreshold) {
            for (uint32_t i = 0; i < m_count; ++i) {
                Item* item = m_items[i];
                if (SameName(item->GetName(), name)) {
                    std::memmove(m_items + i, m_items + i + 1, (m_count - i - 1) * sizeof(Item*));
                    --m_count;
                    return item;
                }
            }
            return nullptr;
        }
        const uint32_t slot = FindSlot(name, NamedIndex::Hash(name));
        if (Index()[slot].position == 0)
            return nullptr;
        const uint32_t position = Index()[slot].position - 1;
        Item* item = m_items[position];
        ClearSlot(slot);
        const uint32_t last = m_count - 1;
        if (position != last) {
            Item* moved = m_items[last];
            m_items[position] = moved;
            Index()[SlotOf(moved, moved->GetName())].position = position + 1;
        }
        --m_count;
        return item;
    }

    // item, in this list under oldName, now carries a new name.
    void Renamed(Item* item, std::string_view oldName)
    {
        if (m_capacity <= IndexThreshold)
            return;
        const uint32_t slot = SlotOf(item, oldName);
        const uint32_t position = Index()[slot].position - 1;
        ClearSlot(slot);
        const uint32_t hash = NamedIndex::Hash(item->GetName());
        Index()[FindSlot(item->GetName(), hash)] = Slot{hash, position + 1};
    }

    // Empties the list and frees its storage (the items stay alive).
    void Reset()
    {
        if (m_items != nullptr) {
            if (m_capacity > IndexThreshold) {
                SmallBlocks::Free(Index(), IndexBytes(m_capacity));
                SmallBlocks::Free(m_items - 1, (m_capacity + 1) * sizeof(Item*));
            } else {
                SmallBlocks::Free(m_items, m_capacity * sizeof(Item*));
            }
        }
        Abandon();
    }

    // Empties the list without freeing its storage: for a list in an arena
    // that goes back to the system as a whole.
    void Abandon()
    {
        m_items = nullptr;
        m_count = 0;
        m_capacity = 0;
    }

private:
    // An index slot: the name's hash, so that a probe rarely needs to look at
    // an item, and the item's position + 1 (0: the slot is free).
    struct Slot {
        uint32_t hash;
        uint32_t position;
    };

    static bool SameName(const std::string& itemName, std::string_view name)
    {
        return itemName.size() == name.size() && std::memcmp(itemName.data(), name.data(), name.size()) == 0;
    }

    // A list with an index has one slot in front of its items that holds it.
    Slot*& Index() const { return *reinterpret_cast<Slot**>(m_items - 1); }

    // At least twice the room, a power of two: probes stay short.
    static uint32_t IndexSize(uint32_t capacity)
    {
        uint32_t size = 32;
        while (size < capacity * 2)
            size *= 2;
        return size;
    }
    static size_t IndexBytes(uint32_t capacity) { return IndexSize(capacity) * sizeof(Slot); }

    // The slot of name, or the free slot where it goes.
    uint32_t FindSlot(std::string_view name, uint32_t hash) const
    {
        const uint32_t mask = IndexSize(m_capacity) - 1;
        const Slot* index = Index();
        uint32_t slot = hash & mask;
        while (index[slot].position != 0) {
            if (index[slot].hash == hash && SameName(m_items[index[slot].position - 1]->GetName(), name))
                return slot;
            slot = (slot + 1) & mask;
        }
        return slot;
    }

    // The slot that points at item, searched from the home of name (the
    // name it is indexed under, which a rename may have changed since).
    uint32_t SlotOf(const Item* item, std::string_view name) const
    {
        const uint32_t mask = IndexSize(m_capacity) - 1;
        const Slot* index = Index();
        uint32_t slot = NamedIndex::Hash(name) & mask;
        while (index[slot].position == 0 || m_items[index[slot].position - 1] != item)
            slot = (slot + 1) & mask;
        return slot;
    }

    // Linear probing keeps every entry reachable from its home slot: the
    // entries after a freed slot move back into it where they may.
    void ClearSlot(uint32_t slot)
    {
        const uint32_t mask = IndexSize(m_capacity) - 1;
        Slot* index = Index();
        uint32_t hole = slot;
        for (uint32_t next = (hole + 1) & mask; index[next].position != 0; next = (next + 1) & mask) {
            const uint32_t home = index[next].hash & mask;
            // Movable when its home is not in (hole, next], cyclically.
            const bool between = hole <= next ? (home > hole && home <= next) : (home > hole || home <= next);
            if (!between) {
                index[hole] = index[next];
                hole = next;
            }
        }
        index[hole] = Slot{0, 0};
    }

    uint32_t PositionOf(const Item* item) const
    {
        if (m_capacity > IndexThreshold)
            return Index()[SlotOf(item, item->GetName())].position - 1;
        uint32_t position = 0;
        while (m_items[position] != item)
            ++position;
        return position;
    }

    // Doubles the room (at first IndexThreshold items), up to claimed. The
    // index of a large list is left for KeepFirstOfEachName to make.
    void GrowForRead(uint32_t claimed)
    {
        uint32_t capacity = m_capacity == 0 ? IndexThreshold : (m_capacity > claimed / 2 ? claimed : m_capacity * 2);
        if (capacity > claimed)
            capacity = claimed;
        if (capacity <= m_count)
            capacity = m_count + 1;
        Reallocate(capacity, false);
    }

    // Without withIndex a large list gets an empty place for its index.
    void Reallocate(uint32_t capacity, bool withIndex = true)
    {
        const bool indexed = capacity > IndexThreshold;
        const size_t bytes = (capacity + (indexed ? 1 : 0)) * sizeof(Item*);
        Item** block = static_cast<Item**>(SmallBlocks::Allocate(bytes));
        Item** items = indexed ? block + 1 : block;
        if (m_count != 0)
            std::memcpy(items, m_items, m_count * sizeof(Item*));
        const uint32_t count = m_count;
        Reset();
        m_items = items;
        m_count = count;
        m_capacity = capacity;
        if (indexed && !withIndex) {
            Index() = nullptr;
        } else if (indexed) {
            Slot* index = static_cast<Slot*>(SmallBlocks::Allocate(IndexBytes(capacity)));
            std::memset(index, 0, IndexBytes(capacity));
            Index() = index;
            for (uint32_t i = 0; i < m_count; ++i) {
                const std::string& name = m_items[i]->GetName();
                const uint32_t hash = NamedIndex::Hash(name);
                index[FindSlot(name, hash)] = Slot{hash, i + 1};
            }
        }
    }

    Item** m_items = nullptr;
    uint32_t m_count = 0;
    uint32_t m_capacity = 0;
};

} // namespace KV
