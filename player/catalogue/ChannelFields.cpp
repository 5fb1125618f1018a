#include "player/catalogue/ChannelFields.h"

#include "player/catalogue/CountryArena.h"

#include <cstring>
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

// Field names are a character or three: compared here character by
// character, as a call to memcmp per field and name would cost more than the
// rest of the reading.
bool IsName(std::string_view name, char only)
{
    return name.size() == 1 && name[0] == only;
}

bool IsName(std::string_view name, const char (&three)[4])
{
    return name.size() == 3 && name[0] == three[0] && name[1] == three[1] && name[2] == three[2];
}

// Which of a key's fields were seen: only the first of a name counts.
class SeenFields {
public:
    // True the first time bit is asked for.
    bool First(unsigned bit)
    {
        const bool first = (m_seen & (1u << bit)) == 0;
        m_seen |= 1u << bit;
        return first;
    }

private:
    unsigned m_seen = 0;
};

void ReadStream(ChannelFields::Stream& stream)
{
    SeenFields seen;
    stream.key.ForEachValue([&](const KV::DataValueView& value) {
        const std::string_view name = value.GetName();
        if (IsName(name, 'b') && seen.First(0))
            stream.bitrate = value.GetInt();
        else if (IsName(name, 'u') && seen.First(1))
            stream.url = value.GetStringWView();
    });
}

} // namespace

ChannelFields::ChannelFields(const KV::DataTreeView::Key& key)
{
    SeenFields seen;
    key.ForEachValue([&](const KV::DataValueView& value) {
        const std::string_view field = value.GetName();
        const auto text = [&](unsigned bit, std::string_view& target) {
            if (seen.First(bit))
                target = value.GetStringAView();
        };
        if (field.size() == 1) {
            switch (field[0]) {
            case 'n':
                if (seen.First(0))
                    name = value.GetStringWView();
                break;
            case 'c': text(1, category); break;
            case 'p': text(2, player); break;
            case 'g': text(3, grabber); break;
            case 'R': text(4, recorder); break;
            case 'r':
                if (seen.First(6))
                    radio = value.GetBool();
                break;
            default: break;
            }
        } else if (IsName(field, "iid")) {
            text(5, icon);
        }
    });

    // Stream numbers count up from 0 without a gap, so none can reach the
    // number of sub-keys (duplicates included).
    const size_t count = key.GetKeyCount();
    if (count > InlineStreams) {
        m_more.resize(count);
        m_streams = m_more.data();
    }
    key.ForEachKey([&](const KV::DataTreeView::Key& sub) {
        size_t index = 0;
        if (StreamIndex(sub.GetName(), count, index) && !m_streams[index].present) {
            m_streams[index].present = true;
            m_streams[index].key = sub;
        }
    });
    while (m_streamCount < count && m_streams[m_streamCount].present)
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
        // A byte copy: the file's characters need not be aligned.
        if (!stream.url.empty())
            std::memcpy(text, stream.url.data(), stream.url.size() * sizeof(wchar_t));
        new (&sources[i]) CChannelSource(stream.bitrate, std::wstring_view(text, stream.url.size()));
        text += stream.url.size();
    }
    return CChannelSources(sources, m_streamCount);
}
