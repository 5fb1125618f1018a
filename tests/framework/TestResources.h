// Ids of the test program's dialog templates and their controls.
#pragma once

#define IDD_MAP_DIALOG 100
#define IDD_CHILD_DIALOG 101
#define IDD_MODAL_DIALOG 102
#define IDD_CONTROLS_DIALOG 103
#define IDD_AX_DIALOG 104

#define IDC_DRAW_BUTTON 1001
#define IDC_MAP_EDIT 1002
#define IDC_CHILD_BUTTON 1101
#define IDC_MODAL_EDIT 1201
#define IDC_LIST 1301
#define IDC_COMBO 1302
#define IDC_TRACKBAR 1303
#define IDC_BITMAP_BUTTON 1304
#define IDC_AX_PLAYER 1401
