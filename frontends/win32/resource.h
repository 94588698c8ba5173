// Resource and command numbers of the Windows front end, shared by the .rc
// file and the code. Plain #defines: the resource compiler reads this file.
#pragma once

#define IDI_TALLYFIN 101
#define IDI_TALLYFIN_SMALL 159
#define IDM_NAV_MENU 202
#define IDM_MAIN_MENU 206
#define IDA_MAIN 298

// The command-bar pictures, in command order (drawn by make_bitmaps.py).
#define IDB_BAR_DATA 272
#define IDB_BAR_APPS 273
#define IDB_BAR_SETUPS 274
#define IDB_BAR_GPS 275
#define IDB_BAR_HELPS 276
#define IDB_BAR_EXIT 277

// Command-bar commands (also the Alt-key accelerators).
#define IDC_CMD_DATA 40097
#define IDC_CMD_APPS 40098
#define IDC_CMD_SETUPS 40099
#define IDC_CMD_GPS 40100
#define IDC_CMD_HELPS 40101
#define IDC_CMD_EXIT_PROGRAM 40102

// Menu commands.
#define IDM_ABOUT 40003
#define IDM_COLLECT_DATA 40005
#define IDM_SELECT_APP 40006
#define IDM_ERASE_NONBUNDLED 40007
#define IDM_ERASE_APP 40008
#define IDM_LEVEL1_PASSWORD 40011
#define IDM_LEVEL2_PASSWORD 40012
#define IDM_PREFERENCES 40025
#define IDM_TAG_AUTO_TRANSFER 40026
#define IDM_APP_VERSION 40027
#define IDM_TEMP_COORD_FILES 40028
#define IDM_ERASE_COORD_FILES 40029
#define IDM_VIRTUAL_KEYS_HELP 40030
#define IDM_LINE_KEYS_HELP 40031
#define IDM_SET_DATE_TIME 40032
#define IDM_EXIT 40048
#define IDM_EXIT_OTHER 40057
#define IDM_NAVIGATION 40058
#define IDM_GPS_CONNECT 40060
#define IDM_WARNING_FILTERS 40063
#define IDM_PRESENTATION 40064
#define IDM_NAV_PARAMETERS 40065
#define IDM_LOG_WAYPOINT 40066
#define IDM_PORT_SETTINGS 40067
#define IDM_POSITION_LOGGING 40077
#define IDM_EDIT_WAYPOINTS 40084
#define IDM_TCPIP_SETUPS 40090
#define IDM_BUNDLE_DATASET 40093
#define IDM_EXTRACT_DATASET 40094
#define IDM_TRANSFER_DATA 40103
#define IDM_LOAD_REMOVABLE 40109
#define IDM_VIEW_MESSAGES 40118
#define IDM_DELETE_MESSAGES 40119
#define IDM_PENDING_DATASETS 40124
#define IDM_PENDING_APPS 40125

// The main window's one-second timer.
#define IDT_MAIN_CLOCK 1001
// The edit window's cursor blink (300 ms).
#define IDT_EDIT_CURSOR 1003
#define IDT_EDIT_STATUS 1004

// Private messages of the main window: the edit window has gone (WM_APP + 10)
// and end the program (WM_USER + 51).
#define WM_TFP_END_PROGRAM 1075
