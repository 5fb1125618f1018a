// The player's settings store.

#include "player/app/Settings.h"

#include "foundation/DataKey.h"
#include "foundation/DataValue.h"
#include "foundation/Lang.h"
#include "foundation/MemoryStream.h"
#include "foundation/RegistryKey.h"
#include "foundation/Skin.h"
#include "foundation/Utilities.h"

#include <shlobj.h>

#include <cstring>
#include <map>
#include <memory>
#include <new>

namespace {

const wchar_t ProductKeyPath[] = L"Software\\Kestrivo\\Brisvane";
const wchar_t SettingsSubFolder[] = L"Kestrivo\\Brisvane";
const wchar_t RunKeyPath[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const wchar_t RunValueName[] = L"Brisvane";
const wchar_t ImagePackFile[] = L"Recres.kvdt";
const char OptionsNode[] = "options";
const char ChannelsNode[] = "channels";
const char RecordsNode[] = "records";
const char PlacementValue[] = "maindlg_placement";
const char RootName[] = "set";
// Room for the product key's "Language", terminator excluded.
constexpr DWORD LanguageCapacity = 255;

enum class OptionType { Bool, Int, String };

// A sub-key of the file that another part fills at save time. What the file
// held, or what the writer wrote last, is kept and written again while no
// writer is registered: a save never drops a node it could not fill.
struct WrittenNode {
    CSettings::NodeWriter writer;
    std::unique_ptr<KV::DataKey> kept;
};

struct SettingsData {
    std::map<std::string, bool> bools;
    std::map<std::string, int> ints;
    std::map<std::string, std::wstring> strings;
    WINDOWPLACEMENT placement = {};
    KV::DataKey document;
    std::wstring filePath;
    HWND mainWindow = nullptr;
    std::wstring language = L"en";
    WrittenNode channels;
    WrittenNode records;
};

SettingsData& Data()
{
    static SettingsData data;
    return data;
}

// A REG_SZ value of at most capacity characters; false when missing, of
// another type or empty.
bool ReadRegistryString(HKEY key, const wchar_t* name, DWORD capacity, std::wstring& text)
{
    std::wstring buffer(static_cast<size_t>(capacity) + 1, L'\0');
    DWORD type = 0;
    DWORD bytes = capacity * sizeof(wchar_t);
    if (RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(&buffer[0]), &bytes) != ERROR_SUCCESS
        || type != REG_SZ)
        return false;
    // The stored data need not end with a terminator.
    buffer.resize(bytes / sizeof(wchar_t));
    const size_t end = buffer.find(L'\0');
    if (end != std::wstring::npos)
        buffer.resize(end);
    if (buffer.empty())
        return false;
    text = buffer;
    return true;
}

// An option lives in one typed map: the type that the code uses now takes
// the key over from the others, so a save writes the value in use.
void ClaimKey(const std::string& key, OptionType type)
{
    SettingsData& data = Data();
    if (type != OptionType::Bool)
        data.bools.erase(key);
    if (type != OptionType::Int)
        data.ints.erase(key);
    if (type != OptionType::String)
        data.strings.erase(key);
}

template <typename T>
void StoreOption(std::map<std::string, T>& map, OptionType type, const std::string& key, const T& value)
{
    ClaimKey(key, type);
    map[key] = value;
}

// The stored option, or defaultValue, which is stored so that the next save
// writes every option read during the run.
template <typename T>
T FetchOption(std::map<std::string, T>& map, OptionType type, const std::string& key, const T& defaultValue)
{
    auto found = map.find(key);
    if (found != map.end())
        return found->second;
    StoreOption(map, type, key, defaultValue);
    return defaultValue;
}

void LoadImagePack()
{
    try {
        KV::DataKey pack;
        if (pack.Load(KV::GetProgramFile(ImagePackFile)))
            KV::Skin::LoadImages(pack.GetKey("images"));
    } catch (const std::bad_alloc&) {
        // The images decoded so far stay; the pack is optional.
    }
}

void ReadProductLanguage()
{
    KV::RegistryKey key(HKEY_CURRENT_USER, ProductKeyPath, KEY_READ);
    std::wstring language;
    if (key && ReadRegistryString(key.Get(), L"Language", LanguageCapacity, language))
        Data().language = language;
}

void ReadOptions(const KV::DataKey& options)
{
    SettingsData& data = Data();
    for (const auto& entry : options.GetValues()) {
        const KV::DataValue* value = entry.second;
        if (!value)
            continue;
        switch (value->GetType()) {
        case KV::ValueType::Int:
            data.ints[entry.first] = value->GetInt();
            break;
        case KV::ValueType::Bool:
            data.bools[entry.first] = value->GetBool();
            break;
        case KV::ValueType::StringW:
            data.strings[entry.first] = *value->GetStringW();
            break;
        default:
            break;
        }
    }
}

void KeepLoadedNode(WrittenNode& node, const char* name)
{
    const KV::DataKey* loaded = Data().document.GetKey(name, false);
    node.kept.reset(loaded ? new KV::DataKey(*loaded) : nullptr);
    if (node.kept)
        node.kept->SetName(name);
}

// Adds the node to document: filled by its writer (and kept as written),
// else what was kept; false when there is neither.
bool WriteNode(WrittenNode& node, const char* name, KV::DataKey& document)
{
    if (node.writer) {
        KV::DataKey* written = document.AddKey(name);
        node.writer(*written);
        node.kept.reset(new KV::DataKey(*written));
        return true;
    }
    if (!node.kept)
        return false;
    document.SetKey(new KV::DataKey(*node.kept));
    return true;
}

void ReadPlacement(const KV::MemoryStream& buffer)
{
    WINDOWPLACEMENT placement = {};
    const uint32_t size = buffer.GetSize();
    if (size != 0 && buffer.GetBuffer())
        std::memcpy(&placement, buffer.GetBuffer(), size < sizeof(placement) ? size : sizeof(placement));
    Data().placement = placement;
}

// Everything Load forgets, and what the next save would write.
void Forget()
{
    SettingsData& data = Data();
    data.bools.clear();
    data.ints.clear();
    data.strings.clear();
    data.document = KV::DataKey();
    data.filePath.clear();
    data.placement = WINDOWPLACEMENT();
    data.channels.kept.reset();
    data.records.kept.reset();
}

// False when memory ran out reading the file.
bool ReadSettings(const std::wstring& fileName)
{
    SettingsData& data = Data();
    // The language pack asks for the option "Language" when it loads.
    KV::Lang::SetWantedLanguageSource([] { return CSettings::GetString("Language", CSettings::GetLanguage()); });

    LoadImagePack();
    ReadProductLanguage();

    const std::wstring folder = KV::GetShellFolder(CSIDL_APPDATA | CSIDL_FLAG_CREATE, SettingsSubFolder);
    if (folder.empty())
        return true;
    data.filePath = KV::JoinPath(folder, fileName);
    const KV::DataKey::ReadResult result =
        data.filePath.empty() ? KV::DataKey::ReadResult::NotOpened : data.document.LoadFile(data.filePath);
    if (result == KV::DataKey::ReadResult::OutOfMemory)
        return false;
    if (result != KV::DataKey::ReadResult::Read) {
        data.document = KV::DataKey();
        return true;
    }
    if (const KV::DataKey* options = data.document.GetKey(OptionsNode))
        ReadOptions(*options);
    if (const KV::MemoryStream* placement = data.document.GetBuffer(PlacementValue))
        ReadPlacement(*placement);
    KeepLoadedNode(data.channels, ChannelsNode);
    KeepLoadedNode(data.records, RecordsNode);
    return true;
}

} // namespace

