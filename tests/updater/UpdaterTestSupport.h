#pragma once
// Fixtures of the updater tests: a fresh folder standing for the program
// folder, a product key of the tests' own in HKCU (made before and deleted
// after each test), the program file with its appended data archive, and
// the server-side files (update.zip, cupdate.dat, channels.zip, a setup).

#include "foundation/DataKey.h"
#include "tests/support/UpdateFileBytes.h"
#include "tests/support/TempFolder.h"
#include "wizards/updater/UrlTransfer.h"

#include <windows.h>

#include <functional>
#include <string>

// The tests' product key below HKEY_CURRENT_USER.
constexpr const wchar_t* TestProductKey = L"Software\\Kestrivo\\BrisvaneUpdaterTests";

// Creates the tests' product key empty, and deletes it when it goes.
class ProductKeyGuard {
public:
    ProductKeyGuard();
    ProductKeyGuard(const ProductKeyGuard&) = delete;
    ProductKeyGuard& operator=(const ProductKeyGuard&) = delete;
    ~ProductKeyGuard();

    bool Set(const wchar_t* name, const std::wstring& text) const;
    // Empty when missing.
    std::wstring Get(const wchar_t* name) const;
    bool Has(const wchar_t* name) const;
};


// The updaters' shipped data files from the build (lng.lngp, res.kvdt,
// set.kvdt).
std::wstring ShippedDataFile(const wchar_t* name);
// The built programs: the images without an archive, and the finished ones.
std::wstring ProgramImage(const wchar_t* name);
std::wstring FinishedProgram(const wchar_t* name);

struct TestSettingsOptions {
    std::wstring folderUrl;
    std::wstring checkFile = L"update.zip";
    // Empty: no durl value.
    std::wstring detailsFormat;
    bool withProductKey = true;
    // The product key the settings name (below HKEY_CURRENT_USER).
    std::wstring productKey = TestProductKey;
};
// set.kvdt of the tests: the shipped macros and maps, the tests' product
// key and the given server folder.
KV::DataKey MakeTestSettings(const TestSettingsOptions& options);

// The program file: image bytes (may be empty) followed by an archive of
// lng.lngp and res.kvdt (the shipped ones) and settings, and four zero
// bytes.
bool WriteProgramFile(const std::wstring& path, const KV::DataKey& settings, const std::string& image = std::string());

// Server files.
std::string MakeUpdateZip(const std::string& version, const std::wstring& file, const std::wstring& name,
                          const std::string& entryName = "update");
std::string MakeChannelDescriptor(const std::string& version, bool withCount, int count = 0);
std::string MakeChannelsZip(const std::string& catalogue, const std::string& entryName = "Channels.brsc");

// Polls condition (pumping this thread's messages) until it holds or a
// generous deadline passes; the result is the last answer.
bool WaitFor(const std::function<bool()>& condition, DWORD deadlineMs = 30000);

// A transfer setting (times, byte limit) replaced for one test through its
// setter, which answers the value it replaces, and put back when the scope
// ends, also when an assertion ends the test early.
template <typename Value>
class ScopedTransferSetting {
public:
    ScopedTransferSetting(Value (*set)(Value), Value value) : m_set(set), m_previous(set(value)) {}
    ~ScopedTransferSetting() { m_set(m_previous); }
    ScopedTransferSetting(const ScopedTransferSetting&) = delete;
    ScopedTransferSetting& operator=(const ScopedTransferSetting&) = delete;

private:
    Value (*m_set)(Value);
    Value m_previous;
};
