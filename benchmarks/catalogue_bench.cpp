// Loading a large synthetic channel catalogue with its settings join,
// against the bare data-tree load of the same file in the same run.
//   catalogue_bench [--channels N] [--countries M] [--runs R]
// The settings, a language pack and a skin of matching size are loaded
// first, as at the player's start. Prints the times and their ratio against
// its limit, and the process's peak private bytes; fails only when the
// catalogue does not hold what was generated.

#include "BenchReport.h"

#include "foundation/DataKey.h"
#include "foundation/Lang.h"
#include "foundation/MemoryStream.h"
#include "foundation/Skin.h"
#include "foundation/Utilities.h"
#include "player/app/Settings.h"
#include "player/catalogue/ChannelList.h"
#include "player/playback/UrlGrabber.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <memory>
#include <string>

namespace {

const wchar_t kSettingsName[] = L"catalogue_bench.cfg";

struct Options {
    unsigned channels = 100000;
    unsigned countries = 200;
    unsigned runs = 3;
    // The child run: loads the written files once and reports its peak.
    bool loadOnce = false;
};

bool ParseOptions(int argc, wchar_t** argv, Options& options)
{
    for (int i = 1; i < argc; ++i) {
        if (wcscmp(argv[i], L"--load-once") == 0) {
            options.loadOnce = true;
            continue;
        }
        if (i + 1 >= argc)
            return false;
        const unsigned value = static_cast<unsigned>(wcstoul(argv[++i], nullptr, 10));
        if (wcscmp(argv[i - 1], L"--channels") == 0)
            options.channels = value;
        else if (wcscmp(argv[i - 1], L"--countries") == 0)
            options.countries = value;
        else if (wcscmp(argv[i - 1], L"--runs") == 0)
            options.runs = value;
        else
            return false;
    }
    return options.countries > 0 && options.runs > 0;
}

// The peak private bytes of a process that does nothing but what the
// player does at its start: settings, language pack, skin, catalogue.
int LoadOnce(const std::wstring& cataloguePath, const std::wstring& packPath, const std::wstring& skinPath)
{
    CSettings::Load(kSettingsName);
    KV::Lang::Load(packPath);
    KV::Skin::Load(skinPath);
    const double before = Bench::PrivateMegabytes();
    const auto list = std::make_unique<CChannelList>(cataloguePath);
    std::printf("a process that loads the catalogue once: peak private bytes %.1f MB, %.1f MB of them for the "
                "catalogue (%u countries)\n",
                Bench::PeakPrivateMegabytes(), Bench::PrivateMegabytes() - before,
                static_cast<unsigned>(list->GetCountries().size()));
    std::fflush(stdout);
    return 0;
}

// Runs this program again with --load-once, its output into ours.
void RunLoadOnce(const Options& options)
{
    wchar_t program[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, program, MAX_PATH);
    std::wstring commandLine = L"\"" + std::wstring(program) + L"\" --channels " + std::to_wstring(options.channels) +
                               L" --countries " + std::to_wstring(options.countries) + L" --load-once";
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION process{};
    std::fflush(stdout);
    if (!CreateProcessW(program, &commandLine[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &process)) {
        std::printf("the load-once run could not be started\n");
        return;
    }
    WaitForSingleObject(process.hProcess, INFINITE);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
}

std::string Numbered(const char* prefix, unsigned number)
{
    char text[32];
    std::snprintf(text, sizeof(text), "%s%05u", prefix, number);
    return text;
}

// Channels spread evenly over the countries, two streams each, a mix of
// categories, icons, recorders and radio flags as the shipped files have.
void MakeCatalogue(const Options& options, KV::DataKey& root, KV::DataKey& settings)
{
    static const char* const codes[] = {"l", "mu", "n", "r", "sp", "e", "mo", "k", "ad"};
    root.SetName("channels");
    root.SetStringW("web", L"http://tv.example/live/%s");
    settings.SetName("set");
    KV::DataKey* saved = settings.GetKey("channels", true);
    for (unsigned i = 0; i < options.channels; ++i) {
        const std::string countryKey = Numbered("c", i % options.countries);
        const std::string channelKey = Numbered("ch", i);
        KV::DataKey* channel = root.GetKey(countryKey, true)->GetKey(channelKey, true);
        channel->SetStringW("n", L"Channel " + std::to_wstring(i));
        channel->SetStringA("c", codes[i % 9]);
        channel->SetStringA("p", i % 3 ? "m" : "e");
        if (i % 4 == 0)
            channel->SetStringA("R", "mms");
        if (i % 5 == 0)
            channel->SetStringA("iid", "icon" + std::to_string(i % 50));
        channel->SetBool("r", i % 7 == 0);
        for (int s = 0; s < 2; ++s) {
            KV::DataKey* stream = channel->GetKey(std::to_string(s), true);
            stream->SetInt("b", 300 + 400 * s);
            stream->SetStringW("u", L"mms://stream.example/" + std::to_wstring(i) + L"/" + std::to_wstring(s));
        }
    }
    // The player saves the choices country by country and channel by
    // channel in key order, as its catalogue holds them.
    for (unsigned country = 0; country < options.countries; ++country) {
        for (unsigned i = country; i < options.channels; i += options.countries) {
            KV::DataKey* state = saved->GetKey(Numbered("c", country) + "_" + Numbered("ch", i), true);
            state->SetInt("cu", static_cast<int32_t>(i % 3));
            state->SetBool("f", i % 10 == 0);
        }
    }
    settings.GetKey("options", true)->SetStringW("cur_channel", L"c00000_ch00000");
}

// A 1x1 PNG: every icon and flag of the skin.
const uint8_t kPixelPng[] = {
    0x89, 0x50, 0x4e, 0x47, 0x0d, 0x0a, 0x1a, 0x0a, 0x00, 0x00, 0x00, 0x0d, 0x49, 0x48, 0x44, 0x52,
    0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00, 0x01, 0x08, 0x02, 0x00, 0x00, 0x00, 0x90, 0x77, 0x53,
    0xde, 0x00, 0x00, 0x00, 0x0c, 0x49, 0x44, 0x41, 0x54, 0x78, 0x9c, 0x63, 0x10, 0x50, 0x30, 0x00,
    0x00, 0x00, 0xa4, 0x00, 0x61, 0x34, 0x66, 0x7d, 0x72, 0x00, 0x00, 0x00, 0x00, 0x49, 0x45, 0x4e,
    0x44, 0xae, 0x42, 0x60, 0x82};

// The texts a shipped language pack has: countries, categories, the
// kilobit unit, and own names for a quarter of the channels.
void MakeLanguagePack(const Options& options, KV::DataKey& pack)
{
    static const char* const codes[] = {"l", "mu", "n", "r", "sp", "e", "mo", "k", "ad"};
    pack.SetName(KV::Lang::PackRootName);
    KV::DataKey* language = pack.GetKey("lang_0", true);
    language->SetStringW("language", L"English");
    language->SetStringW("ext", L"en");
    language->GetKey("str_kb", true)->SetStringW("text", L" kb");
    for (const char* code : codes)
        language->GetKey(std::string("cat_") + code, true)->SetStringW("text", L"Category");
    for (unsigned c = 0; c < options.countries; ++c)
        language->GetKey("c_" + Numbered("c", c), true)->SetStringW("text", L"Country " + std::to_wstring(c));
    for (unsigned i = 0; i < options.channels; i += 4) {
        const std::string id = Numbered("c", i % options.countries) + "_" + Numbered("ch", i);
        language->GetKey("c_" + id, true)->SetStringW("text", L"Own name " + std::to_wstring(i));
    }
}

// Flags for every country and the 50 icons the channels name.
void MakeSkin(const Options& options, KV::DataKey& skin)
{
    KV::MemoryStream png;
    png.Write(kPixelPng, sizeof(kPixelPng));
    skin.SetName("Root");
    KV::DataKey* images = skin.GetKey("images", true);
    for (unsigned c = 0; c < options.countries; ++c)
        images->SetBuffer("f_" + Numbered("c", c), png);
    for (unsigned i = 0; i < 50; ++i)
        images->SetBuffer("icon" + std::to_string(i), png);
}

template <typename Work>
void Time(Bench::Samples& samples, Work&& work)
{
    const double start = Bench::NowMs();
    work();
    samples.Add(Bench::NowMs() - start);
}

size_t CountChannels(const CChannelList& list)
{
    size_t count = 0;
    for (const auto& country : list.GetCountries())
        count += country.second->GetChannels().size();
    return count;
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    Options options;
    if (!ParseOptions(argc, argv, options)) {
        std::fprintf(stderr, "usage: catalogue_bench [--channels N] [--countries M] [--runs R] [--load-once]\n");
        return 2;
    }

    wchar_t tempFolder[MAX_PATH];
    GetTempPathW(MAX_PATH, tempFolder);
    const std::wstring cataloguePath = KV::JoinPath(tempFolder, L"brisvane_catalogue_bench.brsc");
    const std::wstring packPath = KV::JoinPath(tempFolder, L"brisvane_catalogue_bench.lngp");
    const std::wstring skinPath = KV::JoinPath(tempFolder, L"brisvane_catalogue_bench.kvdt");

    if (options.loadOnce)
        return LoadOnce(cataloguePath, packPath, skinPath);

    // The settings store reads its file from the settings folder, as the
    // player does.
    CSettings::Load(kSettingsName);
    const std::wstring settingsPath = CSettings::GetFilePath();
    {
        KV::DataKey root;
        KV::DataKey settings;
        KV::DataKey pack;
        KV::DataKey skin;
        MakeCatalogue(options, root, settings);
        MakeLanguagePack(options, pack);
        MakeSkin(options, skin);
        if (!root.Save(cataloguePath) || settingsPath.empty() || !settings.Save(settingsPath) ||
            !pack.Save(packPath) || !skin.Save(skinPath)) {
            std::fprintf(stderr, "cannot write the benchmark files\n");
            return 1;
        }
    }
    RunLoadOnce(options);
    // Absolute names are taken as they are by the program-folder lookups.
    CSettings::Load(kSettingsName);
    KV::Lang::Load(packPath);
    KV::Skin::Load(skinPath);

    Bench::Samples tree, catalogue, release;
    bool complete = true;
    for (unsigned run = 0; run < options.runs; ++run) {
        Time(tree, [&] {
            KV::DataKey document;
            complete = document.Load(cataloguePath) && complete;
        });
        CChannelList* list = nullptr;
        Time(catalogue, [&] { list = new CChannelList(cataloguePath); });
        const CChannel* first = list->GetCurrentChannel();
        complete = complete && CountChannels(*list) == options.channels &&
                   list->GetCountries().size() == std::min(options.countries, options.channels) && first &&
                   first->GetName() == L"Own name 0" && first->GetIcon() && first->GetCountry().GetFlag() &&
                   first->GetCurrentSourceIndex() == 0 && first->IsFavourite();
        Time(release, [&] { delete list; });
        CUrlGrabber::DeleteAll();
    }

    KV::Skin::Free();
    KV::Lang::Free();
    for (const std::wstring* path : {&cataloguePath, &packPath, &skinPath, &settingsPath})
        DeleteFileW(path->c_str());

    std::printf("catalogue: %u channels in %u countries, %u runs\n", options.channels, options.countries,
                options.runs);
    Bench::PrintTime("bare data-tree load (with its free)", tree);
    Bench::PrintTime("catalogue load with the settings join", catalogue);
    Bench::PrintRatio("catalogue load / bare tree load", catalogue, tree, 1.5);
    Bench::PrintTime("catalogue delete", release);
    std::printf("peak private bytes of the process: %.1f MB\n", Bench::PeakPrivateMegabytes());
    if (!complete) {
        std::fprintf(stderr, "the catalogue does not hold the generated channels\n");
        return 1;
    }
    return 0;
}
