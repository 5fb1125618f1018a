// Loading and freeing the setup's data.

#include "wizards/setup/SetupData.h"

#include "foundation/DataKey.h"
#include "foundation/WizardSkin.h"
#include "foundation/WizardUtilities.h"
#include "wizards/common/LanguageChoice.h"
#include "wizards/common/MacroTable.h"
#include "wizards/common/ProductRegistry.h"
#include "wizards/common/ProductSettings.h"
#include "wizards/common/Text.h"
#include "wizards/common/WizardDataFiles.h"
#include "wizards/common/WizardLanguages.h"
#include "wizards/setup/Components.h"
#include "wizards/setup/ProcessStart.h"
#include "wizards/setup/SetupContext.h"

#include <shlwapi.h>

namespace {

constexpr const wchar_t* RecorderTitle = L"Brisvane Recorder";
constexpr const wchar_t* RecorderLinkName = L"Brisvane Recorder.lnk";
constexpr const char* RecorderPackFile = "Recres.kvdt";

void LoadFromArchive(SetupContext& context)
{
    ReadArchiveTrailer(context.ownFile.Get(), context.trailer);
    std::unique_ptr<KV::DataKey> languages = LoadArchiveDataFile(context.archive, LanguageFileName);
    LoadLanguages(languages.get());
    std::unique_ptr<KV::DataKey> skin = LoadArchiveDataFile(context.archive, SkinFileName);
    KV::Skin::Load(skin.get());
    SetProductSettings(LoadArchiveDataFile(context.archive, SettingsFileName));
    LoadSettingsLists();
    if (!context.uninstall) {
        const KV::DataKey* files = GetProductSettings().GetKey("files");
        context.recorder = files && files->HasValue(RecorderPackFile);
    }
}

void LoadFromProjectFolder(SetupContext& context)
{
    context.uninstall = false;
    std::unique_ptr<KV::DataKey> skin = LoadProjectDataFile(SkinFileName);
    KV::Skin::Load(skin.get());
    std::unique_ptr<KV::DataKey> languages = LoadProjectDataFile(LanguageFileName);
    LoadLanguages(languages.get());
    SetProductSettings(LoadProjectDataFile(SettingsFileName));
    LoadSettingsLists();
}

// The recorder edition renames the product and its program shortcuts.
void ApplyRecorderEdition()
{
    SetMacro(L"#title#", RecorderTitle);
    KV::DataKey& settings = GetProductSettings();
    if (KV::DataKey* desktop = settings.GetKey("cds"))
        desktop->SetStringW("n", RecorderLinkName);
    KV::DataKey* programs = settings.GetKey("cp");
    KV::DataKey* folder = programs ? programs->GetKey("d0") : nullptr;
    if (KV::DataKey* shortcut = folder ? folder->GetKey("s0") : nullptr)
        shortcut->SetStringW("n", RecorderLinkName);
}

void PrepareLogAndComponents(SetupContext& context)
{
    KV::DataKey& settings = GetProductSettings();
    if (context.uninstall) {
        context.logPath = context.uninstallFolder + UninstallLogFileName;
        context.log.Load(context.logPath);
    } else {
        context.logPath = KV::JoinPath(context.installFolder, UninstallLogFileName);
        if (context.update) {
            context.log.Load(context.logPath);
        } else {
            context.components.push_back(std::make_unique<CMainComponent>());
            if (const KV::DataKey* desktop = settings.GetKey("cds"))
                context.components.push_back(std::make_unique<CDesctopShortcutComponent>(*desktop));
            if (const KV::DataKey* programs = settings.GetKey("cp"))
                context.components.push_back(std::make_unique<CProgramsComponent>(*programs));
            context.log.SetRootName(UninstallLogRootName);
        }
        if (context.trailer.FromOffset != 0) {
            const std::string origin = ReadOriginText(context.ownFile.Get(), context.trailer);
            KV::DataKey* reg = settings.GetKey("reg");
            KV::DataKey* product = reg ? reg->GetKey("reg") : nullptr;
            KV::DataKey* values = product ? product->GetKey("values") : nullptr;
            if (!origin.empty() && values)
                values->SetStringW("From", WidenAnsi(origin, CP_THREAD_ACP));
        }
    }
    context.log.EnsureNodes();
}

// Names of the product's places may use language macros ("#ShortDesc#" as
// a Start-menu folder), and the install may have run in another language
// than the one stored now (the player changes it): the scope takes the
// names of every loaded language. The current language and the macros are
// put back afterwards.
CUninstallScope MakeUninstallScopeOfEveryLanguage()
{
    const SetupContext& context = GetSetupContext();
    const KV::DataKey& settings = GetProductSettings();
    const std::wstring desktop = GetDesktopFolder();
    const std::wstring programs = GetProgramsFolder();
    CUninstallScope scope;
    AddProductPlaces(scope, settings, context.uninstallFolder, desktop, programs);
    const int current = GetCurrentLanguageIndex();
    if (current < 0)
        return scope;
    const MacroMap macros = GetMacros();
    for (int index = 0; index < GetLanguageCount(); ++index) {
        if (index == current)
            continue;
        SelectLanguageByIndex(index);
        AddLanguageMacros();
        AddProductPlaces(scope, settings, context.uninstallFolder, desktop, programs);
    }
    SelectLanguageByIndex(current);
    ClearMacros();
    for (const auto& macro : macros)
        SetMacro(macro.first, macro.second);
    return scope;
}

} // namespace

