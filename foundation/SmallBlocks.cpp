#include "foundation/SmallBlocks.h"

#include <windows.h>

#include <atomic>
#include <cstdint>

namespace KV {
namespace SmallBlocks {

namespace {

constexpr size_t Granularity = BlockAlignment;
constexpr size_t ClassCount = MaxBlockSize / Granularity;
// A class's first chunk stays well below what a load may request for
// untrusted data before checking it; each further chunk is half the size of
// all the class holds (so the newest, part-filled one is at most a third of
// it), up to the cap.
constexpr size_t FirstChunkBytes = 128;
constexpr size_t MaxChunkBytes = 64 * 1024;

struct FreeBlock {
    FreeBlock* next;
};

struct Chunk {
    // Neighbours in the class's list of chunks with room; next alone links
    // the spares.
    Chunk* previous;
    Chunk* next;
    FreeBlock* freeBlocks;
    // The part never handed out yet.
    uint8_t* unused;
    uint8_t* unusedEnd;
    size_t liveBlocks;
};

// Every block is preceded by its chunk.
struct BlockHeader {
    Chunk* chunk;
};

struct SizeClass {
    // Chunks in use that are not full. Allocations take from the first; a
    // chunk that gets room again after being full goes to the front, where
    // its memory is still warm.
    Chunk* withRoom = nullptr;
    // Empty chunks kept for the next tree (linked through next), at most as
    // many bytes as the class has in use.
    Chunk* spares = nullptr;
    size_t spareBytes = 0;
    // All chunks, spares included.
    size_t chunkBytes = 0;
    size_t liveBlocks = 0;
};

// Constant-initialised: trees in static objects may use the pool before
// any dynamic initialisation runs.
std::atomic<bool> g_locked{false};
SizeClass g_classes[ClassCount];

// Held only for a few pointer moves (or one heap call for a chunk), so a
// spin lock costs a fraction of a kernel-backed one; a waiter that keeps
// finding it taken gives up its time slice.
class PoolLock {
public:
    PoolLock()
    {
        while (g_locked.exchange(true, std::memory_order_acquire)) {
            for (unsigned spins = 0; g_locked.load(std::memory_order_relaxed); ++spins) {
                if (spins < 64)
                    YieldProcessor();
                else
                    SwitchToThread();
            }
        }
    }
    ~PoolLock() { g_locked.store(false, std::memory_order_release); }
    PoolLock(const PoolLock&) = delete;
    PoolLock& operator=(const PoolLock&) = delete;
};

size_t ClassIndex(size_t size)
{
    return size == 0 ? 0 : (size - 1) / Granularity;
}

size_t BlockStep(size_t index)
{
    return sizeof(BlockHeader) + (index + 1) * Granularity;
}

uint8_t* FirstBlock(Chunk* chunk)
{
    return reinterpret_cast<uint8_t*>(chunk + 1);
}

size_t BytesOf(Chunk* chunk)
{
    return sizeof(Chunk) + static_cast<size_t>(chunk->unusedEnd - FirstBlock(chunk));
}

bool IsFull(const Chunk* chunk)
{
    return chunk->freeBlocks == nullptr && chunk->unused == chunk->unusedEnd;
}

void Link(SizeClass& sizeClass, Chunk* chunk)
{
    chunk->previous = nullptr;
    chunk->next = sizeClass.withRoom;
    if (sizeClass.withRoom != nullptr)
        sizeClass.withRoom->previous = chunk;
    sizeClass.withRoom = chunk;
}

void Unlink(SizeClass& sizeClass, Chunk* chunk)
{
    if (chunk->previous != nullptr)
        chunk->previous->next = chunk->next;
    else
        sizeClass.withRoom = chunk->next;
    if (chunk->next != nullptr)
        chunk->next->previous = chunk->previous;
}

Chunk* AddChunk(SizeClass& sizeClass, size_t step)
{
    size_t bytes = sizeClass.chunkBytes / 2;
    if (bytes < FirstChunkBytes)
        bytes = FirstChunkBytes;
    if (bytes > MaxChunkBytes)
        bytes = MaxChunkBytes;
    const size_t blocks = bytes >= step ? bytes / step : 1;
    const size_t chunkBytes = sizeof(Chunk) + blocks * step;
    Chunk* chunk = static_cast<Chunk*>(::operator new(chunkBytes));
    chunk->freeBlocks = nullptr;
    chunk->unused = FirstBlock(chunk);
    chunk->unusedEnd = chunk->unused + blocks * step;
    chunk->liveBlocks = 0;
    sizeClass.chunkBytes += chunkBytes;
    return chunk;
}

Chunk* PopSpare(SizeClass& sizeClass)
{
    Chunk* chunk = sizeClass.spares;
    sizeClass.spares = chunk->next;
    sizeClass.spareBytes -= BytesOf(chunk);
    return chunk;
}

// A spare is handed out from its start again, in address order, not in the
// order its blocks were freed.
Chunk* ReuseSpare(SizeClass& sizeClass)
{
    Chunk* chunk = PopSpare(sizeClass);
    chunk->freeBlocks = nullptr;
    chunk->unused = FirstBlock(chunk);
    return chunk;
}

void ReleaseChunk(SizeClass& sizeClass, Chunk* chunk)
{
    sizeClass.chunkBytes -= BytesOf(chunk);
    ::operator delete(chunk);
}

void* TakeBlock(size_t index)
{
    SizeClass& sizeClass = g_classes[index];
    const size_t step = BlockStep(index);
    Chunk* chunk = sizeClass.withRoom;
    if (chunk == nullptr) {
        chunk = sizeClass.spares != nullptr ? ReuseSpare(sizeClass) : AddChunk(sizeClass, step);
        Link(sizeClass, chunk);
    }
    BlockHeader* header;
    if (chunk->freeBlocks != nullptr) {
        header = reinterpret_cast<BlockHeader*>(chunk->freeBlocks) - 1;
        chunk->freeBlocks = chunk->freeBlocks->next;
    } else {
        header = reinterpret_cast<BlockHeader*>(chunk->unused);
        chunk->unused += step;
    }
    header->chunk = chunk;
    ++chunk->liveBlocks;
    ++sizeClass.liveBlocks;
    if (IsFull(chunk))
        Unlink(sizeClass, chunk);
    return header + 1;
}

void ReturnBlock(size_t index, void* block)
{
    SizeClass& sizeClass = g_classes[index];
    Chunk* chunk = (static_cast<BlockHeader*>(block) - 1)->chunk;
    if (IsFull(chunk))
        Link(sizeClass, chunk);
    FreeBlock* freed = static_cast<FreeBlock*>(block);
    freed->next = chunk->freeBlocks;
    chunk->freeBlocks = freed;
    --sizeClass.liveBlocks;
    if (--chunk->liveBlocks == 0) {
        Unlink(sizeClass, chunk);
        chunk->next = sizeClass.spares;
        sizeClass.spares = chunk;
        sizeClass.spareBytes += BytesOf(chunk);
    }
    // Spares beyond what is in use go back (all of them once nothing is).
    const size_t liveBytes = sizeClass.liveBlocks * BlockStep(index);
    while (sizeClass.spareBytes > liveBytes)
        ReleaseChunk(sizeClass, PopSpare(sizeClass));
}

} // namespace

namespace {

// Arena spans are whole units of the platform's allocation granularity,
// taken straight from the system; a table of the units of the address space
// tells the arena that owns each. So an arena block needs no header, and
// Free tells it from a pooled one with one look-up.
constexpr unsigned UnitShift = 16;
constexpr size_t UnitBytes = size_t(1) << UnitShift;

#if UINTPTR_MAX == 0xFFFFFFFFu
// A 32-bit address space: one flat table of every unit (256 KiB).
std::atomic<Arena*> g_unitArenas[size_t(1) << (32 - UnitShift)];

std::atomic<Arena*>* UnitSlot(uintptr_t unit, bool /*create*/)
{
    return &g_unitArenas[unit];
}
#else
// A 64-bit address space (user addresses below 2^48): a table of leaves,
// each for 4 GiB, made when an arena first takes a span there and kept.
constexpr unsigned LeafShift = 32 - UnitShift;
constexpr size_t LeafUnits = size_t(1) << LeafShift;
constexpr size_t LeafCount = size_t(1) << (48 - 32);
using Leaf = std::atomic<Arena*>[LeafUnits];
std::atomic<Leaf*> g_leaves[LeafCount];

std::atomic<Arena*>* UnitSlot(uintptr_t unit, bool create)
{
    const uintptr_t leafIndex = unit >> LeafShift;
    if (leafIndex >= LeafCount)
        return nullptr;
    Leaf* leaf = g_leaves[leafIndex].load(std::memory_order_acquire);
    if (leaf == nullptr && create) {
        // Zeroed pages are null entries.
        Leaf* fresh = static_cast<Leaf*>(::VirtualAlloc(nullptr, sizeof(Leaf), MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
        if (fresh == nullptr)
            return nullptr;
        if (g_leaves[leafIndex].compare_exchange_strong(leaf, fresh, std::memory_order_acq_rel))
            leaf = fresh;
        else
            ::VirtualFree(fresh, 0, MEM_RELEASE);
    }
    return leaf == nullptr ? nullptr : &(*leaf)[unit & (LeafUnits - 1)];
}
#endif

Arena* UnitArena(const void* block)
{
    std::atomic<Arena*>* slot = UnitSlot(reinterpret_cast<uintptr_t>(block) >> UnitShift, false);
    return slot == nullptr ? nullptr : slot->load(std::memory_order_relaxed);
}

} // namespace

// Blocks are laid out one after another in spans. Only the filling thread
// allocates, so that needs no lock; frees (from any thread, once the tree is
// out) count down under the pool's lock.
class Arena {
public:
    Arena(size_t spanBytes, const void* owner)
        : m_owner(owner), m_spanBytes((spanBytes + UnitBytes - 1) / UnitBytes * UnitBytes)
    {
    }
    Arena(const Arena&) = delete;
    Arena& operator=(const Arena&) = delete;
    ~Arena()
    {
        while (m_spans != nullptr) {
            Span* span = m_spans;
            m_spans = span->next;
            SetUnits(span, span->bytes, nullptr);
            ::VirtualFree(span, 0, MEM_RELEASE);
        }
    }

    void* Take(size_t size)
    {
        const size_t step = size == 0 ? Granularity : (size + Granularity - 1) / Granularity * Granularity;
        if (static_cast<size_t>(m_end - m_cursor) < step)
            AddSpan(step);
        void* block = m_cursor;
        m_cursor += step;
        ++m_liveBlocks;
        return block;
    }

    // Under the pool's lock; true when the arena is to be deleted.
    bool Return()
    {
        return --m_liveBlocks == 0 && m_released;
    }
    bool Release(bool allDead)
    {
        m_released = true;
        m_owner = nullptr;
        if (allDead)
            m_liveBlocks = 0;
        return m_liveBlocks == 0;
    }

    const void* Owner() const { return m_owner; }
    std::atomic<bool> changed{false};

private:
    struct Span {
        Span* next;
        size_t bytes;
    };

    // False when a unit has no slot (its table could not be made).
    static bool SetUnits(const void* start, size_t bytes, Arena* arena)
    {
        const uintptr_t first = reinterpret_cast<uintptr_t>(start) >> UnitShift;
        for (uintptr_t unit = first; unit < first + bytes / UnitBytes; ++unit) {
            std::atomic<Arena*>* slot = UnitSlot(unit, arena != nullptr);
            if (slot == nullptr)
                return false;
            slot->store(arena, std::memory_order_relaxed);
        }
        return true;
    }

    // Spans of one size: the room left unused is at most one span (and the
    // tail of a span a large block did not fit into).
    void AddSpan(size_t step)
    {
        size_t bytes = m_spanBytes;
        if (bytes - sizeof(Span) < step)
            bytes = (step + sizeof(Span) + UnitBytes - 1) / UnitBytes * UnitBytes;
        Span* span = static_cast<Span*>(::VirtualAlloc(nullptr, bytes, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
        if (span == nullptr)
            throw std::bad_alloc(); // as operator new fails
        if (!SetUnits(span, bytes, this)) {
            SetUnits(span, bytes, nullptr);
            ::VirtualFree(span, 0, MEM_RELEASE);
            throw std::bad_alloc();
        }
        span->next = m_spans;
        span->bytes = bytes;
        m_spans = span;
        m_cursor = reinterpret_cast<uint8_t*>(span + 1);
        m_end = reinterpret_cast<uint8_t*>(span) + bytes;
    }

    const void* m_owner;
    Span* m_spans = nullptr;
    uint8_t* m_cursor = nullptr;
    uint8_t* m_end = nullptr;
    const size_t m_spanBytes;
    size_t m_liveBlocks = 0;
    bool m_released = false;
};

namespace {

// The thread filling an arena (0: none) and its arena. Only that thread
// reads a match, so the pair needs no lock: other threads see an id that is
// not theirs.
std::atomic<DWORD> g_fillingThread{0};
std::atomic<Arena*> g_filling{nullptr};

} // namespace

void* Allocate(size_t size)
{
    if (g_fillingThread.load(std::memory_order_relaxed) == GetCurrentThreadId()) {
        if (Arena* arena = g_filling.load(std::memory_order_relaxed))
            return arena->Take(size);
    }
    if (size > MaxBlockSize)
        return ::operator new(size);
    PoolLock lock;
    return TakeBlock(ClassIndex(size));
}

void Free(void* block, size_t size) noexcept
{
    if (block == nullptr)
        return;
    if (Arena* arena = UnitArena(block)) {
        bool last;
        {
            PoolLock lock;
            last = arena->Return();
        }
        if (last)
            delete arena;
        return;
    }
    if (size > MaxBlockSize) {
        ::operator delete(block);
        return;
    }
    PoolLock lock;
    ReturnBlock(ClassIndex(size), block);
}

Arena* BeginFill(size_t spanBytes, const void* owner)
{
    DWORD none = 0;
    if (!g_fillingThread.compare_exchange_strong(none, GetCurrentThreadId()))
        return nullptr;
    // Without memory for the arena the tree is read from the pool.
    Arena* arena = new (std::nothrow) Arena(spanBytes, owner);
    if (arena == nullptr) {
        g_fillingThread.store(0, std::memory_order_release);
        return nullptr;
    }
    g_filling.store(arena, std::memory_order_relaxed);
    return arena;
}

void EndFill(Arena* arena)
{
    if (arena == nullptr)
        return;
    g_filling.store(nullptr, std::memory_order_relaxed);
    g_fillingThread.store(0, std::memory_order_release);
}

void* TakeFromArena(Arena* arena, size_t size)
{
    return arena->Take(size);
}

Arena* ArenaOf(const void* block)
{
    return UnitArena(block);
}

bool IsOwner(const Arena* arena, const void* owner)
{
    return arena != nullptr && arena->Owner() == owner;
}

void MarkChanged(Arena* arena)
{
    arena->changed.store(true, std::memory_order_relaxed);
}

bool HasChanged(const Arena* arena)
{
    return arena->changed.load(std::memory_order_relaxed);
}

void ReleaseArena(Arena* arena, bool allDead)
{
    bool last;
    {
        PoolLock lock;
        last = arena->Release(allDead);
    }
    if (last)
        delete arena;
}

} // namespace SmallBlocks
} // namespace KV
