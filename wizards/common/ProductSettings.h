#pragma once
// The product settings (set.kvdt of the program's archive): what to
// install, where, under which names and registry keys, plus the small lists
// read from it once after loading (language codes, zones, extensions to
// rewrite). One tree per process, loaded and changed on the UI thread before
// a worker starts.

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace KV {
class DataKey;
class MemoryStream;
}

using StringMap = std::map<std::wstring, std::wstring>;
using StringList = std::vector<std::wstring>;

// The settings' root; an empty tree when none is loaded.
KV::DataKey& GetProductSettings();
// Takes the tree (null: an empty one). The lists stay until reloaded.
void SetProductSettings(std::unique_ptr<KV::DataKey> settings);
// Empties the tree, the lists and the maps.
void FreeProductSettings();

// The StringW value name of node, macro-expanded; nothing when the node or
// the value is missing, of another type or empty.
std::optional<std::wstring> GetSettingText(const KV::DataKey* node, const char* name);

// StringW values of the settings' node nodeName: wide value name -> text.
// Values of other types are skipped; a missing node leaves the map empty.
void LoadStringMap(StringMap& map, const KV::DataKey& settings, const char* nodeName);
// The StringW texts of the node's values.
void LoadStringList(StringList& list, const KV::DataKey& settings, const char* nodeName);

// Macros, "langs", "zones" and "crypt" of the current settings.
void LoadCommonSettingsLists();
// "langs": three-letter Windows language name -> language ext.
const StringMap& GetLanguageCodeMap();
// "zones": language ext -> zone.
const StringMap& GetZoneMap();
// "crypt": file extensions with the dot.
const StringList& GetCryptList();

// A location node: the shell folder of its UInt "csid" (0: none) joined with
// its expanded StringW "path".
std::wstring GetInstallLocation(const KV::DataKey& location);
// The RTF blob of "license" for the current language; null when there is
// none. Owned by the settings.
KV::MemoryStream* GetLicenseText();
// "fsize": bytes of the program files.
uint32_t GetMainFilesSize();
