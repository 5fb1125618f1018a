#pragma once
// One channel of the catalogue: its names and keys from the catalogue file,
// its streams, and the user's choices joined from the settings.

#include "player/catalogue/ChannelSource.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

struct ChannelFields;
class CCategory;
class CCountry;
class CCountryArena;
struct CatalogueLoad;
class CSavedChannelStates;
class CImage;

namespace KV {
class DataKey;
}

class CChannel {
public:
    // Takes the channel from its key of the catalogue file (named channelKey,
    // fields were read from it, sources are the streams its country keeps for
    // it) and joins the user's saved choices for its id (from load);
    // out-of-range saved stream indices fall back to the first stream. The
    // channel enters GetAllChannels.
    CChannel(CCountry& country, CCategory* category, std::string_view channelKey, const ChannelFields& fields,
             CChannelSources sources, const CatalogueLoad& load);
    // Leaves GetAllChannels.
    ~CChannel();

    // A channel lives in its country's arena, which gives its memory back
    // with the country: deleting a channel only destroys it.
    static void* operator new(size_t size, CCountryArena& arena);
    static void operator delete(void*) noexcept {}
    static void operator delete(void*, CCountryArena&) noexcept {}

    CChannel(const CChannel&) = delete;
    CChannel& operator=(const CChannel&) = delete;

    // Country key + "_" + channel key.
    static std::string MakeId(std::string_view countryKey, std::string_view channelKey);
    // The language text of "c_" + id, else fileName (the file's "n").
    static std::wstring LookUpName(const std::string& id, std::wstring_view fileName);

    CCountry& GetCountry() const { return m_country; }
    CCategory* GetCategory() const { return m_category; }
    const std::string& GetId() const { return m_id; }
    // The channel's key within its country (the end of its id).
    std::string_view GetKey() const { return m_key; }
    const std::wstring& GetName() const { return m_name; }
    const std::string& GetPlayerKey() const { return *m_playerKey; }
    // Empty: the stream address is played as it stands.
    const std::string& GetGrabberKey() const { return *m_grabberKey; }
    // Null when the skin has no icon for the channel.
    CImage* GetIcon() const { return m_icon; }

    CChannelSources GetSources() const { return m_sources; }
    // The stream the user chose; null only for a channel without streams.
    // Safe to call from a recording's thread while the user picks another.
    const CChannelSource* GetCurrentSource() const;
    int32_t GetCurrentSourceIndex() const { return m_currentSource.load(); }
    // An index at or past the number of streams selects the last one, a
    // negative one the first.
    void SetCurrentSource(int32_t index);

    bool IsFavourite() const { return m_favourite; }
    void SetFavourite(bool favourite) { m_favourite = favourite; }
    bool IsRecordable() const { return m_recordable; }
    bool IsRadio() const { return m_radio; }
    const std::string& GetRecorderKey() const { return *m_recorderKey; }
    void SetRecorderKey(const std::string& key);

    // "<country label> (<bitrate of the chosen stream><kb text>)", with the
    // language's "str_kb" as the kb text.
    const std::wstring& UpdateDisplayText();
    // The text as last made; made at its first use, as most channels of a
    // large catalogue are never drawn.
    const std::wstring& GetDisplayText() const;

    // Adds the sub-key named by the id with "cu" and "f" to channelsKey;
    // false, leaving the key alone, when a channel with the same id was
    // written there already.
    bool SaveState(KV::DataKey& channelsKey) const;

private:
    void ReadSavedState(const CSavedChannelStates& savedStates);
    const std::wstring& ComposeDisplayText() const;

    CCountry& m_country;
    CCategory* m_category;
    std::string m_id;
    std::string_view m_key; // within m_id
    std::wstring m_name;
    // Names kept by the country, which many channels share.
    const std::string* m_playerKey;
    const std::string* m_grabberKey;
    CImage* m_icon = nullptr;
    CChannelSources m_sources;
    std::atomic<int32_t> m_currentSource{0};
    bool m_favourite = false;
    bool m_recordable = false;
    bool m_radio = false;
    const std::string* m_recorderKey;
    // Made at its first use (most channels of a large catalogue are never
    // drawn), so a channel that is not shown holds no text at all.
    mutable std::unique_ptr<std::wstring> m_displayText;
};

// Every channel object in the order of construction.
const std::vector<CChannel*>& GetAllChannels();
