#include "player/catalogue/Channel.h"

#include "foundation/DataKey.h"
#include "foundation/Lang.h"
#include "foundation/Skin.h"
#include "player/catalogue/CatalogueLoad.h"
#include "player/catalogue/ChannelFields.h"
#include "player/catalogue/CountryArena.h"
#include "player/catalogue/Country.h"
#include "player/catalogue/SavedChannelStates.h"

#include <algorithm>
#include <memory>

namespace {

std::vector<CChannel*>& AllChannels()
{
    static std::vector<CChannel*> channels;
    return channels;
}

} // namespace

const std::vector<CChannel*>& GetAllChannels()
{
    return AllChannels();
}

std::string CChannel::MakeId(std::string_view countryKey, std::string_view channelKey)
{
    std::string id;
    id.reserve(countryKey.size() + 1 + channelKey.size());
    id += countryKey;
    id += '_';
    id += channelKey;
    return id;
}

std::wstring CChannel::LookUpName(const std::string& id, std::wstring_view fileName)
{
    const std::wstring& text = KV::Lang::GetText("c_" + id);
    return text.empty() ? std::wstring(fileName) : text;
}

CChannel::CChannel(CCountry& country, CCategory* category, std::string_view channelKey, const ChannelFields& fields,
                   CChannelSources sources, const CatalogueLoad& load)
    : m_country(country), m_category(category), m_id(MakeId(country.GetKey(), channelKey)),
      m_key(std::string_view(m_id).substr(country.GetKey().size() + 1)), m_playerKey(&country.KeepName(fields.player)),
      m_grabberKey(&country.KeepName(fields.grabber)), m_sources(sources), m_recordable(!fields.recorder.empty()),
      m_radio(fields.radio), m_recorderKey(&country.KeepName(fields.recorder))
{
    AllChannels().push_back(this);

    // Channels are made one after another on one thread: their text ids
    // share one buffer instead of a heap block each.
    static std::string textId;
    textId.assign("c_");
    textId += m_id;
    const std::wstring& text = KV::Lang::GetText(textId);
    if (text.empty())
        m_name.assign(fields.name);
    else
        m_name = text;

    // A named icon the skin lacks falls back to the plain channel key, which
    // skins share between countries. Both are "c_" names.
    if (fields.icon.empty()) {
        if (load.skinHasChannelIcons)
            m_icon = KV::Skin::GetImage(textId);
    } else {
        textId.assign(fields.icon);
        m_icon = KV::Skin::GetImage(textId);
    }
    if (!m_icon && load.skinHasChannelIcons) {
        textId.assign("c_");
        textId += m_key;
        m_icon = KV::Skin::GetImage(textId);
    }

    ReadSavedState(load.savedStates);
}

void* CChannel::operator new(size_t size, CCountryArena& arena)
{
    return arena.Take(size, alignof(CChannel));
}

CChannel::~CChannel()
{
    // The catalogue deletes its channels in the reverse order of their
    // construction, so this is nearly always the last entry.
    std::vector<CChannel*>& all = AllChannels();
    auto found = std::find(all.rbegin(), all.rend(), this);
    if (found != all.rend())
        all.erase(std::next(found).base());
}

void CChannel::SetRecorderKey(const std::string& key)
{
    m_recorderKey = &m_country.KeepName(key);
}

void CChannel::ReadSavedState(const CSavedChannelStates& savedStates)
{
    CSavedChannelStates::State saved;
    if (!savedStates.Find(m_id, saved))
        return;
    int32_t index = saved.currentSource;
    if (index < 0 || static_cast<size_t>(index) >= m_sources.size())
        index = 0;
    m_currentSource = index;
    m_favourite = saved.favourite;
}

const CChannelSource* CChannel::GetCurrentSource() const
{
    if (m_sources.empty())
        return nullptr;
    const int32_t index = m_currentSource.load();
    return &m_sources[static_cast<size_t>(std::min<int32_t>(std::max<int32_t>(index, 0),
                                                          static_cast<int32_t>(m_sources.size()) - 1))];
}

void CChannel::SetCurrentSource(int32_t index)
{
    // The text keeps the stream it was made for until it is made again.
    if (!m_displayText)
        ComposeDisplayText();
    const int32_t last = static_cast<int32_t>(m_sources.size()) - 1;
    m_currentSource = std::max<int32_t>(0, std::min(index, last));
}

const std::wstring& CChannel::UpdateDisplayText()
{
    return ComposeDisplayText();
}

const std::wstring& CChannel::GetDisplayText() const
{
    return m_displayText ? *m_displayText : ComposeDisplayText();
}

const std::wstring& CChannel::ComposeDisplayText() const
{
    const std::wstring& kb = KV::Lang::GetText("str_kb");
    const CChannelSource* source = GetCurrentSource();
    const std::wstring bitrate = std::to_wstring(source ? source->GetBitrate() : 0);
    const std::wstring& label = m_country.GetLabel();
    std::wstring text;
    text.reserve(label.size() + bitrate.size() + kb.size() + 3);
    text += label;
    text += L" (";
    text += bitrate;
    text += kb;
    text += L')';
    if (m_displayText)
        m_displayText->swap(text);
    else
        m_displayText = std::make_unique<std::wstring>(std::move(text));
    return *m_displayText;
}

bool CChannel::SaveState(KV::DataKey& channelsKey) const
{
    KV::DataKey* state = channelsKey.AddKey(m_id);
    if (!state)
        return false;
    state->SetInt("cu", m_currentSource.load());
    state->SetBool("f", m_favourite);
    return true;
}
