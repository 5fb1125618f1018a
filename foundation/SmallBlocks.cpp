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

void* Allocate(size_t size)
{
    if (size > MaxBlockSize)
        return ::operator new(size);
    PoolLock lock;
    return TakeBlock(ClassIndex(size));
}

void Free(void* block, size_t size) noexcept
{
    if (block == nullptr)
        return;
    if (size > MaxBlockSize) {
        ::operator delete(block);
        return;
    }
    PoolLock lock;
    ReturnBlock(ClassIndex(size), block);
}

} // namespace SmallBlocks
} // namespace KV
