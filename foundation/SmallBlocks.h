#pragma once
// A pool for the many small blocks of data trees: keys, values, string
// payloads, hash-map nodes and small bucket arrays. A block from the C heap
// costs about 90 ns under Wine each way; here it is a free-list pop or push
// under a spin lock. One pool serves the whole process, since trees live on
// several threads and their parts move between trees.
//
// Blocks come in size classes of BlockAlignment bytes up to MaxBlockSize (larger requests
// go to the C++ heap), carved from chunks that start at a few blocks and
// grow with the class up to a cap, so the memory taken follows what is in
// use. Each block knows its chunk: a chunk whose blocks are all free again
// is handed out from its start once more, so a freed tree leaves no
// scattered free lists behind and the next one is laid out in order. A
// class keeps empty chunks (refilling them costs no page faults) up to as
// much room as it has in use; the rest, and all of it once no block of the
// class is in use, goes back to the heap.
//
// A tree being read from data takes its blocks from an arena instead: a few
// large spans filled in order, with no free lists, no lock and no header per
// block, which go back to the system at once when the tree is let go. Free
// knows an arena's blocks by their address, so it serves all of them.

#include <cstddef>
#include <memory>
#include <new>
#include <utility>

namespace KV {
namespace SmallBlocks {

constexpr size_t MaxBlockSize = 128;
// Blocks are aligned as a pointer is, which is what keys, values and their
// payloads need.
constexpr size_t BlockAlignment = alignof(void*);

// Never null (out of memory fails as operator new does).
void* Allocate(size_t size);
// size as given to Allocate; null is ignored.
void Free(void* block, size_t size) noexcept;

class Arena;

// Until EndFill, every block this thread allocates comes from a new arena,
// taken from the system in spans of spanBytes. One thread fills at a time: null
// while another thread fills one (its blocks then come from the pool).
Arena* BeginFill(size_t spanBytes, const void* owner);
void EndFill(Arena* arena);
// A block of the arena this thread fills, without asking which one that is.
void* TakeFromArena(Arena* arena, size_t size);
// The arena block came from, or null for a pooled or heap block.
Arena* ArenaOf(const void* block);
bool IsOwner(const Arena* arena, const void* owner);
// Something stored in the arena's objects was changed, added or taken out:
// they may now hold heap memory or live outside the owner's tree.
void MarkChanged(Arena* arena);
bool HasChanged(const Arena* arena);
// The owner lets go. allDead: no block of the arena is in use any more (its
// objects were never changed, so none needs destroying) and its memory goes
// at once; otherwise it goes when the last block still in use is freed.
void ReleaseArena(Arena* arena, bool allDead);

// An object in a pooled block; destroy it with Delete.
template <typename T, typename... Args>
T* New(Args&&... args)
{
    static_assert(alignof(T) <= SmallBlocks::BlockAlignment, "pooled blocks are pointer-aligned");
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

// Standard allocator over the pool, for containers of small elements (and,
// through Allocate, larger arrays, which may then come from an arena).
template <typename T>
class SmallBlockAllocator {
public:
    using value_type = T;
    static_assert(alignof(T) <= SmallBlocks::BlockAlignment, "pooled blocks are pointer-aligned");

    SmallBlockAllocator() noexcept = default;
    template <typename U>
    SmallBlockAllocator(const SmallBlockAllocator<U>&) noexcept {}

    // Containers keep count within max_size(), so the product cannot wrap.
    T* allocate(size_t count)
    {
        return static_cast<T*>(SmallBlocks::Allocate(count * sizeof(T)));
    }

    void deallocate(T* block, size_t count) noexcept { SmallBlocks::Free(block, count * sizeof(T)); }

    template <typename U>
    bool operator==(const SmallBlockAllocator<U>&) const noexcept { return true; }
    template <typename U>
    bool operator!=(const SmallBlockAllocator<U>&) const noexcept { return false; }
};

} // namespace KV
