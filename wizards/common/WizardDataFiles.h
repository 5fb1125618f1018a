#pragma once
// The wizards' own data files (lng.lngp, res.kvdt, set.kvdt): entries of the
// archive appended to the program, or, for a program without an archive,
// files of the folder Project\ below the program folder.

#include <memory>
#include <string>

namespace KV {
class DataKey;
}
class ZipArchive;

constexpr const wchar_t* LanguageFileName = L"lng.lngp";
constexpr const wchar_t* SkinFileName = L"res.kvdt";
constexpr const wchar_t* SettingsFileName = L"set.kvdt";

// Project\<name> below the program folder.
std::wstring GetProjectFilePath(const std::wstring& name);
// The entry name of an open archive as a data tree; null when missing or not
// parsable.
std::unique_ptr<KV::DataKey> LoadArchiveDataFile(ZipArchive& archive, const wchar_t* name);
// The file Project\<name> as a data tree; null when missing or not parsable.
std::unique_ptr<KV::DataKey> LoadProjectDataFile(const wchar_t* name);
// A data tree file; null when it cannot be loaded.
std::unique_ptr<KV::DataKey> LoadDataTreeFile(const std::wstring& path);
