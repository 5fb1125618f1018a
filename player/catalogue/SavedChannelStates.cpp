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
    m_entries.reserve(channelsKey->GetKeyCount());
    for (const auto& entry : channelsKey->GetKeys())
        m_entries.push_back(Entry{entry.first, ReadState(*entry.second)});

    size_t size = 2;
    while (size < m_entries.size() * 2)
        size *= 2;
    m_slots.assign(size, 0);
    const size_t mask = size - 1;
    // Names in a key are unique, so every entry takes a slot of its own.
    for (size_t i = 0; i < m_entries.size(); ++i) {
        size_t slot = HashOf(m_entries[i].id) & mask;
        while (m_slots[slot] != 0)
            slot = (slot + 1) & mask;
        m_slots[slot] = static_cast<uint32_t>(i + 1);
    }
}

const CSavedChannelStates::State* CSavedChannelStates::Find(const std::string& id) const
{
    if (m_slots.empty())
        return nullptr;
    const size_t mask = m_slots.size() - 1;
    for (size_t slot = HashOf(id) & mask; m_slots[slot] != 0; slot = (slot + 1) & mask) {
        const Entry& entry = m_entries[m_slots[slot] - 1];
        if (entry.id == id)
            return &entry.state;
    }
    return nullptr;
}
