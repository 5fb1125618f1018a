#include "player/catalogue/ChannelList.h"

#include "foundation/CatalogueScramble.h"
#include "foundation/DataKey.h"
#include "foundation/Skin.h"
#include "foundation/Utilities.h"
#include "player/app/Settings.h"
#include "player/catalogue/CatalogueLoad.h"
#include "player/catalogue/SavedChannelStates.h"
#include "player/catalogue/SortedKeys.h"
#include "player/playback/UrlGrabber.h"

#include <cstring>
#include <new>

namespace {

CChannelList* g_instance = nullptr;

// The root's values as a key of their own, as the grabbers take them: of two
// of one name the first, and of the rest only the texts they use.
KV::DataKey RootValues(const KV::DataTreeView& tree)
{
    KV::DataKey values;
    tree.Root().ForEachValue([&](const KV::DataValueView& value) {
        KV::DataValue* added = values.AddValue(std::string(value.GetName()));
        if (added != nullptr && value.GetType() == KV::ValueType::StringW) {
            const std::wstring_view text = value.GetStringWView();
            std::wstring copy(text.size(), L'\0');
            // A byte copy: the file's characters need not be aligned.
            std::memcpy(&copy[0], text.data(), text.size() * sizeof(wchar_t));
            added->SetStringW(copy);
        }
    });
    return values;
}

} // namespace

const char* const CChannelList::CategoryCodes[] = {"l", "mu", "n", "r", "sp", "e", "mo", "k", "ad"};
const size_t CChannelList::CategoryCount = sizeof(CategoryCodes) / sizeof(CategoryCodes[0]);

CChannelList::CChannelList(const std::wstring& fileName)
{
    g_instance = this;
    // The settings' save writes the user's choices through the catalogue.
    // A catalogue that could not be read knows no channel: the settings then
    // keep the choices as they were rather than lose them all.
    if (Load(KV::GetProgramFile(fileName)))
        CSettings::SetChannelsWriter([this](KV::DataKey& node) { SaveState(node); });
    else
        CSettings::SetChannelsWriter(nullptr);
}

CChannelList::~CChannelList()
{
    // The last constructed channel goes first, so that each leaves the list
    // of all channels from its end.
    DropCountries();
    m_categories.clear();
    if (g_instance == this) {
        g_instance = nullptr;
        CSettings::SetChannelsWriter(nullptr);
    }
}

CChannelList* CChannelList::Instance()
{
    return g_instance;
}

void CChannelList::DropCountries()
{
    m_currentChannel = nullptr;
    while (!m_countries.empty())
        m_countries.erase(std::prev(m_countries.end()));
}

bool CChannelList::Load(const std::wstring& path)
{
    try {
        return ReadCatalogue(path);
    } catch (const std::bad_alloc&) {
        // A catalogue too large for the memory left is read as one that does
        // not read: no channels, and the user's choices are kept as they were.
        DropCountries();
        return false;
    }
}

bool CChannelList::ReadCatalogue(const std::wstring& path)
{
    CatalogueDocument document;
    const CatalogueFileRead outcome = ReadCatalogueFile(path, document);
    if (outcome == CatalogueFileRead::NotOpened)
        return false;
    const bool read = outcome == CatalogueFileRead::Read;

    if (read) {
        const KV::DataKey rootValues = RootValues(document.tree);
        CUrlGrabber::CreateEmbedGrabbers(&rootValues);
    }

    for (size_t i = 0; i < CategoryCount; ++i)
        m_categories.emplace(CategoryCodes[i], std::make_unique<CCategory>(CategoryCodes[i]));

    const CSavedChannelStates savedStates(CSettings::GetChannelsNode());
    const CatalogueLoad load{savedStates, KV::Skin::HasImagesStartingWith("c_")};
    if (read)
        for (const KV::DataTreeView::Key& countryKey : SortedSubKeys(document.tree.Root()))
            m_countries.emplace_hint(m_countries.end(), std::string(countryKey.GetName()),
                                     std::make_unique<CCountry>(*this, countryKey, load));

    const std::wstring current = CSettings::GetString("cur_channel", L"");
    if (!current.empty())
        m_currentChannel = FindChannel(KV::WideToAnsi(current));
    return read;
}

void CChannelList::SetCurrentChannel(CChannel* channel)
{
    m_currentChannel = channel;
    CSettings::SetString("cur_channel", channel ? KV::AnsiToWide(channel->GetId()) : std::wstring());
}

CChannel* CChannelList::FindChannel(const std::string& id) const
{
    // Every "_" may end the country key. Shorter country keys sort first,
    // so trying the splits from the left visits the candidates in key order.
    for (size_t split = id.find('_'); split != std::string::npos; split = id.find('_', split + 1)) {
        const CCountry* country = FindCountry(id.substr(0, split));
        CChannel* channel = country ? country->FindChannelByKey(id.substr(split + 1)) : nullptr;
        if (channel)
            return channel;
    }
    return nullptr;
}

CCountry* CChannelList::FindCountry(const std::string& key) const
{
    auto found = m_countries.find(key);
    return found == m_countries.end() ? nullptr : found->second.get();
}

CCategory* CChannelList::FindCategory(const std::string& code) const
{
    auto found = m_categories.find(code);
    return found == m_categories.end() ? nullptr : found->second.get();
}

void CChannelList::SaveState(KV::DataKey& channelsKey) const
{
    for (const auto& country : m_countries)
        for (const auto& channel : country.second->GetChannels())
            channel.second->SaveState(channelsKey);
}
