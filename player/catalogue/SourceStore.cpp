#include "player/catalogue/SourceStore.h"

#include "player/catalogue/ChannelFields.h"

#include <algorithm>

template <typename Item, size_t BlockItems>
Item* CSourceStore::Blocks<Item, BlockItems>::Take(size_t count)
{
    if (count > m_left) {
        const size_t size = std::max(count, BlockItems);
        m_blocks.push_back(std::make_unique<Item[]>(size));
        m_next = m_blocks.back().get();
        m_left = size;
    }
    Item* taken = m_next;
    m_next += count;
    m_left -= count;
    return taken;
}

CChannelSources CSourceStore::Add(const ChannelFields& fields)
{
    const size_t count = fields.StreamCount();
    size_t characters = 0;
    for (size_t i = 0; i < count; ++i)
        characters += fields.GetStream(i).url.size();

    CChannelSource* sources = m_sources.Take(count);
    wchar_t* text = m_text.Take(characters);
    for (size_t i = 0; i < count; ++i) {
        const ChannelFields::Stream& stream = fields.GetStream(i);
        std::copy(stream.url.begin(), stream.url.end(), text);
        sources[i] = CChannelSource(stream.bitrate, std::wstring_view(text, stream.url.size()));
        text += stream.url.size();
    }
    return CChannelSources(sources, count);
}
