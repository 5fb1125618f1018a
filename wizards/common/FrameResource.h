// Resource ids that the wizard frame expects in every wizard program's
// resource script: the frame dialog, the header dialog and the icon.
// Included by the resource scripts (windres) and by the code.
#pragma once

#define IDI_WIZARD 128
#define IDD_WIZARD_FRAME 129
#define IDD_WIZARD_HEADER 203

// Frame controls (Next and Cancel are IDOK and IDCANCEL).
#define IDC_WIZARD_BACK 1007
#define IDC_WIZARD_BOTTOM_LINE 1009
#define IDC_WIZARD_TOP_LINE 1011

// Header controls.
#define IDC_HEADER_TITLE 1003
#define IDC_HEADER_DESCRIPTION 1004
#define IDC_HEADER_BITMAP 1005
