#include "tests/support/LifetimeProbe.h"

#include <malloc.h>

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <new>

namespace {

constexpr unsigned char Poison = 0xDD;

std::atomic<const void*> g_watched{nullptr};
std::atomic<void*> g_kept{nullptr};
std::atomic<size_t> g_keptSize{0};

// Keeps the block when it is the watched one; false lets it be freed.
bool KeepIfWatched(void* block, size_t size)
{
    const void* expected = block;
    if (!block || !g_watched.compare_exchange_strong(expected, nullptr))
        return false;
    if (size == 0)
        size = _msize(block);
    std::memset(block, Poison, size);
    g_keptSize = size;
    g_kept = block;
    return true;
}

} // namespace

void operator delete(void* block) noexcept
{
    if (!KeepIfWatched(block, 0))
        std::free(block);
}

void operator delete(void* block, std::size_t size) noexcept
{
    if (!KeepIfWatched(block, size))
        std::free(block);
}

namespace LifetimeProbe {

void Watch(const void* object)
{
    Reset();
    g_watched = object;
}

bool WasDeleted()
{
    return g_kept != nullptr;
}

bool WasTouchedAfterDeletion()
{
    const auto* bytes = static_cast<const unsigned char*>(g_kept.load());
    if (!bytes)
        return false;
    for (size_t i = 0; i < g_keptSize; ++i) {
        if (bytes[i] != Poison)
            return true;
    }
    return false;
}

void Reset()
{
    g_watched = nullptr;
    std::free(g_kept.exchange(nullptr));
    g_keptSize = 0;
}

} // namespace LifetimeProbe
