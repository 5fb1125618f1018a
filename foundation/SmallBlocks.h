#pragma once
// A pool for the many small blocks of data trees: keys, values, string
// payloads, hash-map nodes and small bucket arrays. A block from the C heap
// costs about 90 ns under Wine each way; here it is a free-list pop or push
// under a spin lock. One pool serves the whole process, since trees live on
// several threads and their parts move between trees.
//
// Blocks come in size classes of 4 bytes up to MaxBlockSize (larger requests
// go to the C++ heap), carved from chunks that start at a few blocks and
// grow with the class up to a cap, so the memory taken follows what is in
// use. Each block knows its chunk: a chunk whose blocks are all free again
// is handed out from its start once more, so a freed tree leaves no
// scattered free lists behind and the next one is laid out in order. A
// class keeps empty chunks (refilling them costs no page faults) up to as
// much room as it has in use; the rest, and all of it once no block of the
// class is in use, goes back to the heap.

#include <cstddef>
#include <memory>
#include <new>
#include <utility>

namespace KV {
namespace SmallBlocks {

constexpr size_t MaxBlockSize = 128;

// Never null (out of memory fails as operator new does).
void* Allocate(size_t size);
// size as given to Allocate; null is ignored.
void Free(void* block, size_t size) noexcept;

// An object in a pooled block; destroy it with Delete.
template <typename T, typename... Args>
T* New(Args&&... args)
{
    static_assert(alignof(T) <= 4, "pooled blocks are 4-byte aligned");
    void* block = Allocate(sizeof(T));
    return ::new (block) T(std::forward<Args>(args)...);
}

template <typename T>
void Delete(T* object) noexcept
{
    if (object == nullptr)
        return;
    object->~T();
    Free(object, sizeof(T));
}

} // namespace SmallBlocks

// Standard allocator over the pool, for containers of small elements; arrays
// too large for a block come from std::allocator as before.
template <typename T>
class SmallBlockAllocator {
public:
    using value_type = T;
    static_assert(alignof(T) <= 4, "pooled blocks are 4-byte aligned");

    SmallBlockAllocator() noexcept = default;
    template <typename U>
    SmallBlockAllocator(const SmallBlockAllocator<U>&) noexcept {}

    T* allocate(size_t count)
    {
        if (count > SmallBlocks::MaxBlockSize / sizeof(T))
            return std::allocator<T>().allocate(count);
        return static_cast<T*>(SmallBlocks::Allocate(count * sizeof(T)));
    }

    void deallocate(T* block, size_t count) noexcept
    {
        if (count > SmallBlocks::MaxBlockSize / sizeof(T))
            std::allocator<T>().deallocate(block, count);
        else
            SmallBlocks::Free(block, count * sizeof(T));
    }

    template <typename U>
    bool operator==(const SmallBlockAllocator<U>&) const noexcept { return true; }
    template <typename U>
    bool operator!=(const SmallBlockAllocator<U>&) const noexcept { return false; }
};

} // namespace KV
