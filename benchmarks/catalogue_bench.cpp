// Loading a large synthetic channel catalogue with its settings join,
// against the bare data-tree load of the same file in the same run.
//   catalogue_bench [--channels N] [--countries M] [--runs R]
// The settings, a language pack and a skin of matching size are loaded
// first, as at the player's start. Prints the times and their ratio; fails
// only when the catalogue does not hold what was generated.

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
#include <string>

namespace {

const wchar_t kSettingsName[] = L"catalogue_bench.cfg";

struct Options {
    unsigned channels = 100000;
    unsigned countries = 200;
    unsigned runs = 3;
};

bool ParseOptions(int argc, wchar_t** argv, Options& options)
{
    for (int i = 1; i + 1 < argc; i += 2) {
        const unsigned value = static_cast<unsigned>(wcstoul(argv[i + 1], nullptr, 10));
        if (wcscmp(argv[i], L"--channels") == 0)
            options.channels = value;
        else if (wcscmp(argv[i], L"--countries") == 0)
            options.countries = value;
        else if (wcscmp(argv[i], L"--runs") == 0)
            options.runs = value;
        else
            return false;
    }
    return (argc % 2) == 1 && options.countries > 0 && options.runs > 0;
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
        KV::DataKey* state = saved->GetKey(countryKey + "_" + channelKey, true);
        state->SetInt("cu", static_cast<int32_t>(i % 3));
        state->SetBool("f", i % 10 == 0);
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

double Seconds(const LARGE_INTEGER& start, const LARGE_INTEGER& end)
{
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(end.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart);
}

template <typename Work>
double Time(Work&& work)
{
    LARGE_INTEGER start, end;
    QueryPerformanceCounter(&start);
    work();
    QueryPerformanceCounter(&end);
    return Seconds(start, end);
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
        std::fprintf(stderr, "usage: catalogue_bench [--channels N] [--countries M] [--runs R]\n");
        return 2;
    }

    wchar_t tempFolder[MAX_PATH];
    GetTempPathW(MAX_PATH, tempFolder);
    const std::wstring cataloguePath = KV::JoinPath(tempFolder, L"brisvane_catalogue_bench.brsc");
    const std::wstring packPath = KV::JoinPath(tempFolder, L"brisvane_catalogue_bench.lngp");
    const std::wstring skinPath = KV::JoinPath(tempFolder, L"brisvane_catalogue_bench.kvdt");

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
    // Absolute names are taken as they are by the program-folder lookups.
    CSettings::Load(kSettingsName);
    KV::Lang::Load(packPath);
    KV::Skin::Load(skinPath);

    double bestTree = 1e9, bestCatalogue = 1e9, bestFree = 1e9;
    bool complete = true;
    for (unsigned run = 0; run < options.runs; ++run) {
        bestTree = std::min(bestTree, Time([&] {
            KV::DataKey tree;
            complete = tree.Load(cataloguePath) && complete;
        }));
        CChannelList* list = nullptr;
        bestCatalogue = std::min(bestCatalogue, Time([&] { list = new CChannelList(cataloguePath); }));
        const CChannel* first = list->GetCurrentChannel();
        complete = complete && CountChannels(*list) == options.channels &&
                   list->GetCountries().size() == std::min(options.countries, options.channels) && first &&
                   first->GetName() == L"Own name 0" && first->GetIcon() && first->GetCountry().GetFlag() &&
                   first->GetCurrentSourceIndex() == 0 && first->IsFavourite();
        bestFree = std::min(bestFree, Time([&] { delete list; }));
        CUrlGrabber::DeleteAll();
    }

    KV::Skin::Free();
    KV::Lang::Free();
    for (const std::wstring* path : {&cataloguePath, &packPath, &skinPath, &settingsPath})
        DeleteFileW(path->c_str());

    std::printf("catalogue: %u channels in %u countries, best of %u runs\n", options.channels, options.countries,
                options.runs);
    std::printf("bare data-tree load:      %8.1f ms\n", bestTree * 1000);
    std::printf("catalogue load with join: %8.1f ms\n", bestCatalogue * 1000);
    std::printf("ratio catalogue / tree:   %8.2f\n", bestCatalogue / bestTree);
    std::printf("catalogue delete:         %8.1f ms\n", bestFree * 1000);
    if (!complete) {
        std::fprintf(stderr, "the catalogue does not hold the generated channels\n");
        return 1;
    }
    return 0;
}
