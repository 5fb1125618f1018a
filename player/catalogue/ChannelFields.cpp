#include "player/catalogue/ChannelFields.h"

#include "foundation/DataKey.h"

#include <string>

namespace {

// The index a stream key's name stands for, written as std::to_string writes
// it; false for any other name or an index of limit or more.
bool StreamIndex(const std::string& name, size_t limit, size_t& index)
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

} // namespace

ChannelFields::ChannelFields(const KV::DataKey& key)
{
    for (const auto& entry : key.GetValues()) {
        const std::string& name = entry.first;
        const KV::DataValue& value = *entry.second;
        if (name == "n")
            this->name = value.GetStringWView();
        else if (name == "p")
            player = value.GetStringAView();
        else if (name == "g")
            grabber = value.GetStringAView();
        else if (name == "R")
            recorder = value.GetStringAView();
        else if (name == "iid")
            icon = value.GetStringAView();
        else if (name == "r")
            radio = value.GetBool();
    }

    const size_t count = key.GetKeyCount();
    streams.assign(count, nullptr);
    for (const auto& entry : key.GetKeys()) {
        size_t index = 0;
        if (StreamIndex(entry.first, count, index))
            streams[index] = entry.second;
    }
    size_t present = 0;
    while (present < count && streams[present] != nullptr)
        ++present;
    streams.resize(present);
}
