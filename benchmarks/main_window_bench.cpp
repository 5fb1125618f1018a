// The player's main window with a large catalogue: how long the real
// program takes from its process start to its main window on the screen,
// and how long one keystroke in the search field takes to refilter the
// channel list (each keystroke of a word typed and taken back three times).
//   main_window_bench [--channels N] [--countries M] [--skip-program]
// The program run uses a copy of Brisvane.exe and the shipped data in a
// folder of its own (<build>/tests/bench_program) and the user's settings file,
// which it keeps and puts back; the program is started --starts times (best
// and median). Prints the times against their limits; fails only when a
// window does not come up. Run it under an X display (xvfb-run) with no other
// Wine process of the prefix running without one: Wine's desktop process
// belongs to whichever process of the session came first, and a desktop
// without a display shows no window (the program then ends without one).

#include "BenchReport.h"

#include "foundation/CatalogueScramble.h"
#include "foundation/DataKey.h"
#include "foundation/Lang.h"
#include "foundation/Skin.h"
#include "foundation/Utilities.h"
#include "framework/AppModule.h"
#include "framework/AxHost.h"
#include "framework/MessageLoop.h"
#include "player/app/MainDlg.h"
#include "player/app/Settings.h"
#include "player/catalogue/ChannelList.h"
#include "player/playback/PlayerCtrl.h"
#include "player/playback/UrlGrabber.h"
#include "player/ui/ChannelFilter.h"

#include <windows.h>
#include <commctrl.h>
#include <objidl.h>
#include <gdiplus.h>
#include <shlobj.h>

#include <cstdio>
#include <cwchar>
#include <memory>
#include <string>
#include <vector>

