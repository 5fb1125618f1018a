// Setupkit: the setup package, the installed uninstaller and its temporary
// uninstall copy, told apart by the file's trailer.

#include "wizards/setup/SetupMain.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR commandLine, int show)
{
    // Nothing of ours throws; an allocation failing ends the run with a
    // failure code rather than the runtime's abort.
    try {
        return SetupMain(instance, commandLine, show);
    } catch (...) {
        return -1;
    }
}
