// skin_sheet: renders every image of the shipped skin and image pack on the
// skin's default background into one PNG for review, together with scenes
// that put the images together as the player's windows do.
//   skin_sheet OUT.png [LANGUAGE]
// Run from <build>/tests (scripts/skin-sheet does it); OUT may be a path of
// the host.
#include "foundation/DataKey.h"
#include "foundation/Lang.h"
#include "foundation/Skin.h"
#include "foundation/Utilities.h"
#include "tests/data/DataPaths.h"
#include "tests/data/PngFile.h"
#include "tests/data/SkinSheetScenes.h"
#include "tests/support/HostPath.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <set>
#include <string>
#include <vector>

namespace {

constexpr int SheetWidth = 1360;
constexpr int RoomHeight = 4000;
constexpr int Margin = 20;
constexpr int Gap = 18;

std::string Narrow(const std::wstring& text)
{
    const int length = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string narrow(static_cast<size_t>(length > 0 ? length - 1 : 0), '\0');
    if (length > 1)
        WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, &narrow[0], length, nullptr, nullptr);
    return narrow;
}

std::vector<std::string> ImageNames()
{
    std::set<std::string> names;
    for (const wchar_t* file : {L"Recres.kvdt", L"Resources.kvdt"}) {
        KV::DataKey root;
        if (!root.Load(DataPaths::ShippedPath(file)))
            continue;
        if (const KV::DataKey* images = root.GetKey("images")) {
            for (const auto& value : images->GetValues())
                names.insert(value.first);
        }
    }
    return std::vector<std::string>(names.begin(), names.end());
}

void Label(HDC dc, const std::wstring& text, int x, int y, const char* font)
{
    if (KV::Font* skinFont = KV::Skin::GetFont(font))
        SelectObject(dc, skinFont->GetHandle());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, KV::Skin::GetTextColor());
    TextOutW(dc, x, y, text.c_str(), static_cast<int>(text.size()));
}

int Title(HDC dc, const wchar_t* text, int y)
{
    Label(dc, text, Margin, y, "channelname");
    return y + 22;
}

// Small images go on the white rows of the lists too: they are shown once
// more on white.
constexpr int SmallImage = 64;

// Every image at its natural size with its name and size below it, in rows.
int DrawAllImages(HDC dc, int y, const std::vector<std::string>& names)
{
    int x = Margin;
    int rowHeight = 0;
    for (const auto& name : names) {
        const CImage* image = KV::Skin::GetImage(name);
        const std::wstring label = std::wstring(name.begin(), name.end()) +
                                   (image ? L" " + std::to_wstring(image->GetWidth()) + L"x" +
                                                std::to_wstring(image->GetHeight())
                                          : L" (missing)");
        const bool small = image && image->GetWidth() <= SmallImage;
        const int pictureWidth = image ? (small ? 2 * image->GetWidth() + 10 : image->GetWidth()) : 0;
        const int width = std::max(pictureWidth, static_cast<int>(label.size()) * 6);
        const int height = (image ? image->GetHeight() : 0) + 18;
        if (x + width > SheetWidth - Margin && x > Margin) {
            x = Margin;
            y += rowHeight + Gap;
            rowHeight = 0;
        }
        if (image)
            image->Draw(dc, x, y);
        if (small) {
            RECT tile = {x + image->GetWidth() + 6, y - 2, x + 2 * image->GetWidth() + 10, y + image->GetHeight() + 2};
            FillRect(dc, &tile, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
            image->Draw(dc, tile.left + 2, y);
        }
        Label(dc, label, x, y + height - 15, "channelinfo");
        x += width + Gap;
        rowHeight = std::max(rowHeight, height);
    }
    return y + rowHeight;
}

int DrawSheet(HDC dc)
{
    int y = Margin;
    y = Title(dc, L"Control bar at 518 and 788 px: at rest, under the pointer, pushed, playing", y);
    const int states[][2] = {{0, 0}, {1, 0}, {2, 0}, {0, 1}};
    for (const auto& state : states) {
        SkinSheet::DrawControlBar(dc, Margin, y, 518, state[0], state[1] != 0);
        y += SkinSheet::DrawControlBar(dc, Margin + 518 + Gap, y, 788, state[0], state[1] != 0) + 6;
    }
    y = Title(dc, L"Header at 790 and 1200 px", y + Gap);
    y += SkinSheet::DrawHeader(dc, Margin, y, 790) + 6;
    y += SkinSheet::DrawHeader(dc, Margin, y, SheetWidth - 2 * Margin) + Gap;
    y = Title(dc, L"Channel panel: tab strip at 250 and 200 px, list rows", y);
    SkinSheet::DrawTabStrip(dc, Margin, y, 250, 1);
    y += SkinSheet::DrawTabStrip(dc, Margin + 250 + Gap, y, 200, 0) + 4;
    const int rowsTop = y;
    y += SkinSheet::DrawListRows(dc, Margin, y) + Gap;
    // Beside the rows: message box and splash.
    SkinSheet::DrawMessageBox(dc, Margin + 250 + Gap, rowsTop);
    const int splashBottom = rowsTop + SkinSheet::DrawSplash(dc, Margin + 250 + 351 + 2 * Gap, rowsTop);
    y = std::max(y, splashBottom + Gap);
    y = Title(dc, L"Every image on the default background", y);
    return DrawAllImages(dc, y, ImageNames()) + Margin;
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc < 2 || argc > 3) {
        std::fputs("usage: skin_sheet OUT.png [LANGUAGE]\n", stderr);
        return 2;
    }
    const std::wstring language = argc == 3 ? argv[2] : L"en";
    KV::Lang::SetWantedLanguageSource([language] { return language; });
    KV::Lang::Load(DataPaths::Shipped(L"Languages.lngp"));
    KV::DataKey pack;
    if (pack.Load(DataPaths::ShippedPath(L"Recres.kvdt")))
        KV::Skin::LoadImages(pack.GetKey("images"));
    KV::Skin::Load(DataPaths::Shipped(L"Resources.kvdt"));
    if (ImageNames().empty()) {
        std::fputs("skin_sheet: the shipped skin files cannot be read\n", stderr);
        return 1;
    }

    CImage room;
    if (!room.Create(SheetWidth, RoomHeight, 24))
        return 1;
    int height = 0;
    {
        CImageDC dc(room);
        RECT all = {0, 0, SheetWidth, RoomHeight};
        FillRect(dc, &all, KV::Skin::GetBkBrush());
        height = std::min(DrawSheet(dc), RoomHeight);
    }
    CImage sheet;
    if (!sheet.Create(SheetWidth, height, 24))
        return 1;
    {
        CImageDC target(sheet);
        CImageDC source(room);
        BitBlt(target, 0, 0, SheetWidth, height, source, 0, 0, SRCCOPY);
    }
    const std::wstring out = WindowsPathOfHostPath(argv[1]);
    if (!SavePng(sheet, out)) {
        std::fprintf(stderr, "skin_sheet: cannot write %s\n", Narrow(out).c_str());
        return 1;
    }
    KV::Skin::Free();
    KV::Lang::Free();
    return 0;
}
