#pragma once
// One country of the catalogue: its key, flag and label, and its channels
// ordered by channel key.

#include "foundation/DataTreeView.h"
#include "player/catalogue/Channel.h"
#include "player/catalogue/CountryArena.h"
#include "player/catalogue/KeptNames.h"

#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

class CChannelList;
class CImage;
struct CatalogueLoad;

class CCountry {
public:
    // The channels in key order, each by its key (the channel's own, so the
    // view stays valid). Made once, in order, in the arena, with room for
    // every key of the file's country: a table takes a third of the memory
    // of a tree's nodes.
    using ChannelEntry = std::pair<std::string_view, std::unique_ptr<CChannel>>;
    using ChannelTable = std::vector<ChannelEntry, CountryAllocator<ChannelEntry>>;

    // Reads the country and its channels from its key of the catalogue file.
    // Channels of an unknown category are left out silently; channels
    // without any stream are told to the user and left out. load holds the
    // user's choices, joined by channel id.
    CCountry(const CChannelList& list, const KV::DataTreeView::Key& key, const CatalogueLoad& load);
    // Deletes the channels, the last constructed first.
    ~CCountry();

    CCountry(const CCountry&) = delete;
    CCountry& operator=(const CCountry&) = delete;

    const std::string& GetKey() const { return m_key; }
    // Null when the skin has no flag "f_" + key.
    CImage* GetFlag() const { return m_flag; }
    // The language text of "c_" + key, else the key.
    const std::wstring& GetLabel() const { return m_label; }
    const ChannelTable& GetChannels() const { return m_channels; }

    // The name equal to name, kept as long as the country: for the names
    // its channels share. Only on the user-interface thread, which loads the
    // catalogue.
    const std::string& KeepName(std::string_view name) { return m_keptNames.Keep(name); }

    // The channel of this country whose id is id, or null.
    CChannel* FindChannel(const std::string& id) const;
    // The channel whose key within this country is channelKey, or null.
    CChannel* FindChannelByKey(const std::string& channelKey) const;

private:
    std::string m_key;
    CImage* m_flag = nullptr;
    std::wstring m_label;
    // What the channels share and where they lie, their table and their
    // streams; declared first, so that they outlive the channels.
    CKeptNames m_keptNames;
    CCountryArena m_arena;
    ChannelTable m_channels;
};
