#pragma once
// The channel catalogue: every country, category and channel the player can
// play, read once from the catalogue file in the program folder and joined
// with the user's saved choices. One instance per process, created and
// deleted by the main window, used on the user-interface thread.

#include "player/catalogue/Category.h"
#include "player/catalogue/Country.h"

#include <map>
#include <memory>
#include <string>

namespace KV {
class DataKey;
}

class CChannelList {
public:
    using CountryMap = std::map<std::string, std::unique_ptr<CCountry>>;
    using CategoryMap = std::map<std::string, std::unique_ptr<CCategory>>;

    // The category codes in the order they are created.
    static const char* const CategoryCodes[];
    static const size_t CategoryCount;

    // Loads fileName from the program folder (plain or scrambled, see
    // CatalogueScramble.h), creates its template grabbers, and restores the
    // current channel from the setting "cur_channel". A missing file leaves
    // the catalogue empty, without categories; an unreadable one gives the
    // categories but no countries. Only a catalogue that was read writes the
    // settings' "channels" node.
    explicit CChannelList(const std::wstring& fileName);
    ~CChannelList();

    CChannelList(const CChannelList&) = delete;
    CChannelList& operator=(const CChannelList&) = delete;

    // The catalogue most recently created and not yet deleted, or null.
    static CChannelList* Instance();

    const CountryMap& GetCountries() const { return m_countries; }
    const CategoryMap& GetCategories() const { return m_categories; }

    CChannel* GetCurrentChannel() const { return m_currentChannel; }
    // Also stores the channel's id (empty for none) as "cur_channel".
    void SetCurrentChannel(CChannel* channel);

    // The first channel, countries and channels in key order, whose id is
    // exactly id; null when none.
    CChannel* FindChannel(const std::string& id) const;
    CCountry* FindCountry(const std::string& key) const;
    CCategory* FindCategory(const std::string& code) const;

    // Writes every channel's stream choice and favourite flag into
    // channelsKey (the settings' new "channels" key). Of two channels with
    // one id, the one FindChannel finds is written.
    void SaveState(KV::DataKey& channelsKey) const;

private:
    // False when the file could not be opened or read as a catalogue.
    bool Load(const std::wstring& path);
    bool ReadCatalogue(const std::wstring& path);
    // Lets every country go, the last made first (see the destructor).
    void DropCountries();

    CountryMap m_countries;
    CategoryMap m_categories;
    CChannel* m_currentChannel = nullptr;
};
