#pragma once
// The streams of one country's channels and the characters of their
// addresses, kept in a few large blocks instead of a heap block or three
// per channel. A channel's streams lie together; blocks never move, so what
// Add returns stays valid while the store lives.

#include "player/catalogue/ChannelSource.h"

#include <memory>
#include <vector>

struct ChannelFields;

class CSourceStore {
public:
    // Copies the channel's streams and their addresses into the store.
    CChannelSources Add(const ChannelFields& fields);

private:
    // Blocks of at least BlockItems items, taken in runs that never span two
    // blocks.
    template <typename Item, size_t BlockItems>
    class Blocks {
    public:
        Item* Take(size_t count);

    private:
        std::vector<std::unique_ptr<Item[]>> m_blocks;
        Item* m_next = nullptr;
        size_t m_left = 0;
    };

    // A country's few hundred channels fill a few blocks of each.
    Blocks<CChannelSource, 256> m_sources;
    Blocks<wchar_t, 8192> m_text;
};