void LoadSetupData(const std::wstring& programPath)
{
    SetupContext& context = GetSetupContext();
    context.ownFile.Reset(::CreateFileW(programPath.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
    if (context.ownFile.IsValid() && context.archive.OpenHandle(context.ownFile.Get()))
        LoadFromArchive(context);
    else
        LoadFromProjectFolder(context);

    if (!context.recorder)
        context.recorder = LoadDataTreeFile(KV::JoinPath(context.installFolder, L"Recres.kvdt")) != nullptr;
    if (context.recorder)
        ApplyRecorderEdition();

    PrepareLogAndComponents(context);
    InitLanguage(ProductKeyAccess);
    context.installedVersion = GetProductRegValue(RegValueVersion, NoVersion);
}

void ApplyLanguageChoice()
{
    AddLanguageMacros();
    SetupContext& context = GetSetupContext();
    if (context.uninstall)
        context.uninstallScope = MakeUninstallScopeOfEveryLanguage();
}

void LoadSettingsLists()
{
    SetupContext& context = GetSetupContext();
    LoadCommonSettingsLists();
    const KV::DataKey& settings = GetProductSettings();
    if (const KV::DataKey* location = settings.GetKey("location")) {
        wchar_t folder[MAX_PATH] = L"";
        lstrcpynW(folder, GetInstallLocation(*location).c_str(), MAX_PATH);
        ::PathAppendW(folder, settings.GetStringW("deffolder", std::wstring()).c_str());
        SetInstallFolder(folder);
    }
    if (context.update) {
        const std::wstring stored = GetProductRegValue(RegValueInstallDir, std::wstring());
        if (!stored.empty())
            SetInstallFolder(stored);
    }
    context.packageVersion = settings.GetStringW("ver", std::wstring());
    SetMacro(VersionMacro, context.packageVersion);
    context.useronly = settings.GetBool("useronly", false);
}

void ExitCleanup()
{
    SetupContext& context = GetSetupContext();
    context.archive.Close();
    context.ownFile.Reset();
    KV::Skin::Free();
    FreeLanguages();
    context.components.clear();
    if (ShouldStartProgram()) {
        const std::wstring exe = GetProductSettings().GetStringW("exe", std::wstring());
        wchar_t program[MAX_PATH] = L"";
        // Not through the shell, which would read "%", "," or blanks in the
        // folder's name as its own syntax; started in its own folder.
        if (::PathCombineW(program, context.installFolder.c_str(), exe.c_str()))
            StartProgram(program, L"\"" + std::wstring(program) + L"\"", context.installFolder, SW_SHOWNORMAL);
    }
    FreeProductSettings();
}