void CSettings::Load(const std::wstring& fileName)
{
    Forget();
    Data().language = L"en";
    bool read = false;
    try {
        read = ReadSettings(fileName);
    } catch (const std::bad_alloc&) {
    }
    // A file that could not be taken in for want of memory may well be
    // good: this run goes on with defaults and leaves it as it is, rather
    // than overwrite it with less at exit.
    if (!read)
        Forget();
}

bool CSettings::Save()
{
    SettingsData& data = Data();
    KV::DataKey document(RootName);

    if (data.mainWindow && IsWindow(data.mainWindow)) {
        WINDOWPLACEMENT placement = {};
        placement.length = sizeof(placement);
        if (GetWindowPlacement(data.mainWindow, &placement)) {
            placement.length = sizeof(placement);
            data.placement = placement;
        }
        SetBool("main_visible", IsWindowVisible(data.mainWindow) != FALSE);
    }

    KV::DataKey* options = document.AddKey(OptionsNode);
    for (const auto& option : data.bools)
        options->SetBool(option.first, option.second);
    for (const auto& option : data.ints)
        options->SetInt(option.first, option.second);
    for (const auto& option : data.strings)
        options->SetStringW(option.first, option.second);

    if (data.placement.length != 0) {
        KV::MemoryStream bytes;
        bytes.Write(&data.placement, sizeof(data.placement));
        document.SetBuffer(PlacementValue, bytes);
    }

    // The file always has a "channels" node, empty at worst.
    if (!WriteNode(data.channels, ChannelsNode, document))
        document.AddKey(ChannelsNode);
    WriteNode(data.records, RecordsNode, document);

    if (data.filePath.empty())
        return false;
    return document.Save(data.filePath);
}

