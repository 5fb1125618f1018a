#include "tests/updater/UpdaterTestSupport.h"

#include "foundation/MemoryStream.h"
#include "tests/support/HostPath.h"
#include "tests/support/ZipBuilder.h"

ProductKeyGuard::ProductKeyGuard()
{
    ::RegDeleteTreeW(HKEY_CURRENT_USER, TestProductKey);
    HKEY key = nullptr;
    if (::RegCreateKeyExW(HKEY_CURRENT_USER, TestProductKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                          nullptr) == ERROR_SUCCESS)
        ::RegCloseKey(key);
}

ProductKeyGuard::~ProductKeyGuard()
{
    ::RegDeleteTreeW(HKEY_CURRENT_USER, TestProductKey);
}

bool ProductKeyGuard::Set(const wchar_t* name, const std::wstring& text) const
{
    return ::RegSetKeyValueW(HKEY_CURRENT_USER, TestProductKey, name, REG_SZ, text.c_str(),
                             static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
}

std::wstring ProductKeyGuard::Get(const wchar_t* name) const
{
    wchar_t buffer[2048] = L"";
    DWORD size = sizeof(buffer) - sizeof(wchar_t);
    if (::RegGetValueW(HKEY_CURRENT_USER, TestProductKey, name, RRF_RT_REG_SZ, nullptr, buffer, &size) !=
        ERROR_SUCCESS)
        return std::wstring();
    return buffer;
}

bool ProductKeyGuard::Has(const wchar_t* name) const
{
    return ::RegGetValueW(HKEY_CURRENT_USER, TestProductKey, name, RRF_RT_ANY, nullptr, nullptr, nullptr) ==
           ERROR_SUCCESS;
}

std::wstring ShippedDataFile(const wchar_t* name)
{
    return WindowsPathOfHostPath(L"" UPDATER_TEST_DATA_DIR) + L"\\" + name;
}

std::wstring ProgramImage(const wchar_t* name)
{
    return WindowsPathOfHostPath(L"" UPDATER_TEST_IMAGE_DIR) + L"\\" + name;
}

std::wstring FinishedProgram(const wchar_t* name)
{
    return WindowsPathOfHostPath(L"" UPDATER_TEST_PROGRAM_DIR) + L"\\" + name;
}

KV::DataKey MakeTestSettings(const TestSettingsOptions& options)
{
    KV::DataKey settings;
    settings.SetStringW("ver", L"2.3.2");
    KV::DataKey* macros = settings.GetKey("macros", true);
    macros->SetStringW("#title#", L"Brisvane");
    macros->SetStringW("#pub#", L"Kestrivo");
    settings.GetKey("langs", true)->SetStringW("RUS", L"ru");
    KV::DataKey* zones = settings.GetKey("zones", true);
    zones->SetStringW("en", L"com");
    zones->SetStringW("ru", L"com");
    if (options.withProductKey) {
        KV::DataKey* product = settings.GetKey("reg", true)->GetKey("reg", true);
        product->SetUInt("root", 1);
        product->SetStringW("key", options.productKey);
    }
    KV::DataKey* update = settings.GetKey("update", true);
    update->SetStringW("folder", options.folderUrl);
    update->SetStringW("file", options.checkFile);
    if (!options.detailsFormat.empty())
        update->SetStringW("durl", options.detailsFormat);
    return settings;
}

bool WriteProgramFile(const std::wstring& path, const KV::DataKey& settings, const std::string& image)
{
    const std::string archive = ZipBuilder()
                                    .Add("lng.lngp", ReadWholeFile(ShippedDataFile(L"lng.lngp")))
                                    .Add("res.kvdt", ReadWholeFile(ShippedDataFile(L"res.kvdt")))
                                    .Add("set.kvdt", TreeBytes(settings))
                                    .Build(image.size());
    return WriteWholeFile(path, image + archive + std::string(4, '\0'));
}

std::string MakeUpdateZip(const std::string& version, const std::wstring& file, const std::wstring& name,
                          const std::string& entryName)
{
    KV::DataKey descriptor(version);
    descriptor.SetStringW("file", file);
    descriptor.SetStringW("name", name);
    return ZipBuilder().Add(entryName, TreeBytes(descriptor)).Build();
}

std::string MakeChannelDescriptor(const std::string& version, bool withCount, int count)
{
    KV::DataKey descriptor(version);
    if (withCount)
        descriptor.SetInt("cc", count);
    return TreeBytes(descriptor);
}

std::string MakeChannelsZip(const std::string& catalogue, const std::string& entryName)
{
    return ZipBuilder().Add("readme.txt", "catalogue inside").Add(entryName, catalogue).Build();
}

bool WaitFor(const std::function<bool()>& condition, DWORD deadlineMs)
{
    const DWORD start = ::GetTickCount();
    for (;;) {
        if (condition())
            return true;
        if (::GetTickCount() - start > deadlineMs)
            return condition();
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
        ::Sleep(10);
    }
}
