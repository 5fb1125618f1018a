// Setupkit: the setup package, the installed uninstaller and its temporary
// uninstall copy, told apart by the file's trailer.

#include "wizards/setup/SetupMain.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR commandLine, int show)
{
    return SetupMain(instance, commandLine, show);
}
