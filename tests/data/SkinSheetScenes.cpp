#include "tests/data/SkinSheetScenes.h"

#include "foundation/Lang.h"
#include "foundation/Skin.h"

#include <string>

namespace SkinSheet {

namespace {

CImage* Image(const std::string& name)
{
    return KV::Skin::GetImage(name);
}

// With the image's alpha, the source rectangle onto the destination one;
// nothing for a missing image or an empty destination.
void Slice(HDC dc, const CImage* image, int dx, int dy, int dw, int dh, int sx, int sy, int sw, int sh)
{
    if (image && dw > 0 && dh > 0)
        image->Draw(dc, dx, dy, dw, dh, sx, sy, sw, sh);
}

void At(HDC dc, const CImage* image, int x, int y)
{
    if (image)
        image->Draw(dc, x, y);
}

// As a 24-bit image list draws it: the colours alone, alpha ignored.
void Opaque(HDC dc, const CImage* image, int x, int y)
{
    if (!image)
        return;
    CImageDC source(*image);
    BitBlt(dc, x, y, image->GetWidth(), image->GetHeight(), source, 0, 0, SRCCOPY);
}

void Text(HDC dc, const std::wstring& text, RECT rect, const char* font, COLORREF color, UINT flags)
{
    HGDIOBJ previous = nullptr;
    if (KV::Font* skinFont = KV::Skin::GetFont(font))
        previous = SelectObject(dc, skinFont->GetHandle());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, color);
    DrawTextW(dc, text.c_str(), -1, &rect, flags);
    if (previous)
        SelectObject(dc, previous);
}

const std::wstring& Lang(const char* id)
{
    return KV::Lang::GetText(id);
}

// A push button of the dialogs: three slices stretched to its width.
void DialogButton(HDC dc, int left, int top, int width, int state, const std::wstring& caption)
{
    const CImage* image = Image("b" + std::to_string(state));
    if (!image)
        return;
    const int w = image->GetWidth();
    const int h = image->GetHeight();
    const int half = w / 2;
    Slice(dc, image, left, top, half, h, 0, 0, half, h);
    Slice(dc, image, left + half, top, width - w, h, half, 0, 1, h);
    Slice(dc, image, left + width - half, top, half, h, half, 0, half, h);
    const char* const colors[] = {"tab_0", "tab_1", "tab_2"};
    Text(dc, caption, RECT{left, top, left + width, top + h}, "button", KV::Skin::GetColor(colors[state]),
         DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

// The 32-pixel header of the message box, the about box and the splash.
void DialogHeader(HDC dc, int x, int y, int width)
{
    const CImage* header = Image("msgbox_header");
    if (!header)
        return;
    const int w = header->GetWidth();
    const int h = header->GetHeight();
    Slice(dc, header, x, y, w - 4, h, 0, 0, w - 4, h);
    Slice(dc, header, x + w - 4, y, width - 4 - (w - 4), h, w - 4, 0, 1, h);
    Slice(dc, header, x + width - 4, y, 4, h, w - 4, 0, 4, h);
    At(dc, Image("header_recorder_32"), x + 210, y);
}

} // namespace

int DrawControlBar(HDC dc, int x, int y, int width, int state, bool playing)
{
    const int m = width / 2;
    if (const CImage* bg = Image("controls_bg")) {
        const int ih = bg->GetHeight();
        const int c = bg->GetWidth() / 2;
        Slice(dc, bg, x + m - 137, y, 274, ih, c, 0, 1, ih);
        Slice(dc, bg, x + m - 255, y, 118, ih, c - 118, 0, 118, ih);
        Slice(dc, bg, x + 18, y, m - 255 - 18, ih, c - 118, 0, 1, ih);
        Slice(dc, bg, x, y, 18, ih, 0, 0, 18, ih);
        Slice(dc, bg, x + m + 137, y, 118, ih, c, 0, 118, ih);
        Slice(dc, bg, x + m + 255, y, width - 18 - (m + 255), ih, c + 118, 0, 1, ih);
        Slice(dc, bg, x + width - 18, y, 18, ih, 2 * c - 18, 0, 18, ih);
    }
    const std::string s = std::to_string(state);
    Opaque(dc, Image((playing ? "bstop" : "bplay") + s), x + m - 25, y + 31);
    Opaque(dc, Image("bnext" + s), x + m + 25, y + 42);
    Opaque(dc, Image("bprev" + s), x + m - 80, y + 42);
    Opaque(dc, Image("brec" + s), x + m - 112, y + 43);
    Opaque(dc, Image("bfs" + s), x + m - 145, y + 43);
    // The slider at half volume; the track bar puts its thumb 2 px down, the
    // bar draws the knob 1 px above that.
    Slice(dc, Image("volume_bg"), x + m + 80, y + 48, 78, 16, 0, 0, 78, 16);
    if (const CImage* thumb = Image("volume_thumb"))
        At(dc, thumb, x + m + 80 + 39 - thumb->GetWidth() / 2, y + 48 + 1);
    Text(dc, Lang("str_connecting"), RECT{x + 14, y + 7, x + width - 14, y + 19}, "menu", RGB(250, 250, 255),
         DT_SINGLELINE | DT_VCENTER);
    return 90;
}

int DrawHeader(HDC dc, int x, int y, int width)
{
    if (const CImage* bg = Image("header_bg")) {
        const int w = bg->GetWidth();
        const int h = bg->GetHeight();
        Slice(dc, bg, x, y, w - 8, h, 0, 0, w - 8, h);
        Slice(dc, bg, x + w - 8, y, width - 8 - (w - 8), h, w - 8, 0, 1, h);
        Slice(dc, bg, x + width - 8, y, 8, h, w - 8, 0, 8, h);
    }
    At(dc, Image("header_recorder"), x + 314, y);
    // The two menu buttons, right-aligned; the first one under the pointer.
    const char* const ids[] = {"menu_tools", "menu_help"};
    int widths[2] = {};
    if (KV::Font* font = KV::Skin::GetFont("menu")) {
        HGDIOBJ previous = SelectObject(dc, font->GetHandle());
        for (int i = 0; i < 2; ++i) {
            SIZE size = {};
            GetTextExtentPoint32W(dc, Lang(ids[i]).c_str(), static_cast<int>(Lang(ids[i]).size()), &size);
            widths[i] = size.cx + 14;
        }
        SelectObject(dc, previous);
    }
    int right = x + width - 16;
    for (int i = 1; i >= 0; --i) {
        const RECT rect = {right - widths[i], y + 32, right, y + 48};
        Text(dc, Lang(ids[i]), rect, i == 0 ? "menu_u" : "menu", 0xFFFAFA, DT_SINGLELINE | DT_VCENTER);
        At(dc, Image("menu_down"), rect.right - 16, rect.top + 2);
        right -= widths[i] + 10;
    }
    return 48;
}

int DrawTabStrip(HDC dc, int x, int y, int width, int selected)
{
    const int height = 36;
    const char* const ids[] = {"tab_channels", "tab_favorites", "tab_records"};
    const int counts[] = {42, 3, 5};
    const int natural = 83;
    const float scale = width < 3 * natural ? static_cast<float>(width) / (3 * natural) : 1.0f;
    float left = 0;
    int lastRight = 0;
    for (int i = 0; i < 3; ++i) {
        const float w = natural * scale;
        RECT tab = {x + static_cast<int>(left), y, x + static_cast<int>(left + w), y + height};
        if (i == 2 && scale != 1.0f)
            tab.right = x + width;
        left += w;
        lastRight = tab.right;
        if (const CImage* image = Image(i == selected ? "tab01" : "tab00")) {
            const int iw = image->GetWidth();
            const int ih = image->GetHeight();
            const int tw = tab.right - tab.left;
            Slice(dc, image, tab.left, y, 8, height, 0, 0, 8, ih);
            Slice(dc, image, tab.left + 8, y, tw - 16, height, 8, 0, iw - 16, ih);
            Slice(dc, image, tab.right - 8, y, 8, height, iw - 8, 0, 8, ih);
        }
        const std::wstring caption = Lang(ids[i]) + L"\n(" + std::to_wstring(counts[i]) + L")";
        Text(dc, caption, RECT{tab.left + 6, y + 4, tab.right - 6, y + height - 4}, "menu",
             KV::Skin::GetColor(i == selected ? "tab_2" : "tab_0"), DT_CENTER | DT_VCENTER | DT_WORDBREAK);
    }
    if (const CImage* bg = Image("tab0bg"))
        Slice(dc, bg, lastRight, y, x + width - lastRight, height, 0, 0, bg->GetWidth(), bg->GetHeight());
    return height;
}

int DrawListRows(HDC dc, int x, int y)
{
    const int width = 250;
    const COLORREF ink = 0x3C3C3C;
    struct ChannelRow {
        const char* icon;
        const char* flag;
        const wchar_t* name;
        const wchar_t* info;
        bool recordable;
        bool selected;
    };
    const ChannelRow channels[] = {
        {"icon_radio_32", "f_de", L"Deutschlandfunk", L"Germany (128kbps)", true, false},
        {"icon_tv_32", "f_fr", L"France 24", L"France (0kbps)", false, true},
    };
    int top = y;
    for (const auto& row : channels) {
        RECT item = {x, top, x + width, top + 37};
        FillRect(dc, &item, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        if (row.selected) {
            RECT band = {item.left, item.top + 1, item.right, item.bottom - 2};
            FillRect(dc, &band, static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH)));
        }
        At(dc, Image("channelgridline"), x + 4, item.bottom - 1);
        At(dc, Image(row.flag), x + 36, top + 18);
        At(dc, Image(row.icon), x + 1, top + 2);
        Text(dc, row.name, RECT{x + 36, top, item.right - 22, item.bottom}, "channelname", ink,
             DT_SINGLELINE | DT_END_ELLIPSIS);
        Text(dc, row.info, RECT{x + 54, top + 17, item.right - 22, item.bottom}, "channelinfo", ink,
             DT_SINGLELINE | DT_END_ELLIPSIS);
        if (row.recordable)
            At(dc, Image("icon_recordable"), item.right - 20, top + 9);
        top = item.bottom;
    }
    struct RecordRow {
        const char* state;
        const char* kind;
        const char* flag;
        const wchar_t* name;
        const wchar_t* status;
    };
    const RecordRow records[] = {
        {"icon_recording", "icon_radio_16", "f_de", L"Morning news", L"Recording: 00:12:05   Size: 11 MB"},
        {"icon_disc", "icon_tv_16", "f_gb", L"Show", L"01:00:00   Size: 56 MB"},
        {"icon_schedule", "icon_radio_16", "f_at", L"Concert", L"20:00 12/05/2025 - 22:00 12/05/2025"},
    };
    for (const auto& row : records) {
        RECT item = {x, top, x + width, top + 30};
        FillRect(dc, &item, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        At(dc, Image("channelgridline"), x + 4, item.bottom - 1);
        Text(dc, row.name, RECT{x + 50, top, item.right, item.bottom}, "channelname", ink, DT_SINGLELINE);
        At(dc, Image(row.state), x + 2, top + 2);
        At(dc, Image(row.kind), x + 30, top + 2);
        At(dc, Image(row.flag), x + 30, top + 16);
        Text(dc, row.status, RECT{x + 50, top + 13, item.right, item.bottom}, "channelinfo", ink, DT_SINGLELINE);
        top = item.bottom;
    }
    return top - y;
}

int DrawMessageBox(HDC dc, int x, int y)
{
    const int width = 351;
    const int height = 205;
    RECT client = {x, y, x + width, y + height};
    FillRect(dc, &client, KV::Skin::GetBkBrush());
    DialogHeader(dc, x, y, width);
    if (const CImage* footer = Image("msgbox_footer")) {
        const int fh = footer->GetHeight();
        Slice(dc, footer, x, y + height - fh, width, fh, 0, 0, footer->GetWidth(), fh);
    }
    Text(dc, Lang("msg_recording"), RECT{x + 50, y + 28, x + 350, y + 168}, "arial16", KV::Skin::GetTextColor(),
         DT_WORDBREAK | DT_VCENTER);
    const int first = width - (6 + 74) * 2 - 4;
    DialogButton(dc, x + first, y + 164, 74, 1, Lang("button_yes"));
    DialogButton(dc, x + first + 80, y + 164, 74, 0, Lang("button_no"));
    return height;
}

int DrawSplash(HDC dc, int x, int y)
{
    const int width = 480;
    const int height = 257;
    RECT client = {x, y, x + width, y + height};
    FillRect(dc, &client, KV::Skin::GetBkBrush());
    DialogHeader(dc, x, y, width);
    if (const CImage* footer = Image("msgbox_footer")) {
        const int fh = footer->GetHeight();
        Slice(dc, footer, x + 2, y + height - fh, width - 3, fh, 0, 0, footer->GetWidth(), fh);
    }
    At(dc, Image("banner"), x + 2, y + 32);
    At(dc, Image("banner_recorder"), x + 2, y + 83);
    if (const CImage* logo = Image("kvlogo"))
        At(dc, logo, x + (width - logo->GetWidth()) / 2, y + height - 84);
    HGDIOBJ previousPen = SelectObject(dc, KV::Skin::GetFramePen());
    HGDIOBJ previousBrush = SelectObject(dc, GetStockObject(NULL_BRUSH));
    Rectangle(dc, x + 1, y + 1, x + width - 1, y + height - 1);
    SelectObject(dc, previousBrush);
    SelectObject(dc, previousPen);
    Text(dc, Lang("static_copyright"), RECT{x, y + 222, x + width, y + 238}, "button", KV::Skin::GetTextColor(),
         DT_CENTER | DT_SINGLELINE);
    return height;
}

} // namespace SkinSheet
