#include "foundation/SmallBlocks.h"

#include <windows.h>

#include <atomic>
#include <cstdint>

namespace KV {
namespace SmallBlocks {

namespace {

constexpr size_t Granularity = 4;
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
    // Set for the one chunk record every block of an arena points to.
    Arena* arena;
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
    chunk->arena = nullptr;
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

// Blocks are laid out one after another in spans; the header of each points
// to the arena's chunk record. Only the filling thread allocates, so that
// needs no lock; frees (from any thread, once the tree is out) count down
// under the pool's lock.
class Arena {
public:
    Arena(size_t spanBytes, const void* owner) : m_owner(owner), m_spanBytes(spanBytes)
    {
        m_record.arena = this;
    }
    Arena(const Arena&) = delete;
    Arena& operator=(const Arena&) = delete;
    ~Arena()
    {
        while (m_spans != nullptr) {
            Span* next = m_spans->next;
            ::operator delete(m_spans);
            m_spans = next;
        }
    }

    void* Take(size_t size)
    {
        const size_t step = sizeof(BlockHeader) + (size + Granularity - 1) / Granularity * Granularity;
        if (static_cast<size_t>(m_end - m_cursor) < step)
            AddSpan(step);
        BlockHeader* header = reinterpret_cast<BlockHeader*>(m_cursor);
        m_cursor += step;
        header->chunk = &m_record;
        ++m_liveBlocks;
        return header + 1;
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
    };

    // Spans of one size: the room left unused is at most one span (and the
    // tail of a span a large block did not fit into).
    void AddSpan(size_t step)
    {
        size_t bytes = m_spanBytes;
        if (bytes < step + sizeof(Span))
            bytes = step + sizeof(Span);
        Span* span = static_cast<Span*>(::operator new(bytes));
        span->next = m_spans;
        m_spans = span;
        m_cursor = reinterpret_cast<uint8_t*>(span + 1);
        m_end = reinterpret_cast<uint8_t*>(span) + bytes;
    }

    Chunk m_record{};
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

constexpr size_t MinSpanBytes = 128;

// Blocks too large for a class carry a header too, with no chunk, so that
// Free can tell them from arena blocks.
void* TakeLargeBlock(size_t size)
{
    if (size > static_cast<size_t>(-1) - sizeof(BlockHeader))
        return ::operator new(size); // fails as an impossible request does
    BlockHeader* header = static_cast<BlockHeader*>(::operator new(sizeof(BlockHeader) + size));
    header->chunk = nullptr;
    return header + 1;
}

} // namespace

void* Allocate(size_t size)
{
    if (g_fillingThread.load(std::memory_order_relaxed) == GetCurrentThreadId()) {
        if (Arena* arena = g_filling.load(std::memory_order_relaxed))
            return arena->Take(size);
    }
    if (size > MaxBlockSize)
        return TakeLargeBlock(size);
    PoolLock lock;
    return TakeBlock(ClassIndex(size));
}

void Free(void* block, size_t size) noexcept
{
    if (block == nullptr)
        return;
    BlockHeader* header = static_cast<BlockHeader*>(block) - 1;
    Chunk* chunk = header->chunk;
    if (chunk != nullptr && chunk->arena != nullptr) {
        Arena* arena = chunk->arena;
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
        ::operator delete(header);
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
    Arena* arena = new Arena(spanBytes < MinSpanBytes ? MinSpanBytes : spanBytes, owner);
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

Arena* ArenaOf(const void* block)
{
    const Chunk* chunk = (static_cast<const BlockHeader*>(block) - 1)->chunk;
    return chunk != nullptr ? chunk->arena : nullptr;
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
