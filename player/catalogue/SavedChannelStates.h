#pragma once
// The user's saved choices for every channel (stream index "cu" and favourite
// flag "f" of each sub-key of the settings' "channels" key), read in one pass
// over that key when the catalogue loads, so that joining them to the channels
// costs a probe of one compact table per channel instead of look-ups spread
// over the settings tree: a slot holds the choices and the id's hash, so only
// the id's characters are visited beyond it.

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
    struct Slot {
        // The id's characters are the settings key's.
        const char* id = nullptr;
        size_t length = 0;
        size_t hash = 0;
        State state{0, false};
        bool used = false;
    };

    // Open addressing; the size is a power of two at least twice the number
    // of channels.
    std::vector<Slot> m_slots;
};
