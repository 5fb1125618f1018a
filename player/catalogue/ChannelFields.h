#pragma once
// The fields of one channel's key in the catalogue file, read in one pass over
// its values and one over its sub-keys instead of a look-up per field. The
// texts point into the key and are valid while it is.

#include <string_view>
#include <vector>

namespace KV {
class DataKey;
}

struct ChannelFields {
    // Each is empty when missing or not of its type, as the typed getters.
    std::wstring_view name;   // "n", StringW
    std::string_view player;  // "p", StringA
    std::string_view grabber; // "g", StringA
    std::string_view recorder; // "R", StringA
    std::string_view icon;    // "iid", StringA
    bool radio = false;       // "r", Bool
    // The stream keys "0", "1", ... up to the first number missing.
    std::vector<const KV::DataKey*> streams;

    explicit ChannelFields(const KV::DataKey& key);
};
