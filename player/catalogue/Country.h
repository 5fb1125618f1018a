#pragma once
// One country of the catalogue: its key, flag and label, and its channels
// ordered by channel key.

#include "foundation/DataTreeView.h"
#include "player/catalogue/Channel.h"
#include "player/catalogue/CountryArena.h"

#include <map>
#include <memory>
#include <string>

class CChannelList;
class CImage;
struct CatalogueLoad;

class CCountry {
public:
    using ChannelMap = std::map<std::string, std::unique_ptr<CChannel>, std::less<std::string>,
                                CountryAllocator<std::pair<const std::string, std::unique_ptr<CChannel>>>>;

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
    const ChannelMap& GetChannels() const { return m_channels; }

    // The channel of this country whose id is id, or null.
    CChannel* FindChannel(const std::string& id) const;
    // The channel whose key within this country is channelKey, or null.
    CChannel* FindChannelByKey(const std::string& channelKey) const;

private:
    std::string m_key;
    CImage* m_flag = nullptr;
    std::wstring m_label;
    // The channels, their map's nodes and their streams; declared first, so
    // that it outlives them.
    CCountryArena m_arena;
    ChannelMap m_channels;
};
