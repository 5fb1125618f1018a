#pragma once
// The user's saved choices for every channel (stream index "cu" and favourite
// flag "f" of each sub-key of the settings' "channels" key), found by the
// channel id through that key's own index when the catalogue loads.

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
    const KV::DataKey* m_channels;
};
