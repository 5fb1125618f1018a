#include "player/catalogue/SavedChannelStates.h"

#include "foundation/DataKey.h"

#include <string_view>

const KV::DataKey* CSavedChannelStates::FindChannel(const std::string& id) const
{
    if (m_channels == nullptr)
        return nullptr;
    // Names in the key are unique: an entry of that name is the one the
    // index would give.
    const KV::DataKey::KeyMap& entries = m_channels->GetKeys();
    for (uint32_t position = m_next; position < entries.size() && position < m_next + LookAhead; ++position) {
        const KV::DataKey* entry = entries.At(position);
        if (entry->GetName() == id) {
            m_next = position + 1;
            return entry;
        }
    }
    return m_channels->GetKey(id);
}

// "cu" and "f" in one pass over the channel's values; each as the typed
// getters read it (0 and false unless of its type).
bool CSavedChannelStates::Find(const std::string& id, State& state) const
{
    const KV::DataKey* channel = FindChannel(id);
    if (channel == nullptr)
        return false;
    state = State{0, false};
    for (const auto& entry : channel->GetValues()) {
        const std::string_view name = entry.first;
        if (name == "cu")
            state.currentSource = entry.second->GetInt();
        else if (name == "f")
            state.favourite = entry.second->GetBool();
    }
    return true;
}
