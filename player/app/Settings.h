#pragma once
// The player's process-wide settings store: typed user options, the main
// window's saved placement and the settings document, kept in Settings.cfg
// under the user's application-data folder; plus a few process-wide facts
// (language code of the product key, product name and version, the main
// window). User-interface thread only.

#include <windows.h>

#include <functional>
#include <string>

namespace KV {
class DataKey;
}

class CSettings {
public:
    CSettings() = delete;

    // Fills a sub-key of the document being saved ("channels", "records").
    using NodeWriter = std::function<void(KV::DataKey& node)>;

    // Adds the image pack's images to the skin, reads the product key's
    // "Language", and loads fileName from the settings folder (created when
    // missing). A missing or damaged file leaves every option at its default.
    // Forgets what an earlier Load read.
    static void Load(const std::wstring& fileName);
    // Writes options, placement, "channels" and "records" to the settings
    // file; an earlier good file survives a failed write. False when nothing
    // could be written (no settings folder or the write failed).
    static bool Save();

    // The stored option; when the key is absent (or stored under another
    // type), stores defaultValue under it and returns that. An option lives
    // in one typed map: a getter or setter of another type takes it over.
    static bool GetBool(const std::string& key, bool defaultValue);
    static void SetBool(const std::string& key, bool value);
    static int GetInt(const std::string& key, int defaultValue);
    static void SetInt(const std::string& key, int value);
    static std::wstring GetString(const std::string& key, const std::wstring& defaultValue);
    static void SetString(const std::string& key, const std::wstring& value);

    // Sub-keys of the loaded document, null when absent.
    static KV::DataKey* GetChannelsNode();
    static KV::DataKey* GetRecordsNode();
    // Who fills "channels" (the channel catalogue) and "records" (the records
    // manager, while it exists) at save time; an empty writer unregisters.
    // Without a writer a save writes the node as the file held it or as its
    // writer last wrote it, so that nothing it could not fill is lost.
    static void SetChannelsWriter(NodeWriter writer);
    static void SetRecordsWriter(NodeWriter writer);

    static void SetPlacement(const WINDOWPLACEMENT& placement);
    // False (placement untouched) while there is no saved placement.
    static bool GetPlacement(WINDOWPLACEMENT& placement);

    // Bool option "autostart" (default true).
    static bool GetAutostart();
    // Stores "autostart" and writes or removes the HKCU Run entry.
    static void SetAutostart(bool enabled);

    static void SetMainWindow(HWND window);
    static HWND GetMainWindow();

    // The product key's "Language" as read by Load, else "en".
    static const std::wstring& GetLanguage();
    static const wchar_t* GetProductName();
    static const wchar_t* GetVersion();
    // Under HKEY_CURRENT_USER.
    static const wchar_t* GetProductKeyPath();
    // Empty when no settings folder could be found.
    static const std::wstring& GetFilePath();
};
