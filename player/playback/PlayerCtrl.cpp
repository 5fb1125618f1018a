#include "player/playback/PlayerCtrl.h"

#include "player/app/Settings.h"

#include <vector>

namespace {

struct FamilyState {
    CPlayerCtrl::RegistryMap registry;
    CPlayerListener* listener = nullptr;
    int volume = 0;
};

FamilyState& Family()
{
    static FamilyState state;
    return state;
}

const char VolumeOption[] = "sound_volume";

}  // namespace

CPlayerCtrl::CPlayerCtrl(const std::string& name) : m_name(name)
{
    Family().registry[m_name] = this;
}

CPlayerCtrl::~CPlayerCtrl()
{
    RegistryMap& registry = Family().registry;
    const auto entry = registry.find(m_name);
    if (entry != registry.end() && entry->second == this)
        registry.erase(entry);
}

void CPlayerCtrl::Move(int x, int y, int cx, int cy)
{
    m_window.SetWindowPos(nullptr, x, y, cx, cy, SWP_NOZORDER);
}

int CPlayerCtrl::FindScheme(const std::wstring& scheme)
{
    m_lastScheme = -1;
    const auto entry = m_schemes.find(scheme);
    if (entry != m_schemes.end())
        m_lastScheme = entry->second;
    return m_lastScheme;
}

void CPlayerCtrl::NotifyStatus(const wchar_t* text, int code)
{
    if (CPlayerListener* listener = Family().listener)
        listener->OnPlayerStatus(this, text, code);
}

const CPlayerCtrl::RegistryMap& CPlayerCtrl::Registry()
{
    return Family().registry;
}

CPlayerCtrl* CPlayerCtrl::FindByName(const std::string& name)
{
    const RegistryMap& registry = Family().registry;
    const auto entry = registry.find(name);
    return entry != registry.end() ? entry->second : nullptr;
}

CPlayerCtrl* CPlayerCtrl::FindByType(const std::wstring& extension)
{
    for (const auto& entry : Family().registry) {
        if (entry.second->m_fileTypes.count(extension) != 0)
            return entry.second;
    }
    return nullptr;
}

void CPlayerCtrl::ExitAll()
{
    for (const auto& entry : Family().registry)
        entry.second->OnAppExit();
}

void CPlayerCtrl::SetVolumeAll(int volume)
{
    FamilyState& family = Family();
    family.volume = volume;
    for (const auto& entry : family.registry)
        entry.second->SetVolume(family.volume);
    CSettings::SetInt(VolumeOption, family.volume);
}

int CPlayerCtrl::GetCurrentVolume()
{
    return Family().volume;
}

void CPlayerCtrl::DeleteAll()
{
    RegistryMap& registry = Family().registry;
    std::vector<CPlayerCtrl*> players;
    for (const auto& entry : registry)
        players.push_back(entry.second);
    registry.clear();
    for (CPlayerCtrl* player : players)
        delete player;
}

CPlayerListener* CPlayerCtrl::GetListener()
{
    return Family().listener;
}

void SetPlayerListener(CPlayerListener* listener)
{
    Family().listener = listener;
}
