#pragma once
// What the player's owner-drawn lists (the channel lists and the records
// list) share: the skin's fonts and grid line, the rows' background, their
// images and texts, and the item a right click opens the menu for.

#include <windows.h>

#include <string>

class CImage;

namespace KV {
class Font;
}

// The colour of the rows' texts.
constexpr COLORREF ListRowTextColor = 0x3C3C3C;

// The skin's look every list row has.
struct ListRowSkin {
    KV::Font* nameFont = nullptr;
    KV::Font* infoFont = nullptr;
    const CImage* gridLine = nullptr;

    void Load();
};

// Skins may lack an image: nothing is drawn then.
void DrawRowImage(HDC dc, const CImage* image, int x, int y);
// One line of text in the font (the DC's own when null).
void DrawRowText(HDC dc, const KV::Font* font, const std::wstring& text, RECT rect, UINT format);
// White, or a grey band for the selected item, with the grid line along the
// bottom; then transparent text in the rows' colour. False for the focus of
// an empty list (no item), whose place is only cleared.
bool PaintRowBackground(const DRAWITEMSTRUCT& item, const CImage* gridLine, int gridLineX);

// A right click on the list at a client point: selects the item there and
// gives its index and the point on the screen; false when the point lies
// below the last item.
bool SelectClickedItem(HWND list, POINT client, int& index, POINT& screen);
