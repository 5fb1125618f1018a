#pragma once
// The player's outer frame: one copy at a time, the updates the updaters
// left waiting in the product key, and the run of the user interface
// (settings, language pack, skin, splash, main window, message loop).

#include <string>

// Running processes whose executable file name equals this program's, this
// copy included (exact, case-sensitive); 0 when the processes cannot be
// listed.
int GetInstanceCount();

// Moves a downloaded catalogue ("CUpdate") over Channels.brsc and starts a
// downloaded setup ("Update") with "update". Either must lie in the program's
// Updates folder; the catalogue must read as one, and the setup must be a
// setup package of the version in "UpdateVersion". True when a setup was
// started and the player must end.
bool ApplyPendingUpdates();

// Whether a second copy may start anyway: the whole command line is "run".
bool IsRunCommandLine(const wchar_t* commandLine);

// Shows the refusal of a second copy ("Program already running!").
void ShowAlreadyRunning();

// Winsock, settings, autostart entry, language pack, skin, splash, main
// window and message loop. The loop's exit code; -1 when Winsock does not
// start, 0 when the main window cannot be created.
int Run(const wchar_t* commandLine, int showCommand);