bool CSettings::GetBool(const std::string& key, bool defaultValue)
{
    return FetchOption(Data().bools, OptionType::Bool, key, defaultValue);
}

void CSettings::SetBool(const std::string& key, bool value)
{
    StoreOption(Data().bools, OptionType::Bool, key, value);
}

int CSettings::GetInt(const std::string& key, int defaultValue)
{
    return FetchOption(Data().ints, OptionType::Int, key, defaultValue);
}

void CSettings::SetInt(const std::string& key, int value)
{
    StoreOption(Data().ints, OptionType::Int, key, value);
}

std::wstring CSettings::GetString(const std::string& key, const std::wstring& defaultValue)
{
    return FetchOption(Data().strings, OptionType::String, key, defaultValue);
}

void CSettings::SetString(const std::string& key, const std::wstring& value)
{
    StoreOption(Data().strings, OptionType::String, key, value);
}

KV::DataKey* CSettings::GetChannelsNode()
{
    return Data().document.GetKey(ChannelsNode, false);
}

KV::DataKey* CSettings::GetRecordsNode()
{
    return Data().document.GetKey(RecordsNode, false);
}

void CSettings::SetChannelsWriter(NodeWriter writer)
{
    Data().channels.writer = std::move(writer);
}

void CSettings::SetRecordsWriter(NodeWriter writer)
{
    Data().records.writer = std::move(writer);
}

void CSettings::SetPlacement(const WINDOWPLACEMENT& placement)
{
    Data().placement = placement;
}

bool CSettings::GetPlacement(WINDOWPLACEMENT& placement)
{
    const SettingsData& data = Data();
    if (data.placement.length == 0)
        return false;
    placement = data.placement;
    return true;
}

bool CSettings::GetAutostart()
{
    return GetBool("autostart", true);
}

void CSettings::SetAutostart(bool enabled)
{
    SetBool("autostart", enabled);
    KV::RegistryKey run(HKEY_CURRENT_USER, RunKeyPath, KEY_SET_VALUE);
    if (!run)
        return;
    if (!enabled) {
        RegDeleteValueW(run.Get(), RunValueName);
        return;
    }
    const std::wstring& path = KV::GetProgramPath();
    if (path.empty())
        return;
    RegSetValueExW(run.Get(), RunValueName, 0, REG_SZ, reinterpret_cast<const BYTE*>(path.c_str()),
                   static_cast<DWORD>((path.size() + 1) * sizeof(wchar_t)));
}

void CSettings::SetMainWindow(HWND window)
{
    Data().mainWindow = window;
}

HWND CSettings::GetMainWindow()
{
    return Data().mainWindow;
}

const std::wstring& CSettings::GetLanguage()
{
    return Data().language;
}

const wchar_t* CSettings::GetProductName()
{
    return L"Brisvane Recorder";
}

const wchar_t* CSettings::GetVersion()
{
    return L"2.3.2";
}

const wchar_t* CSettings::GetProductKeyPath()
{
    return ProductKeyPath;
}

const std::wstring& CSettings::GetFilePath()
{
    return Data().filePath;
}
