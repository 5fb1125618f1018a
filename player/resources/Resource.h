// Ids of the player's resources: dialog templates and their controls.
// Included by the resource scripts (windres) and by the code.
#pragma once

// About box
#define IDD_ABOUTBOX 100
#define IDC_LINK_HOME 1031
#define IDC_LINK_PUBLISHER 1032
#define IDC_LINK_SUPPORT 1033
#define IDC_VERSION 1034
#define IDC_COPYRIGHT 1035

// Player area and control bar
#define IDD_PLAYERS 211
#define IDD_CONTROLS 212
#define IDC_VOLUME 1022
#define IDC_FULL_SCREEN 1024
#define IDC_PLAY_STOP 1025
#define IDC_RECORD 1026
#define IDC_NEXT 1027
#define IDC_PREVIOUS 1028

// Message box (its buttons are IDOK, IDCANCEL and IDC_MSGBOX_NO)
#define IDD_MSGBOX 216
#define IDC_MSGBOX_NO 7

// Main window: dialog, accelerators and icon
#define IDD_MAINDLG 129
#define IDR_MAINFRAME 128
#define IDI_TRAY 128

// Main window commands (menus and accelerators)
#define ID_HOME_PAGE 32775
#define ID_HELP_MENU_KEY 32776
#define ID_VIEW_COUNTRIES 32777
#define ID_APP_ABOUT 32778
#define ID_VIEW_BITRATE 32779
#define ID_TOOLS_MENU_KEY 32780
#define ID_TOOLS_TOPMOST 32796
#define ID_TOOLS_SETTINGS 32797
#define ID_UPDATE 32799
#define ID_TOOLS_MENU_KEY_T 32802
#define ID_CHANNEL_UPDATE 32805
#define ID_FULL_SCREEN_KEY 32806
#define ID_APP_EXIT 32820
#define ID_PRINT_KEY 57607
#define ID_INFO_KEY 32827

// Menus: header (tools, help), channel list popup, tray popup
#define IDR_HEADER_MENU 206
#define IDR_CHANNEL_MENU 207
#define IDR_TRAY_MENU 209

// Channel panel and its list popup
#define IDD_CHANNELS 202
#define IDC_CHANNEL_LIST 1007
#define IDC_FAVORITE_LIST 1008
#define IDC_COUNTRY_FILTER 1010
#define IDC_SEARCH 1011
#define IDC_CATEGORY_FILTER 1012
#define IDC_TVRADIO_FILTER 1013
#define IDC_LABEL_COUNTRY 1015
#define IDC_LABEL_GENRE 1016
#define IDC_LABEL_SEARCH 1017
#define IDC_LABEL_TVRADIO 1018
#define IDC_CHANNEL_TAB 104
#define ID_CHANNEL_PLAY 32786
#define ID_CHANNEL_FAVORITE 32787
#define ID_CHANNEL_RECORD 32809
#define ID_CHANNEL_STREAM_FIRST 800
#define ID_CHANNEL_STREAM_LAST 810

// Password question
#define IDD_TYPE_PASSWORD 214
#define IDC_TYPED_PASSWORD 1030

// Splash (its texts are IDC_VERSION and IDC_COPYRIGHT)
#define IDD_BANNER 219

// Settings dialog, its pages and the new-password dialog
#define IDD_SETTINGS 208
#define IDD_SETTINGS_GENERAL 209
#define IDD_SETTINGS_UPDATES 210
#define IDD_SETTINGS_PASSWORD 213
#define IDD_SET_PASSWORD 215
#define IDC_SETTINGS_TAB 104
#define IDC_LANGUAGE 1016
#define IDC_AUTOSTART 1051
#define IDC_AUTO_UPDATE 1019
#define IDC_AUTO_CUPDATE 1020
#define IDC_USE_PASSWORD 1026
#define IDC_CHANGE_PASSWORD 1027
#define IDC_NEW_PASSWORD 1029
#define IDC_RETYPED_PASSWORD 1030

// Records page, its list popup and the record dialog (its day boxes run
// Monday to Sunday)
#define IDD_RECORDS 217
#define IDD_RECORD 218
#define IDR_RECORD_MENU 208
#define IDC_RECORD_LIST 1036
#define IDC_RECORD_TYPE 1016
#define IDC_RECORD_START 1037
#define IDC_RECORD_NAME 1038
#define IDC_RECORD_END 1039
#define IDC_RECORD_DAY_FIRST 1044
#define IDC_RECORD_DAY_LAST 1050
#define ID_RECORD_PLAY 32810
#define ID_RECORD_PLAY_CHANNEL 32786
#define ID_RECORD_STOP 32812
#define ID_RECORD_DELETE 32814
#define ID_RECORD_OPEN_FOLDER 32817
#define ID_RECORD_PROPERTIES 32819
