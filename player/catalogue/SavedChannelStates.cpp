#include "player/catalogue/SavedChannelStates.h"

#include "foundation/DataKey.h"

#include <string_view>

// "cu" and "f" in one pass over the channel's values; each as the typed
// getters read it (0 and false unless of its type).
bool CSavedChannelStates::Find(const std::string& id, State& state) const
{
    const KV::DataKey* channel = m_channels != nullptr ? m_channels->GetKey(id) : nullptr;
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