namespace {

struct Options {
    unsigned channels = 100000;
    unsigned countries = 200;
    unsigned starts = 3;
    bool program = true;
};

bool ParseOptions(int argc, wchar_t** argv, Options& options)
{
    for (int i = 1; i < argc; ++i) {
        if (wcscmp(argv[i], L"--skip-program") == 0) {
            options.program = false;
        } else if (i + 1 < argc && wcscmp(argv[i], L"--channels") == 0) {
            options.channels = static_cast<unsigned>(wcstoul(argv[++i], nullptr, 10));
        } else if (i + 1 < argc && wcscmp(argv[i], L"--countries") == 0) {
            options.countries = static_cast<unsigned>(wcstoul(argv[++i], nullptr, 10));
        } else if (i + 1 < argc && wcscmp(argv[i], L"--starts") == 0) {
            options.starts = static_cast<unsigned>(wcstoul(argv[++i], nullptr, 10));
        } else {
            return false;
        }
    }
    return options.countries > 0 && options.starts > 0;
}

double Now()
{
    return Bench::NowMs();
}

// Names of two words from a small syllable set and a number, so that a
// first letter keeps a part of the catalogue and a second one less.
std::wstring ChannelName(unsigned i)
{
    static const wchar_t* const words[] = {L"Alpha", L"Bravo", L"Delta", L"Echo",   L"Kilo", L"Lima",
                                           L"Nova",  L"Oscar", L"Radio", L"Sierra", L"Tango", L"Vega"};
    const unsigned count = sizeof(words) / sizeof(words[0]);
    return std::wstring(words[i % count]) + L" " + words[(i / count) % count] + L" " + std::to_wstring(i);
}

void MakeCatalogue(const Options& options, KV::DataKey& root)
{
    static const char* const codes[] = {"l", "mu", "n", "r", "sp", "e", "mo", "k", "ad"};
    root.SetName("channels");
    for (unsigned i = 0; i < options.channels; ++i) {
        char country[16];
        char key[16];
        std::snprintf(country, sizeof(country), "c%03u", i % options.countries);
        std::snprintf(key, sizeof(key), "b%06u", i);
        KV::DataKey* channel = root.GetKey(country, true)->GetKey(key, true);
        channel->SetStringW("n", ChannelName(i));
        channel->SetStringA("c", codes[i % 9]);
        channel->SetStringA("p", "m");
        channel->SetBool("r", i % 3 == 0);
        if (i % 4 == 0)
            channel->SetStringA("R", "mp3");
        for (int s = 0; s < 2; ++s) {
            KV::DataKey* stream = channel->GetKey(std::to_string(s), true);
            stream->SetInt("b", 128 + 128 * s);
            stream->SetStringW("u", L"http://127.0.0.1:9/" + std::to_wstring(i));
        }
    }
}

std::wstring SettingsFile()
{
    wchar_t folder[MAX_PATH] = {};
    ::SHGetFolderPathW(nullptr, CSIDL_APPDATA | CSIDL_FLAG_CREATE, nullptr, 0, folder);
    return std::wstring(folder) + L"\\Kestrivo\\Brisvane\\Settings.cfg";
}

// On a fresh prefix the settings folder does not exist yet: it is made
// first, or the program would start with its default settings (and their
// update runs) instead of these.
bool WriteQuietSettings(const std::wstring& path)
{
    const std::wstring folder = path.substr(0, path.find_last_of(L'\\'));
    ::SHCreateDirectoryExW(nullptr, folder.c_str(), nullptr);
    KV::DataKey settings("set");
    KV::DataKey* options = settings.AddKey("options");
    options->SetBool("automatic_update", false);
    options->SetBool("automatic_cupdate", false);
    options->SetBool("autostart", false);
    return settings.Save(path);
}

struct MainWindowSearch {
    DWORD processId;
    HWND found;
};

BOOL CALLBACK FindVisibleMainWindow(HWND window, LPARAM param)
{
    auto& search = *reinterpret_cast<MainWindowSearch*>(param);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(window, &owner);
    if (owner == search.processId && ::IsWindowVisible(window) &&
        (::GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_APPWINDOW) != 0) {
        search.found = window;
        return FALSE;
    }
    return TRUE;
}

HWND FindMainWindow(DWORD processId)
{
    MainWindowSearch search{processId, nullptr};
    ::EnumWindows(&FindVisibleMainWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// Starts the program over the catalogue; the milliseconds to its main
// window, or a negative number when it does not come up.
double TimeProgramStart(const KV::DataKey& catalogue)
{
    const std::wstring folder = KV::GetProgramFile(L"..\\tests\\bench_program");
    ::CreateDirectoryW(folder.c_str(), nullptr);
    for (const wchar_t* file : {L"Brisvane.exe", L"Languages.lngp", L"Resources.kvdt", L"Recres.kvdt"})
        ::CopyFileW(KV::GetProgramFile(std::wstring(L"..\\bin\\") + file).c_str(), (folder + L"\\" + file).c_str(),
                    FALSE);
    // Scrambled, as the catalogue ships: reading it takes the unscrambling too.
    SaveScrambledCatalogue(catalogue, folder + L"\\Channels.brsc");
    const std::wstring settings = SettingsFile();
    const bool kept = ::CopyFileW(settings.c_str(), (settings + L".bench").c_str(), FALSE) != FALSE;
    if (!WriteQuietSettings(settings)) {
        std::printf("the settings file %ls could not be written\n", settings.c_str());
        return -1;
    }

    std::wstring program = folder + L"\\Brisvane.exe";
    std::wstring commandLine = L"\"" + program + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    double elapsed = -1;
    const double start = Now();
    if (::CreateProcessW(program.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(),
                         &startup, &process)) {
        HWND main = nullptr;
        while ((main = FindMainWindow(process.dwProcessId)) == nullptr && Now() - start < 60000 &&
               ::WaitForSingleObject(process.hProcess, 0) == WAIT_TIMEOUT)
            ::Sleep(2);
        if (main != nullptr) {
            elapsed = Now() - start;
            ::PostMessageW(main, WM_COMMAND, ID_APP_EXIT, 0);
        } else {
            DWORD code = 0;
            if (::WaitForSingleObject(process.hProcess, 0) == WAIT_OBJECT_0 &&
                ::GetExitCodeProcess(process.hProcess, &code))
                std::printf("the program ended after %.0f ms with exit code 0x%08lX before its window showed "
                            "(is a Wine process of this prefix running without a display?)\n",
                            Now() - start, static_cast<unsigned long>(code));
            else
                std::printf("no main window after %.0f ms\n", Now() - start);
        }
        if (::WaitForSingleObject(process.hProcess, 30000) != WAIT_OBJECT_0)
            ::TerminateProcess(process.hProcess, 1);
        ::CloseHandle(process.hThread);
        ::CloseHandle(process.hProcess);
    }
    if (kept)
        ::MoveFileExW((settings + L".bench").c_str(), settings.c_str(), MOVEFILE_REPLACE_EXISTING);
    else
        ::DeleteFileW(settings.c_str());
    return elapsed;
}

// Stands in for the live back-ends, which the refilter does not touch.
class CQuietPlayer : public CPlayerCtrl {
public:
    explicit CQuietPlayer(const std::string& name) : CPlayerCtrl(name) {}
    void Play(const std::wstring&, const std::wstring&) override {}
    void Stop() override {}
};

void Pump(CMessageLoop& loop)
{
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT || loop.PreTranslateMessage(&msg))
            continue;
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}

// Times the search field's keystrokes in a main window of this process.
bool TimeKeystrokes(const KV::DataKey& catalogue)
{
    CMessageLoop loop;
    AppModule().AddMessageLoop(&loop);
    CSettings::Load(L"main_window_bench.cfg");
    CSettings::SetBool("automatic_update", false);
    CSettings::SetBool("automatic_cupdate", false);
    KV::Lang::Load(L"..\\bin\\Languages.lngp");
    KV::Skin::Load(L"..\\bin\\Resources.kvdt");
    catalogue.Save(KV::GetProgramFile(L"..\\tests\\main_window_bench.brsc"));
    CMainDlg::SetCatalogueFile(L"..\\tests\\main_window_bench.brsc");
    std::vector<std::unique_ptr<CQuietPlayer>> players;
    CMainDlg::SetBackEndMaker([&](HWND, const RECT&) {
        players.push_back(std::make_unique<CQuietPlayer>("m"));
        players.push_back(std::make_unique<CQuietPlayer>("e"));
    });

    {
        // The two largest parts of the window's set-up, on their own.
        const double loading = Now();
        auto list = std::make_unique<CChannelList>(L"..\\tests\\main_window_bench.brsc");
        const double loaded = Now();
        const std::vector<ChannelEntry> entries = MakeSortedEntries(*list);
        std::printf("of which: catalogue load %.0f ms, list order of %u channels %.0f ms\n", loaded - loading,
                    static_cast<unsigned>(entries.size()), Now() - loaded);
        list.reset();
        CUrlGrabber::DeleteAll();
    }

    const double created = Now();
    auto main = std::make_unique<CMainDlg>();
    if (main->Create(nullptr) == nullptr)
        return false;
    main->ShowWindow(SW_SHOW);
    Pump(loop);
    std::printf("main window created in this process: %.0f ms\n", Now() - created);

    HWND search = main->GetChannels().GetDlgItem(IDC_SEARCH);
    CListBox list(main->GetChannels().GetChannelList());
    ::SetFocus(search);
    struct Step {
        const wchar_t* what;
        wchar_t key;
    };
    const Step steps[] = {{L"first letter \"k\"", L'k'}, {L"second letter \"i\"", L'i'},
                          {L"third letter \"l\"", L'l'}, {L"back to \"ki\"", VK_BACK},
                          {L"back to \"k\"", VK_BACK},   {L"back to empty (all)", VK_BACK}};
    // The word is typed and taken back three times over: one keystroke is
    // too short a time to judge from a single try on a shared machine.
    constexpr unsigned Tries = 3;
    Bench::Samples times[sizeof(steps) / sizeof(steps[0])];
    int listed[sizeof(steps) / sizeof(steps[0])] = {};
    for (unsigned attempt = 0; attempt < Tries; ++attempt) {
        for (size_t i = 0; i < sizeof(steps) / sizeof(steps[0]); ++i) {
            const double before = Now();
            ::SendMessageW(search, WM_CHAR, steps[i].key, 1);
            times[i].Add(Now() - before);
            Pump(loop);
            listed[i] = list.GetCount();
        }
    }
    for (size_t i = 0; i < sizeof(steps) / sizeof(steps[0]); ++i) {
        std::printf("keystroke, %ls: best %.1f ms, median %.1f ms of %u (limit 15 ms: %s), %d channels listed\n",
                    steps[i].what, times[i].Best(), times[i].Median(), Tries,
                    Bench::Verdict(times[i].Median(), 15), listed[i]);
    }
    main->DestroyWindow();
    Pump(loop);
    main.reset();
    players.clear();
    ::DeleteFileW(KV::GetProgramFile(L"..\\tests\\main_window_bench.brsc").c_str());
    ::DeleteFileW(CSettings::GetFilePath().c_str());
    KV::Skin::Free();
    KV::Lang::Free();
    AppModule().RemoveMessageLoop();
    return true;
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    Options options;
    if (!ParseOptions(argc, argv, options)) {
        std::fprintf(stderr, "usage: main_window_bench [--channels N] [--countries M] [--skip-program]\n");
        return 2;
    }
    KV::DataKey catalogue;
    MakeCatalogue(options, catalogue);
    std::printf("catalogue: %u channels in %u countries\n", options.channels, options.countries);

    if (options.program) {
        Bench::Samples starts;
        for (unsigned run = 0; run < options.starts; ++run) {
            const double shown = TimeProgramStart(catalogue);
            if (shown < 0) {
                std::printf("the program's main window did not come up\n");
                return 1;
            }
            starts.Add(shown);
        }
        std::printf("program starts: %u; each waits the required 200 ms first\n", options.starts);
        Bench::PrintTimeLimit("process start to main window shown", starts, 800);
    }

    INITCOMMONCONTROLSEX init{sizeof(init), ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES | ICC_BAR_CLASSES};
    ::InitCommonControlsEx(&init);
    ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    ULONG_PTR gdiplus = 0;
    Gdiplus::GdiplusStartupInput input;
    Gdiplus::GdiplusStartup(&gdiplus, &input, nullptr);
    AppModule().Init(::GetModuleHandleW(nullptr));
    AxWinInit();
    const bool timed = TimeKeystrokes(catalogue);
    AppModule().Term();
    Gdiplus::GdiplusShutdown(gdiplus);
    ::CoUninitialize();
    if (!timed) {
        std::printf("the main window could not be created\n");
        return 1;
    }
    return 0;
}
