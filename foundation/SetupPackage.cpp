// The setup package check.

#include "foundation/SetupPackage.h"

#include "foundation/ArchiveTrailer.h"
#include "foundation/DataKey.h"
#include "foundation/UtilitiesCommon.h"
#include "foundation/ZipArchive.h"
#include "foundation/ZipFileHandle.h"

#include <windows.h>

namespace {

constexpr const wchar_t* PackageExtension = L".exe";
constexpr const wchar_t* SettingsEntryName = L"set.kvdt";

// An executable image starts with the DOS header's "MZ", and the trailer
// names the role of the file.
bool HasSetupLayout(const std::wstring& path)
{
    ZipFileHandle file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                     FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.IsValid())
        return false;
    char magic[2] = {};
    DWORD read = 0;
    if (!::ReadFile(file.Get(), magic, sizeof magic, &read, nullptr) || read != sizeof magic || magic[0] != 'M' ||
        magic[1] != 'Z')
        return false;
    ArchiveTrailer trailer;
    return ReadArchiveTrailer(file.Get(), trailer) && trailer.Mode == ModeSetup;
}

} // namespace

namespace KV {

bool IsSetupPackageName(const std::wstring& path)
{
    const size_t length = ::lstrlenW(PackageExtension);
    return path.size() > length && ::lstrcmpiW(path.c_str() + path.size() - length, PackageExtension) == 0;
}

bool IsSetupPackage(const std::wstring& path, const std::wstring& version)
{
    if (version.empty() || !IsSetupPackageName(path) || !HasSetupLayout(path))
        return false;
    ZipArchive archive;
    if (!archive.Open(path.c_str()))
        return false;
    const std::unique_ptr<DataKey> settings = archive.LoadDataKey(SettingsEntryName);
    archive.Close();
    if (!settings)
        return false;
    const std::wstring packaged = settings->GetStringW("ver", std::wstring());
    return !packaged.empty() && CompareVersions(packaged.c_str(), version.c_str()) == 0;
}

} // namespace KV
