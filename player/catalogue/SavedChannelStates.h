#pragma once
// The user's saved choices for every channel (stream index "cu" and favourite
// flag "f" of each sub-key of the settings' "channels" key), found by the
// channel id when the catalogue loads. The player saves the choices in the
// order its catalogue holds the channels, which is the order it loads them
// in: the entries just after the last one found are looked at first, and
// only then the key's index, whose look-ups land all over the key.

#include <cstdint>
#include <string>

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
    // outlive this object and stay unchanged.
    explicit CSavedChannelStates(const KV::DataKey* channelsKey) : m_channels(channelsKey) {}

    // False when the settings hold nothing for the channel id.
    bool Find(const std::string& id, State& state) const;

private:
    // How many entries from the last one found are compared before the
    // index is asked: a few channels may have left the catalogue since.
    static constexpr uint32_t LookAhead = 4;

    const KV::DataKey* FindChannel(const std::string& id) const;

    const KV::DataKey* m_channels;
    // The position after the entry found last.
    mutable uint32_t m_next = 0;
};
