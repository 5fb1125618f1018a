// The start-up language.

#include "wizards/common/LanguageChoice.h"

#include "foundation/RegistryKey.h"
#include "wizards/common/ProductRegistry.h"
#include "wizards/common/ProductSettings.h"
#include "wizards/common/RegistryValues.h"
#include "wizards/common/WizardLanguages.h"

namespace {

constexpr size_t SystemLanguageCapacity = 128;

} // namespace

std::optional<std::wstring> LookupLanguageCode(const std::wstring& threeLetterName)
{
    const StringMap& codes = GetLanguageCodeMap();
    const auto found = codes.find(threeLetterName);
    if (found == codes.end())
        return std::nullopt;
    return found->second;
}

std::wstring GetSystemLanguage()
{
    const std::wstring english = L"en";
    KV::RegistryKey key(HKEY_CURRENT_USER, L"Control Panel\\International", KEY_READ);
    std::wstring name;
    if (!QueryRegString(key.Get(), L"sLanguage", SystemLanguageCapacity, name))
        return english;
    const std::optional<std::wstring> ext = LookupLanguageCode(name);
    if (ext && SelectLanguage(*ext) >= 0)
        return *ext;
    return english;
}

void InitLanguage(REGSAM access)
{
    const std::wstring systemLanguage = GetSystemLanguage();
    // A stored ext that is not loaded keeps the system language; when that
    // came back as the plain "en" fallback, nothing selected it yet.
    if (SelectLanguage(ReadProductRegValue(RegValueLanguage, systemLanguage, access)) < 0)
        SelectLanguage(systemLanguage);
}
