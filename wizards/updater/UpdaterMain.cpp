// Entry of Updater.exe and Chanfresh.exe.

#include "framework/AppModule.h"
#include "wizards/updater/CommandLine.h"
#include "wizards/updater/UpdaterRun.h"

#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

namespace {

int UpdaterMain(HINSTANCE instance, LPWSTR commandLine)
{
    const UpdaterCommandLine options = ParseUpdaterCommandLine(commandLine);

    ::CoInitialize(nullptr);
    // Progress bars, and the update page's SysLink.
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_BAR_CLASSES | ICC_LINK_CLASS};
    ::InitCommonControlsEx(&controls);
    HMODULE richEdit = ::LoadLibraryW(L"RICHED20.DLL");
    AppModule().Init(instance);

    const int code = Run(options.hidden);

    if (richEdit)
        ::FreeLibrary(richEdit);
    AppModule().Term();
    ::CoUninitialize();
    return code;
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR commandLine, int)
{
    // Nothing of ours throws; an allocation failing ends the run with a
    // failure code (and runs nothing) rather than the runtime's abort.
    try {
        return UpdaterMain(instance, commandLine);
    } catch (...) {
        return -1;
    }
}
