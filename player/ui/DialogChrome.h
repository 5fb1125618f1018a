// The look the player's small modal dialogs share: the skin's header image
// across the top (its right end kept, one column stretched between), the
// recorder emblem on it, the footer image along the bottom, and the skin's
// background and text colours for the dialog and its static texts.
#pragma once

#include <windows.h>

// "msgbox_header" in three pieces, then "header_recorder_32" at (210, 0).
void PaintDialogHeader(HDC dc, const RECT& client);
// "msgbox_footer" stretched over the client width along the bottom edge.
void PaintDialogFooter(HDC dc, const RECT& client);

// WM_PAINT of the skinned panels: the whole client area filled with the
// brush and framed with the skin's frame pen.
void PaintFramedClient(HWND window, HGDIOBJ brush);

// WM_CTLCOLORDLG: the skin's background brush.
LRESULT SkinnedDialogBrush();
// WM_CTLCOLORSTATIC: transparent text in the skin's text colour on the
// skin's background brush.
LRESULT SkinnedStaticBrush(HDC dc);
// The same look for a SysLink control. Some SysLink implementations (Wine's)
// delete the brush they are given, which would destroy the skin's: links get
// the stock DC brush in the skin's background colour instead, which nobody
// can delete.
LRESULT SkinnedLinkBrush(HDC dc);
