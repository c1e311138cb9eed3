#pragma once
// Every number the resources and the program share, grouped by what uses it.
// Plain #defines: the resource compiler reads this header too.

// Icons of the notification area.
#define IDI_MONITORING_ON 101
#define IDI_MONITORING_OFF 102
#define IDI_BUSY 104

// The banner that heads the tray menu (170 x 15, 16 colours).
#define IDB_MENU_BANNER 108

// The busy panel.
#define IDD_BUSY 141
#define IDC_BUSY_TEXT 1190
#define IDC_BUSY_LIGHT 1191

// Commands of the main window; the tray menu issues them.
#define IDM_REDO 1021
#define IDM_FIND 1022
#define IDM_START_OVER 1023
#define IDM_WIZARD 1024
#define IDM_HELP 1025
#define IDM_OPTIONS 1026
#define IDM_TOGGLE_MONITORING 1027
#define IDM_PROGRAM_FIRST 1030
#define IDM_PROGRAM_LAST 1039
#define IDM_PROGRAM_MORE 1040
#define IDM_FILE_FIRST 1041
#define IDM_FILE_LAST 1050
#define IDM_FILE_MORE 1051
#define IDM_APPLET_FIRST 1052
#define IDM_APPLET_LAST 1061
#define IDM_APPLET_MORE 1062
#define IDM_UNLOAD 1136
