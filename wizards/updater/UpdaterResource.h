// Ids of the updaters' resources: their page templates and controls (the
// frame's and the header's are in wizards/common/FrameResource.h).
// Included by the resource script (windres) and by the code.
#pragma once

#include "wizards/common/FrameResource.h"

// Start page: checking
#define IDD_UPDATER_START_PAGE 205
#define IDC_START_TEXT 1011
#define IDC_START_PROGRESS 1004

// Update page: what is offered
#define IDD_UPDATER_UPDATE_PAGE 211
#define IDC_UPDATE_HEADING 1011
#define IDC_UPDATE_NAME 1003
#define IDC_UPDATE_DETAILS 1004

// Download page
#define IDD_UPDATER_DOWNLOAD_PAGE 209
#define IDC_DOWNLOAD_HEADING 1006
#define IDC_DOWNLOAD_PROGRESS 1004
#define IDC_DOWNLOAD_STATUS 1007

// Finish page
#define IDD_UPDATER_FINISH_PAGE 210
#define IDC_FINISH_TEXT 1011
#define IDC_FINISH_NOTE 1009

// Error page
#define IDD_UPDATER_ERROR_PAGE 207
#define IDC_ERROR_TEXT 1011

// Copies of the setup's language and components dialogs that the updaters'
// resources carry unused.
#define IDD_UPDATER_LANGUAGE 204
#define IDD_UPDATER_COMPONENTS 208

// Button captions: ids of language items
#define IDS_CAPTION_NEXT 101
#define IDS_CAPTION_FINISH 104
#define IDS_CAPTION_DOWNLOAD 120
#define IDS_CAPTION_RETRY 4
#define IDS_CAPTION_CANCEL 2
