#include "player/catalogue/ChannelFields.h"

#include "foundation/DataKey.h"
#include "player/catalogue/CountryArena.h"

#include <algorithm>
#include <new>

namespace {

// The index a stream key's name stands for, written as std::to_string writes
// it; false for any other name or an index of limit or more.
bool StreamIndex(std::string_view name, size_t limit, size_t& index)
{
    if (name.empty() || name.size() > 9 || (name[0] == '0' && name.size() > 1))
        return false;
    index = 0;
    for (char digit : name) {
        if (digit < '0' || digit > '9')
            return false;
        index = index * 10 + static_cast<size_t>(digit - '0');
    }
    return index < limit;
}

void ReadStream(ChannelFields::Stream& stream)
{
    for (const auto& entry : stream.key->GetValues()) {
        const std::string_view name = entry.first;
        if (name == "b")
            stream.bitrate = entry.second->GetInt();
        else if (name == "u")
            stream.url = entry.second->GetStringWView();
    }
}

} // namespace

ChannelFields::ChannelFields(const KV::DataKey& key)
{
    for (const auto& entry : key.GetValues()) {
        const std::string_view field = entry.first;
        const KV::DataValue& value = *entry.second;
        if (field == "n")
            name = value.GetStringWView();
        else if (field == "c")
            category = value.GetStringAView();
        else if (field == "p")
            player = value.GetStringAView();
        else if (field == "g")
            grabber = value.GetStringAView();
        else if (field == "R")
            recorder = value.GetStringAView();
        else if (field == "iid")
            icon = value.GetStringAView();
        else if (field == "r")
            radio = value.GetBool();
    }

    const size_t count = key.GetKeyCount();
    if (count > InlineStreams) {
        m_more.resize(count);
        m_streams = m_more.data();
    }
    for (const auto& entry : key.GetKeys()) {
        size_t index = 0;
        if (StreamIndex(entry.first, count, index))
            m_streams[index].key = entry.second;
    }
    while (m_streamCount < count && m_streams[m_streamCount].key != nullptr)
        ReadStream(m_streams[m_streamCount++]);
}

CChannelSources ChannelFields::CopyStreams(CCountryArena& arena) const
{
    size_t characters = 0;
    for (size_t i = 0; i < m_streamCount; ++i)
        characters += m_streams[i].url.size();
    auto* sources = static_cast<CChannelSource*>(
        arena.Take(m_streamCount * sizeof(CChannelSource), alignof(CChannelSource)));
    auto* text = static_cast<wchar_t*>(arena.Take(characters * sizeof(wchar_t), alignof(wchar_t)));
    for (size_t i = 0; i < m_streamCount; ++i) {
        const Stream& stream = m_streams[i];
        std::copy(stream.url.begin(), stream.url.end(), text);
        new (&sources[i]) CChannelSource(stream.bitrate, std::wstring_view(text, stream.url.size()));
        text += stream.url.size();
    }
    return CChannelSources(sources, m_streamCount);
}
