#pragma once
// The fields of one channel's key in the catalogue file, read in one pass over
// its values, one over its sub-keys and one over each stream's values instead
// of a look-up per field. Of two entries of one name the first counts, as a
// load of the file keeps it. The texts point into the file's bytes (StringW
// ones need not be aligned) and are valid while they are.

#include "foundation/DataTreeView.h"
#include "player/catalogue/ChannelSource.h"

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

class CCountryArena;

struct ChannelFields {
    // One stream key: "b" (Int, the bitrate) and "u" (StringW, the address),
    // 0 and empty when missing or not of their type.
    struct Stream {
        bool present = false;
        KV::DataTreeView::Key key;
        int32_t bitrate = 0;
        std::wstring_view url;
    };

    // Each is empty when missing or not of its type, as the typed getters.
    std::wstring_view name;    // "n", StringW
    std::string_view category; // "c", StringA
    std::string_view player;   // "p", StringA
    std::string_view grabber;  // "g", StringA
    std::string_view recorder; // "R", StringA
    std::string_view icon;     // "iid", StringA
    bool radio = false;        // "r", Bool

    explicit ChannelFields(const KV::DataTreeView::Key& key);

    ChannelFields(const ChannelFields&) = delete;
    ChannelFields& operator=(const ChannelFields&) = delete;

    // The stream keys "0", "1", ... up to the first number missing.
    size_t StreamCount() const { return m_streamCount; }
    const Stream& GetStream(size_t index) const { return m_streams[index]; }
    // The streams as the channel keeps them, with their addresses, copied
    // into the country's arena (they lie together there).
    CChannelSources CopyStreams(CCountryArena& arena) const;

private:
    // Channels have a few streams: they are kept here without a heap block.
    static constexpr size_t InlineStreams = 8;
    Stream m_inline[InlineStreams];
    std::vector<Stream> m_more;
    Stream* m_streams = m_inline;
    size_t m_streamCount = 0;
};
