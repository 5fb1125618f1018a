// The product settings and their lists.

#include "wizards/common/ProductSettings.h"

#include "foundation/DataKey.h"
#include "foundation/WizardUtilities.h"
#include "wizards/common/MacroTable.h"
#include "wizards/common/Text.h"
#include "wizards/common/WizardLanguages.h"

#include <shlobj.h>
#include <shlwapi.h>

namespace {

struct SettingsState {
    std::unique_ptr<KV::DataKey> tree = std::make_unique<KV::DataKey>();
    StringMap languageCodes;
    StringMap zones;
    StringList crypt;
};

SettingsState& State()
{
    static SettingsState state;
    return state;
}

// Each string value of the node (values of other types are passed over),
// with its name, in the node's order.
template <class Take>
void ForEachStringValue(const KV::DataKey& settings, const char* nodeName, Take take)
{
    const KV::DataKey* node = settings.GetKey(nodeName);
    if (!node)
        return;
    for (const auto& entry : node->GetValues()) {
        const std::wstring* text = entry.second ? entry.second->GetStringW() : nullptr;
        if (text)
            take(entry.first, *text);
    }
}

} // namespace

KV::DataKey& GetProductSettings()
{
    return *State().tree;
}

void SetProductSettings(std::unique_ptr<KV::DataKey> settings)
{
    State().tree = settings ? std::move(settings) : std::make_unique<KV::DataKey>();
}

void FreeProductSettings()
{
    SettingsState& state = State();
    state.tree = std::make_unique<KV::DataKey>();
    state.languageCodes.clear();
    state.zones.clear();
    state.crypt.clear();
}

std::optional<std::wstring> GetSettingText(const KV::DataKey* node, const char* name)
{
    if (!node || !name)
        return std::nullopt;
    const std::wstring* text = node->GetStringW(name);
    if (!text || text->empty())
        return std::nullopt;
    return ExpandMacros(*text);
}

void LoadStringMap(StringMap& map, const KV::DataKey& settings, const char* nodeName)
{
    map.clear();
    ForEachStringValue(settings, nodeName,
                       [&map](const auto& name, const std::wstring& text) { map[WidenAnsi(name)] = text; });
}

void LoadStringList(StringList& list, const KV::DataKey& settings, const char* nodeName)
{
    list.clear();
    ForEachStringValue(settings, nodeName,
                       [&list](const auto&, const std::wstring& text) { list.push_back(text); });
}

void LoadCommonSettingsLists()
{
    SettingsState& state = State();
    LoadMacros(*state.tree);
    LoadStringMap(state.languageCodes, *state.tree, "langs");
    LoadStringMap(state.zones, *state.tree, "zones");
    LoadStringList(state.crypt, *state.tree, "crypt");
}

const StringMap& GetLanguageCodeMap()
{
    return State().languageCodes;
}

const StringMap& GetZoneMap()
{
    return State().zones;
}

const StringList& GetCryptList()
{
    return State().crypt;
}

std::wstring GetInstallLocation(const KV::DataKey& location)
{
    const uint32_t csidl = location.GetUInt("csid", 0);
    const std::wstring path = ExpandMacros(location.GetStringW("path", std::wstring()));
    if (csidl == 0)
        return path;
    wchar_t folder[MAX_PATH] = L"";
    if (FAILED(::SHGetFolderPathW(nullptr, static_cast<int>(csidl), nullptr, SHGFP_TYPE_CURRENT, folder)))
        folder[0] = L'\0';
    wchar_t combined[MAX_PATH] = L"";
    if (!::PathCombineW(combined, folder, path.c_str()))
        return std::wstring();
    return combined;
}

KV::MemoryStream* GetLicenseText()
{
    const KV::DataKey* license = GetProductSettings().GetKey("license");
    if (!license)
        return nullptr;
    return license->GetBuffer(NarrowAnsi(GetCurrentLanguageExt()));
}

uint32_t GetMainFilesSize()
{
    return GetProductSettings().GetUInt("fsize", 0);
}
