#include "player/catalogue/Country.h"

#include "foundation/Lang.h"
#include "foundation/Skin.h"
#include "foundation/Utilities.h"
#include "player/catalogue/CatalogueLoad.h"
#include "player/catalogue/ChannelFields.h"
#include "player/catalogue/ChannelList.h"
#include "player/catalogue/SortedKeys.h"
#include "player/catalogue/SystemMessageBox.h"

#include <algorithm>
#include <string_view>
#include <vector>

namespace {

// The catalogue's categories by code, compared in place with each channel's
// stored code, a character at a time: the codes are one or two long.
class CategoryFinder {
public:
    explicit CategoryFinder(const CChannelList& list)
    {
        for (const auto& category : list.GetCategories())
            m_entries.push_back(Entry{category.first, category.second.get()});
    }

    CCategory* Find(std::string_view code) const
    {
        for (const Entry& entry : m_entries)
            if (entry.code.size() == code.size() && SameCharacters(entry.code, code))
                return entry.category;
        return nullptr;
    }

private:
    struct Entry {
        std::string_view code;
        CCategory* category;
    };

    static bool SameCharacters(std::string_view a, std::string_view b)
    {
        for (size_t i = 0; i < a.size(); ++i)
            if (a[i] != b[i])
                return false;
        return true;
    }

    std::vector<Entry> m_entries;
};

} // namespace

CCountry::CCountry(const CChannelList& list, const KV::DataTreeView::Key& key, const CatalogueLoad& load)
    : m_key(key.GetName()), m_channels(ChannelTable::allocator_type(m_arena))
{
    m_flag = KV::Skin::GetImage("f_" + m_key);
    m_label = KV::Lang::GetText("c_" + m_key);
    if (m_label.empty())
        m_label = KV::AnsiToWide(m_key);

    const CategoryFinder categories(list);
    // In key order, so that channels are built in the order they are kept;
    // the keys are unique, and the table never grows past their number.
    const std::vector<KV::DataTreeView::Key> channelKeys = SortedSubKeys(key);
    m_channels.reserve(channelKeys.size());
    for (const KV::DataTreeView::Key& channelKey : channelKeys) {
        const std::string_view channelName = channelKey.GetName();
        const ChannelFields fields(channelKey);
        CCategory* category = categories.Find(fields.category);
        if (!category)
            continue;
        if (fields.StreamCount() == 0) {
            // Nothing to play or record: the channel is not listed.
            if (load.missingStreamBoxesLeft == 0)
                continue;
            --load.missingStreamBoxesLeft;
            const std::wstring name = CChannel::LookUpName(CChannel::MakeId(m_key, channelName), fields.name);
            const std::wstring text = m_label + L" : " + name + L" - No url!";
            // No owner, but above the topmost splash: the start waits for it.
            ShowSystemMessageBox(nullptr, text.c_str(), nullptr, MB_OK | MB_TOPMOST | MB_SETFOREGROUND);
            continue;
        }
        std::unique_ptr<CChannel> channel(
            new (m_arena) CChannel(*this, category, channelName, fields, fields.CopyStreams(m_arena), load));
        const std::string_view channelKeyView = channel->GetKey();
        m_channels.emplace_back(channelKeyView, std::move(channel));
    }
}

CCountry::~CCountry()
{
    while (!m_channels.empty())
        m_channels.pop_back();
}

CChannel* CCountry::FindChannel(const std::string& id) const
{
    if (id.size() <= m_key.size() || id.compare(0, m_key.size(), m_key) != 0 || id[m_key.size()] != '_')
        return nullptr;
    return FindChannelByKey(id.substr(m_key.size() + 1));
}

CChannel* CCountry::FindChannelByKey(const std::string& channelKey) const
{
    const std::string_view wanted = channelKey;
    const auto found = std::lower_bound(m_channels.begin(), m_channels.end(), wanted,
                                        [](const ChannelEntry& entry, std::string_view key) { return entry.first < key; });
    return found != m_channels.end() && found->first == wanted ? found->second.get() : nullptr;
}
