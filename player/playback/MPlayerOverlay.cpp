// The Media Player's VMR overlay preference: off while the player runs, the
// user's value again at exit. The key belongs to Media Player: it is opened,
// never created.

#include "player/playback/MPlayerCtrl.h"

#include "foundation/RegistryKey.h"

namespace {

const wchar_t VideoSettingsKey[] = L"Software\\Microsoft\\MediaPlayer\\Preferences\\VideoSettings";
const wchar_t OverlayValue[] = L"UseVMROverlay";
constexpr REGSAM ReadWriteAccess = 0x2001F;  // KEY_READ | KEY_WRITE

DWORD g_savedOverlay = 1;

void WriteDword(HKEY key, const wchar_t* name, DWORD value)
{
    ::RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof(value));
}

}  // namespace

void CMPlayerCtrl::SetVMROverlay(bool restore)
{
    KV::RegistryKey key(HKEY_CURRENT_USER, VideoSettingsKey, ReadWriteAccess);
    if (!key)
        return;
    if (restore) {
        WriteDword(key.Get(), OverlayValue, g_savedOverlay);
        return;
    }
    g_savedOverlay = 1;
    DWORD type = 0;
    DWORD value = 0;
    DWORD size = sizeof(value);
    if (::RegQueryValueExW(key.Get(), OverlayValue, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) ==
            ERROR_SUCCESS &&
        type == REG_DWORD && size == sizeof(value))
        g_savedOverlay = value;
    WriteDword(key.Get(), OverlayValue, 0);
}
