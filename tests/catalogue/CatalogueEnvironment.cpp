#include "tests/catalogue/CatalogueEnvironment.h"

#include "foundation/FileStream.h"
#include "foundation/Lang.h"
#include "foundation/MemoryStream.h"
#include "foundation/Skin.h"
#include "foundation/Utilities.h"
#include "player/app/Settings.h"

#include <windows.h>

namespace CatalogueEnvironment {

const wchar_t* const FixtureFolder = L"catalogue_fixtures";

namespace {

const wchar_t kSettingsName[] = L"catalogue_tests.cfg";

} // namespace

std::wstring Fixture(const std::wstring& name)
{
    return std::wstring(FixtureFolder) + L"\\" + name;
}

std::wstring FixturePath(const std::wstring& name)
{
    return KV::GetProgramFile(Fixture(name));
}

void LoadLanguageAndSkin()
{
    KV::Lang::Load(Fixture(L"Languages.lngp"));
    KV::Skin::Load(Fixture(L"Resources.kvdt"));
}

void FreeLanguageAndSkin()
{
    KV::Skin::Free();
    KV::Lang::Free();
}

std::wstring SettingsFile()
{
    if (CSettings::GetFilePath().empty())
        CSettings::Load(kSettingsName);
    return CSettings::GetFilePath();
}

void LoadSettings(const std::wstring& settingsFixture)
{
    const std::wstring target = SettingsFile();
    if (settingsFixture.empty())
        DeleteFileW(target.c_str());
    else
        CopyFileW(FixturePath(settingsFixture).c_str(), target.c_str(), FALSE);
    CSettings::Load(kSettingsName);
}

std::wstring WriteFixture(const std::wstring& name, const std::string& bytes)
{
    KV::FileStream file(FixturePath(name).c_str(), false);
    file.Write(bytes.data(), static_cast<uint32_t>(bytes.size()));
    file.Close();
    return Fixture(name);
}

std::string ReadFile(const std::wstring& path)
{
    KV::FileStream file(path.c_str(), true);
    if (!file.IsOpen())
        return std::string();
    KV::MemoryStream content(file);
    const uint8_t* data = content.GetBuffer();
    return data ? std::string(reinterpret_cast<const char*>(data), content.GetSize()) : std::string();
}

} // namespace CatalogueEnvironment
