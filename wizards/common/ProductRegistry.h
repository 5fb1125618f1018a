#pragma once
// The registry values that the product's four programs share, all REG_SZ in
// the product key that the settings name in reg/reg ("root" index, "key"):
//
//   Version         installed program version   (setup; setup, program updater)
//   InstallDir      program folder              (setup; setup's update mode)
//   Language        chosen language ext         (setup; setup, updaters, player)
//   CVersion        installed channel list      (setup, player; channel updater)
//   From            origin of the download      (setup, once)
//   Update          downloaded package path     (program updater; player)
//   UpdateVersion   its version                 (program updater; player deletes)
//   CUpdate         downloaded channel list     (channel updater; player)
//   CUpdateVersion  its version                 (channel updater; player)

#include <windows.h>

#include <cstdint>
#include <string>

namespace KV {
class DataKey;
}

constexpr const wchar_t* RegValueVersion = L"Version";
constexpr const wchar_t* RegValueInstallDir = L"InstallDir";
constexpr const wchar_t* RegValueLanguage = L"Language";
constexpr const wchar_t* RegValueCVersion = L"CVersion";
constexpr const wchar_t* RegValueFrom = L"From";
constexpr const wchar_t* RegValueUpdate = L"Update";
constexpr const wchar_t* RegValueUpdateVersion = L"UpdateVersion";
constexpr const wchar_t* RegValueCUpdate = L"CUpdate";
constexpr const wchar_t* RegValueCUpdateVersion = L"CUpdateVersion";

// The version that any real one is newer than.
constexpr const wchar_t* NoVersion = L"0.0.0.0";

// KEY_READ | KEY_WRITE: the setup reads and every program writes with it.
constexpr REGSAM ProductKeyAccess = 0x2001F;
// KEY_READ: the updaters' reads.
constexpr REGSAM ProductKeyReadAccess = 0x20019;

// Characters a product value may have when it is read.
constexpr size_t ProductValueCapacity = 1024;

// Index 0 HKEY_CLASSES_ROOT, 1 HKEY_CURRENT_USER, 2 HKEY_LOCAL_MACHINE,
// 3 HKEY_USERS; null for any other index.
HKEY RegistryRootFromIndex(uint32_t index);

// A registry entry of the settings (UInt "root", StringW "key" as stored).
// False when the root index is not 0 to 3 or the key is missing or empty.
bool GetRegistryEntryKey(const KV::DataKey& entry, HKEY& root, std::wstring& key);
// The product key: the entry reg/reg of the current settings.
bool GetProductKey(HKEY& root, std::wstring& key);

// A product value read with the given access; the default when the key or
// the value is missing or unreadable.
std::wstring ReadProductRegValue(const wchar_t* name, const std::wstring& defaultValue, REGSAM access);
// Whether the product key holds a readable string value of that name.
bool HasProductRegValue(const wchar_t* name, REGSAM access);
// Sets a product value in the existing key (which is never created).
bool WriteProductRegValue(const wchar_t* name, const std::wstring& text);
