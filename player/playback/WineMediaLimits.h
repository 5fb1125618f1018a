#pragma once
// Wine's Media Player control opens local files only: it takes an address
// for a file name, fails to open it without saying so, and then crashes
// inside its own play(). The back-end asks here before it plays.

#include <string>
#include <unknwn.h>

// True when this control is Wine's own Media Player (its code lives in
// Wine's wmp.dll); false on Windows and for any other implementation.
bool IsWineMediaPlayer(IUnknown* control);

// Whether Wine's control can open this address: an existing local file.
bool WineMediaPlayerCanOpen(const std::wstring& url);
