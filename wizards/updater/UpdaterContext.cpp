// The updater's start-up data and the descriptor's texts.

#include "wizards/updater/UpdaterContext.h"

#include "foundation/DataKey.h"
#include "foundation/WizardSkin.h"
#include "foundation/WizardUtilities.h"
#include "foundation/ZipArchive.h"
#include "wizards/common/LanguageChoice.h"
#include "wizards/common/MacroTable.h"
#include "wizards/common/ProductRegistry.h"
#include "wizards/common/ProductSettings.h"
#include "wizards/common/WizardDataFiles.h"
#include "wizards/common/WizardLanguages.h"
#include "wizards/updater/TransferFile.h"
#include "wizards/updater/UpdaterRegistry.h"

#include <shlwapi.h>

namespace {

constexpr const wchar_t* RecorderPackName = L"Recres.kvdt";
constexpr const wchar_t* UpdatesFolderName = L"Updates";
// wsprintfW writes at most this many characters.
constexpr size_t FormatCapacity = 1024;

std::wstring FolderOf(const std::wstring& file)
{
    const size_t slash = file.find_last_of(L"\\/");
    return slash == std::wstring::npos ? std::wstring() : file.substr(0, slash);
}

std::wstring CombinePath(const std::wstring& folder, const wchar_t* name)
{
    wchar_t combined[MAX_PATH] = L"";
    if (!::PathCombineW(combined, folder.c_str(), name))
        return std::wstring();
    return combined;
}

void ReplaceEvery(std::wstring& text, const std::wstring& what, const std::wstring& with)
{
    for (size_t at = text.find(what); at != std::wstring::npos; at = text.find(what, at + with.size()))
        text.replace(at, what.size(), with);
}

void ResetRunState(UpdaterContext& context)
{
    context.descriptor.reset();
    context.newVersion.clear();
    context.installedVersion.clear();
    context.pendingVersion.clear();
    context.updatesFolder.clear();
    context.programFolder.clear();
    context.updated = false;
    context.hidden = false;
    context.recorderEdition = false;
    context.updateError = UpdateErrorNone;
}

} // namespace

UpdaterContext::UpdaterContext() = default;
UpdaterContext::~UpdaterContext() = default;

UpdaterContext& GetUpdaterContext()
{
    static UpdaterContext context;
    return context;
}

std::atomic<bool>& GetCancelFlag()
{
    // Left to the end of the process on purpose: a detached worker may read
    // it while the program's statics are being destroyed.
    static std::atomic<bool>* const flag = new std::atomic<bool>(false);
    return *flag;
}

bool LoadUpdaterData(const std::wstring& programFile)
{
    UpdaterContext& context = GetUpdaterContext();
    ResetRunState(context);
    GetCancelFlag() = false;
    BeginTransferFiles();
    const std::wstring ownFile = programFile.empty() ? KV::GetProgramPath() : programFile;
    context.programFolder = FolderOf(ownFile);

    // The archive appended to the program uses absolute offsets, so it is
    // read from the start of the file.
    ZipArchive archive;
    const bool hasArchive = archive.Open(ownFile.c_str());
    if (hasArchive) {
        LoadLanguages(LoadArchiveDataFile(archive, LanguageFileName).get());
        KV::Skin::Load(LoadArchiveDataFile(archive, SkinFileName).get());
        SetProductSettings(LoadArchiveDataFile(archive, SettingsFileName));
        archive.Close();
    } else {
        LoadLanguages(nullptr);
        KV::Skin::Load(nullptr);
        SetProductSettings(nullptr);
    }
    LoadCommonSettingsLists();

    KV::DataKey recorderPack;
    if (recorderPack.Load(CombinePath(context.programFolder, RecorderPackName))) {
        context.recorderEdition = true;
        SetMacro(L"#title#", L"Brisvane Recorder");
    }

    InitLanguage(ProductKeyReadAccess);

    const VariantTraits& traits = GetVariantTraits();
    context.installedVersion = GetProductRegValue(traits.installedVersionValue, NoVersion);
    context.pendingVersion = GetProductRegValue(traits.pendingVersionValue, NoVersion);
    context.updatesFolder = CombinePath(context.programFolder, UpdatesFolderName);
    return hasArchive;
}

// The cancel flag stays as it is: a worker still running after the run must
// go on seeing that the frame is gone.
void FreeUpdaterData()
{
    KV::Skin::Free();
    FreeLanguages();
    FreeProductSettings();
    ClearMacros();
    ResetRunState(GetUpdaterContext());
}

std::wstring GetUpdateDisplayName()
{
    const UpdaterContext& context = GetUpdaterContext();
    std::wstring name = context.descriptor ? context.descriptor->GetStringW("name", std::wstring()) : std::wstring();
    if (context.recorderEdition)
        ReplaceEvery(name, L"Brisvane", L"Brisvane Recorder");
    return name;
}

std::wstring GetDetailsUrl()
{
    const KV::DataKey* update = GetProductSettings().GetKey("update");
    const std::optional<std::wstring> format = GetSettingText(update, "durl");
    if (!format)
        return std::wstring();
    std::wstring version = GetUpdaterContext().newVersion;
    for (wchar_t& c : version) {
        if (c == L'.')
            c = L'-';
    }
    wchar_t url[FormatCapacity + 1] = L"";
    ::wsprintfW(url, format->c_str(), version.c_str());
    return url;
}

int GetChannelCount()
{
    const UpdaterContext& context = GetUpdaterContext();
    return context.descriptor ? context.descriptor->GetInt("cc", 0) : 0;
}
