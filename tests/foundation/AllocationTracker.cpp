// Linker-level wrappers of the C heap: every malloc, calloc, realloc and free
// of the statically linked code (ours, libstdc++'s operator new, gtest) comes
// through here. Block sizes come from _msize, so blocks the C runtime DLL
// handed out on its own are accounted for correctly when they are freed.
#include "AllocationTracker.h"

#include <malloc.h>

#include <atomic>
#include <cstdlib>
#include <new>

extern "C" {
void* __real_malloc(size_t size);
void* __real_calloc(size_t count, size_t size);
void* __real_realloc(void* block, size_t size);
void __real_free(void* block);
}

namespace {

std::atomic<int64_t> g_live{0};
std::atomic<int64_t> g_peak{0};
std::atomic<size_t> g_largest{0};
std::atomic<uint64_t> g_calls{0};
// Live total above which requests fail (negative: none fail).
std::atomic<int64_t> g_limit{-1};

bool MustFail(size_t size)
{
    const int64_t limit = g_limit.load(std::memory_order_relaxed);
    return limit >= 0 && g_live.load(std::memory_order_relaxed) + static_cast<int64_t>(size) > limit;
}

void NoteRequest(size_t size)
{
    g_calls.fetch_add(1, std::memory_order_relaxed);
    size_t largest = g_largest.load(std::memory_order_relaxed);
    while (size > largest && !g_largest.compare_exchange_weak(largest, size))
        ;
}

void AddLive(int64_t delta)
{
    const int64_t live = g_live.fetch_add(delta, std::memory_order_relaxed) + delta;
    int64_t peak = g_peak.load(std::memory_order_relaxed);
    while (live > peak && !g_peak.compare_exchange_weak(peak, live))
        ;
}

} // namespace

extern "C" {

void* __wrap_malloc(size_t size)
{
    NoteRequest(size);
    void* block = __real_malloc(size);
    if (block)
        AddLive(static_cast<int64_t>(_msize(block)));
    return block;
}

void* __wrap_calloc(size_t count, size_t size)
{
    NoteRequest(count * size);
    void* block = __real_calloc(count, size);
    if (block)
        AddLive(static_cast<int64_t>(_msize(block)));
    return block;
}

void* __wrap_realloc(void* block, size_t size)
{
    NoteRequest(size);
    const int64_t before = block ? static_cast<int64_t>(_msize(block)) : 0;
    void* grown = __real_realloc(block, size);
    if (grown)
        AddLive(static_cast<int64_t>(_msize(grown)) - before);
    else if (size == 0)
        AddLive(-before); // realloc to 0 frees the block
    return grown;
}

void __wrap_free(void* block)
{
    if (block)
        AddLive(-static_cast<int64_t>(_msize(block)));
    __real_free(block);
}

} // extern "C"

// Failures are made in operator new, where the library's code meets them;
// the C heap itself never fails, since the runtime throws its exceptions
// with blocks from it.
void* operator new(size_t size)
{
    if (MustFail(size))
        throw std::bad_alloc();
    void* block = std::malloc(size != 0 ? size : 1);
    if (block == nullptr)
        throw std::bad_alloc();
    return block;
}

void* operator new[](size_t size)
{
    return ::operator new(size);
}

void operator delete(void* block) noexcept
{
    std::free(block);
}

void operator delete[](void* block) noexcept
{
    std::free(block);
}

void operator delete(void* block, size_t) noexcept
{
    std::free(block);
}

void operator delete[](void* block, size_t) noexcept
{
    std::free(block);
}

namespace AllocationTracker {

void Reset()
{
    g_peak.store(g_live.load());
    g_largest.store(0);
}

int64_t LiveBytes() { return g_live.load(); }
int64_t PeakLiveBytes() { return g_peak.load(); }
size_t LargestRequest() { return g_largest.load(); }
bool Active() { return g_calls.load() != 0; }

void FailBeyond(int64_t extraBytes)
{
    g_limit.store(g_live.load() + extraBytes);
}

void StopFailing()
{
    g_limit.store(-1);
}

} // namespace AllocationTracker
