#pragma once
// Memory for what one country of the catalogue holds: its channels, their
// table, the channels' streams and their addresses. It is
// taken from a few blocks and given back all at once with the country,
// instead of a heap block or more per channel and stream.

#include <cstddef>
#include <memory>
#include <vector>

class CCountryArena {
public:
    CCountryArena() = default;
    CCountryArena(const CCountryArena&) = delete;
    CCountryArena& operator=(const CCountryArena&) = delete;

    // size bytes at the given alignment (a power of two), valid while the
    // arena lives.
    void* Take(size_t size, size_t alignment);

private:
    std::vector<std::unique_ptr<char[]>> m_blocks;
    char* m_next = nullptr;
    size_t m_left = 0;
    size_t m_nextBlockSize = 4096;
};

// The allocator of the containers a country keeps in its arena: what they
// give back stays taken until the country goes.
template <typename T>
class CountryAllocator {
public:
    using value_type = T;

    explicit CountryAllocator(CCountryArena& arena) noexcept : m_arena(&arena) {}
    template <typename U>
    CountryAllocator(const CountryAllocator<U>& other) noexcept : m_arena(other.Arena())
    {
    }

    T* allocate(size_t count) { return static_cast<T*>(m_arena->Take(count * sizeof(T), alignof(T))); }
    void deallocate(T*, size_t) noexcept {}

    CCountryArena* Arena() const { return m_arena; }

    template <typename U>
    bool operator==(const CountryAllocator<U>& other) const
    {
        return m_arena == other.Arena();
    }
    template <typename U>
    bool operator!=(const CountryAllocator<U>& other) const
    {
        return m_arena != other.Arena();
    }

private:
    CCountryArena* m_arena;
};
