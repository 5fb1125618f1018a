#pragma once
// The user's saved choices for every channel (stream index "cu" and favourite
// flag "f" of each sub-key of the settings' "channels" key), read in one pass
// over that key when the catalogue loads, so that joining them to the channels
// costs a probe of one compact table per channel instead of look-ups spread
// over the settings tree.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace KV {
class DataKey;
}

class CSavedChannelStates {
public:
    struct State {
        // As the typed getters give them: 0 and false unless of their type.
        int32_t currentSource;
        bool favourite;
    };

    // channelsKey: the settings' "channels" key, or null for none. It must
    // outlive this table and stay unchanged.
    explicit CSavedChannelStates(const KV::DataKey* channelsKey);

    // Null when the settings hold nothing for the channel id.
    const State* Find(const std::string& id) const;

private:
    struct Entry {
        std::string_view id;
        State state;
    };

    std::vector<Entry> m_entries;
    // Open addressing: index + 1 into m_entries, 0 for a free slot; the size
    // is a power of two at least twice the number of entries.
    std::vector<uint32_t> m_slots;
};
