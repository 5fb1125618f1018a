// The player's entry point.
#include "framework/AppModule.h"
#include "framework/AxHost.h"
#include "player/app/StartUp.h"

#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

namespace {

int PlayerMain(HINSTANCE instance, LPWSTR commandLine, int showCommand)
{
    // A copy that just started us (a setup in update mode, a restart) may
    // still be on its way out.
    ::Sleep(200);

    const int instances = GetInstanceCount();
    if (instances == 1) {
        if (ApplyPendingUpdates())
            return 0;
    } else if (!IsRunCommandLine(commandLine)) {
        ShowAlreadyRunning();
        return 0;
    }

    ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    // The rich edit control of the dialogs; kept until the process ends.
    ::LoadLibraryW(L"RICHED20.DLL");
    ::DefWindowProcW(nullptr, WM_NULL, 0, 0);

    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_BAR_CLASSES};
    ::InitCommonControlsEx(&controls);

    AppModule().Init(instance);
    AxWinInit();

    const int result = Run(commandLine, showCommand);

    AppModule().Term();
    ::CoUninitialize();
    return result;
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR commandLine, int showCommand)
{
    // Nothing of ours throws, and the loaders refuse a file they have no
    // memory for; an allocation failing anywhere else ends the run with a
    // failure code rather than the runtime's abort.
    try {
        return PlayerMain(instance, commandLine, showCommand);
    } catch (...) {
        return -1;
    }
}
