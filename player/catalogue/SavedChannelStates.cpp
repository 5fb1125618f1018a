#include "player/catalogue/SavedChannelStates.h"

#include "foundation/DataKey.h"

#include <functional>

namespace {

size_t HashOf(std::string_view id)
{
    return std::hash<std::string_view>()(id);
}

// "cu" and "f" of one saved channel, in one pass over its values; each as
// the typed getters read it (0 and false unless of its type).
CSavedChannelStates::State ReadState(const KV::DataKey& channel)
{
    CSavedChannelStates::State state{0, false};
    for (const auto& entry : channel.GetValues()) {
        const std::string_view name = entry.first;
        if (name == "cu")
            state.currentSource = entry.second->GetInt();
        else if (name == "f")
            state.favourite = entry.second->GetBool();
    }
    return state;
}

} // namespace

CSavedChannelStates::CSavedChannelStates(const KV::DataKey* channelsKey)
{
    if (channelsKey == nullptr || channelsKey->GetKeyCount() == 0)
        return;
    size_t size = 2;
    while (size < channelsKey->GetKeyCount() * 2)
        size *= 2;
    m_slots.assign(size, Slot{});
    const size_t mask = size - 1;
    // Names in a key are unique, so every channel takes a slot of its own.
    for (const auto& entry : channelsKey->GetKeys()) {
        const std::string_view id = entry.first;
        const size_t hash = HashOf(id);
        size_t slot = hash & mask;
        while (m_slots[slot].used)
            slot = (slot + 1) & mask;
        m_slots[slot] = Slot{id.data(), id.size(), hash, ReadState(*entry.second), true};
    }
}

const CSavedChannelStates::State* CSavedChannelStates::Find(const std::string& id) const
{
    if (m_slots.empty())
        return nullptr;
    const size_t mask = m_slots.size() - 1;
    const size_t hash = HashOf(id);
    for (size_t slot = hash & mask; m_slots[slot].used; slot = (slot + 1) & mask) {
        const Slot& candidate = m_slots[slot];
        if (candidate.hash == hash && std::string_view(candidate.id, candidate.length) == id)
            return &candidate.state;
    }
    return nullptr;
}
