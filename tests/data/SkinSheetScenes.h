#pragma once
// Scenes of the skin sheet: the skin's images put together the way the
// player's windows draw them, so that joins and stretched slices can be
// reviewed (control bar, header, tab strip, list rows, message box).

#include <windows.h>

namespace SkinSheet {

// Each draws at (x, y) and returns the height it took.
// state: 0 at rest, 1 under the pointer, 2 pushed (all buttons at once).
int DrawControlBar(HDC dc, int x, int y, int width, int state, bool playing);
int DrawHeader(HDC dc, int x, int y, int width);
int DrawTabStrip(HDC dc, int x, int y, int width, int selected);
int DrawListRows(HDC dc, int x, int y);
int DrawMessageBox(HDC dc, int x, int y);
int DrawSplash(HDC dc, int x, int y);

} // namespace SkinSheet
