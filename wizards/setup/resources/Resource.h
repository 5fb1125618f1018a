// Ids of Setupkit's resources: dialog templates and their controls (the
// frame's and the header's are in wizards/common/FrameResource.h).
// Included by the resource script (windres) and by the code.
#pragma once

#include "wizards/common/FrameResource.h"

// Language dialog
#define IDD_LANGUAGE 204
#define IDC_LANGUAGE_LIST 1000
#define IDC_LANGUAGE_PROMPT 1006

// Start and finish pages
#define IDD_WELCOME_PAGE 205
#define IDC_WELCOME_TITLE 1011
#define IDC_WELCOME_TEXT 1009
#define IDC_WELCOME_PICTURE 1012
#define IDC_WELCOME_LAUNCH 1013

// Licence page
#define IDD_LICENSE_PAGE 206
#define IDC_LICENSE_HINT 1011
#define IDC_LICENSE_PROMPT 1009
#define IDC_LICENSE_TEXT 1008

// Components page
#define IDD_COMPONENTS_PAGE 208
#define IDC_COMPONENTS_LABEL 1022
#define IDC_COMPONENTS_SPACE 1023
#define IDC_COMPONENTS_INTRO 1011
#define IDC_COMPONENTS_TREE 1032
#define IDC_COMPONENTS_GROUP 1042
#define IDC_COMPONENTS_DESCRIPTION 1004

// Installing page
#define IDD_INSTALLING_PAGE 209
#define IDC_INSTALLING_PROGRESS 1004
#define IDC_INSTALLING_LINE 1006
#define IDC_INSTALLING_LIST 1016

// Uninstall page
#define IDD_UNINSTALL_PAGE 210
#define IDC_UNINSTALL_LABEL 1004
#define IDC_UNINSTALL_FOLDER 1019
#define IDC_UNINSTALL_INTRO 1011

// Silent update dialog
#define IDD_UPDATE 212
#define IDC_UPDATE_PROGRESS 1004
#define IDC_UPDATE_LINE 1006

// Button captions: ids of language items
#define IDS_CAPTION_NEXT 101
#define IDS_CAPTION_AGREE 102
#define IDS_CAPTION_INSTALL 103
#define IDS_CAPTION_FINISH 104
#define IDS_CAPTION_UNINSTALL 105
#define IDS_CAPTION_CLOSE 8
#define IDS_CAPTION_CANCEL 2
#define IDS_CAPTION_BACK 1007
